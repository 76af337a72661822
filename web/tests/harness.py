"""What the browser tests share: the built site served on the loopback, the
pictures the board must show, PNG decoding, polling with a deadline, and the
scenario every browser's driver runs."""
import os
import select
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CLIENT_WIDTH, CLIENT_HEIGHT = 416, 219
DEADLINE = 60  # seconds for anything a test waits for, on a machine busy with other work


class Failure(Exception):
    """A check that did not hold; image, when given, is the screenshot it failed on."""
    def __init__(self, message, image=None):
        super().__init__(message)
        self.image = image


def poll(what, probe, timeout=DEADLINE, interval=0.05):
    """Calls probe until it returns something true, and returns that."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure(f'timed out waiting for {what}')
        time.sleep(interval)


def read_line(process, what, timeout=DEADLINE, stream=None):
    """The first line of the process's output (or of stream) that is not empty."""
    stream = stream or process.stdout
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        ready, _, _ = select.select([stream], [], [], 0.1)
        if ready:
            line = stream.readline()
            if not line:
                break
            if line.strip():
                return line.strip()
        if process.poll() is not None:
            break
    raise Failure(f'no {what}')


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class Checks:
    """Runs named checks, reports each, and fails the process if any failed."""

    def __init__(self):
        self.failed = []

    def run(self, name, check, *args):
        start = time.monotonic()
        try:
            check(*args)
        except Exception as e:  # a failed check does not stop the others
            self.failed.append(name)
            print(f'FAIL {name}: {type(e).__name__}: {e}', flush=True)
        else:
            print(f'ok   {name} ({time.monotonic() - start:.2f} s)', flush=True)

    def exit(self):
        if self.failed:
            print(f'{len(self.failed)} failed: {", ".join(self.failed)}')
        sys.exit(1 if self.failed else 0)


def expect(condition, message):
    if not condition:
        raise Failure(message)


class Stoppable:
    """Ends itself at the end of a with block."""

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()


class Site(Stoppable):
    """The built site on a free loopback port, until stop()."""

    def __init__(self, directory):
        self.process = subprocess.Popen([sys.executable, os.path.join(HERE, '..', 'serve.py'), directory],
                                        stdout=subprocess.PIPE, text=True)
        self.url = read_line(self.process, 'address from the web server')

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=DEADLINE)


class Board:
    """What the client area must show, from the pictures: rows of RGBA tuples,
    alpha 0 where the background shows."""
    _cache = {}

    @classmethod
    def expected(cls, reference, played=()):
        key = tuple(sorted(played))
        if key not in cls._cache:
            out = subprocess.run([*reference, *map(str, key)], capture_output=True, text=True, check=True,
                                 timeout=DEADLINE).stdout.split()
            cls._cache[key] = [[tuple(bytes.fromhex(row[i:i + 8])) for i in range(0, len(row), 8)] for row in out]
        return cls._cache[key]


class Fit:
    """The board on device pixels as the page must lay it: n device pixels for every
    d picture pixels, picture pixel i starting at device pixel ceil(i n / d)."""

    def __init__(self, n, d=1):
        self.n, self.d = n, d

    def device(self, picture):
        return -(-picture * self.n // self.d)

    def picture(self, device):
        return device * self.d // self.n

    @property
    def size(self):
        return self.device(CLIENT_WIDTH), self.device(CLIENT_HEIGHT)


def compare_board(image, origin, fit, expected, background):
    """Checks that image (width, height, rows of RGB(A) tuples) shows the board at
    device pixel origin, every device pixel the picture pixel the fit puts there."""
    width, height, rows = image
    (ox, oy), (board_width, board_height) = origin, fit.size
    expect(ox + board_width <= width and oy + board_height <= height,
           f'the board ({board_width} × {board_height} at {origin}) is not all in the '
           f'{width} × {height} screenshot')
    columns = [fit.picture(x) for x in range(board_width)]
    wrong = []
    for y in range(board_height):
        row = rows[oy + y][ox:ox + board_width]
        want_row = expected[fit.picture(y)]
        for x, got in enumerate(row):
            want = want_row[columns[x]]
            want = background if want[3] == 0 else want[:3]
            if got[:3] != want:
                wrong.append((x, y, got[:3], want))
    expect(not wrong, f'{len(wrong)} device pixels differ, first {wrong[:3]} (x, y, shown, expected)')


def decode_png(data):
    """(width, height, rows of pixel tuples) of an 8-bit RGB or RGBA PNG."""
    expect(data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG')
    pos, idat = 8, b''
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            width, height, depth, color, _, _, interlace = struct.unpack('>IIBBBBB', body)
            expect(depth == 8 and color in (2, 6) and not interlace, 'unexpected PNG format')
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    channels = 4 if color == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[i:i + channels]) for i in range(0, stride, channels)])
        previous = line
    return width, height, rows


def css_color(text):
    """(r, g, b) of a computed 'rgb(r, g, b)' colour."""
    return tuple(int(float(v)) for v in text[text.index('(') + 1:text.index(')')].split(',')[:3])


class BrowserProcess(Stoppable):
    """A browser with a fresh profile of its own; subclasses connect to it and
    ask it to close."""

    def launch(self, args, connect, **popen):
        self.process = subprocess.Popen(args, stdout=subprocess.DEVNULL, **popen)
        try:
            connect()
        except BaseException:
            self.process.kill()
            self.end()
            raise

    def close(self):
        pass

    def stop(self):
        try:
            self.close()
        except Exception:  # it is ended below all the same
            pass
        try:
            self.process.wait(timeout=DEADLINE)
        except subprocess.TimeoutExpired:
            self.process.kill()
        self.end()

    def end(self):
        self.process.wait()
        if getattr(self, 'socket', None):
            self.socket.close()
        shutil.rmtree(self.profile, ignore_errors=True)


# What the page shows, as the tests read it.
PAGE_STATE = '''(() => {
  const canvas = document.getElementById('board');
  if (!canvas || window.stale)
    return null;
  const box = canvas.getBoundingClientRect();
  return {ready: canvas.width > 0 && document.querySelectorAll('[role=checkbox]').length === 52,
          left: box.left, top: box.top, cssWidth: box.width, width: canvas.width, height: canvas.height,
          ratio: devicePixelRatio, background: getComputedStyle(document.body).backgroundColor,
          played: [...document.querySelectorAll('[role=checkbox]')].map((box, i) =>
              box.getAttribute('aria-checked') === 'true' ? i : -1).filter((i) => i >= 0)};
})()'''


def find_board(image, fit, expected, background):
    """The device pixel at which image shows the board exactly as expected."""
    width, height, rows = image
    board_width, board_height = fit.size
    # A few device pixels of the Ace of Clubs' top-left corner mark.
    one, two = fit.device(1), fit.device(2)
    probes = []
    for x, y in ((0, 0), (two, 0), (one, one), (0, two)):
        want = expected[fit.picture(y)][fit.picture(x)]
        probes.append((x, y, background if want[3] == 0 else want[:3]))
    for y in range(height - board_height):
        for x in range(width - board_width):
            if all(rows[y + py][x + px][:3] == want for px, py, want in probes):
                try:
                    compare_board(image, (x, y), fit, expected, background)
                    return x, y
                except Failure:
                    pass
    raise Failure(f'the board, {board_width} × {board_height} device pixels, is not on the screen', image)


def keep_image(image):
    """Writes image to a PPM file that outlives the test, for the last failure's message; returns its path."""
    width, height, rows = image
    with tempfile.NamedTemporaryFile(prefix='velmora-screen-', suffix='.ppm', delete=False) as out:
        out.write(f'P6 {width} {height} 255\n'.encode() + bytes(v for row in rows for pixel in row for v in pixel[:3]))
        return out.name


def settle(what, check):
    """Repeats check until it passes; after the deadline its last failure stands."""
    end = time.monotonic() + DEADLINE
    while True:
        try:
            return check()
        except (Failure, OSError) as failure:
            if time.monotonic() > end:
                # Only the failure that stands keeps its screenshot: a try that a later one mends leaves no file.
                if getattr(failure, 'image', None):
                    raise Failure(f'{failure} (kept in {keep_image(failure.image)})') from failure
                raise
        time.sleep(0.2)


class Driver(Stoppable):
    """What a browser test provides, in device pixels of its screenshots: open the
    page, run script, take a screenshot, press, release and click a mouse button,
    keys, and whichever of `features` it can: 'menus' (the menus and the About
    box), 'touch' (tap), 'ax' (ax_cards, ax_announcement and ax_press), 'inject' (a script that
    runs before the page's own)."""
    ratios = (1,)
    features = frozenset()
    narrowest = 0  # CSS px: the narrowest page the browser can show

    def origin(self, state):
        """The board's device pixel in the screenshot, or None to look for it."""
        return round(state['left'] * state['ratio']), round(state['top'] * state['ratio'])

    def click(self, point, button='left', count=1):
        for n in range(1, count + 1):  # n: which click of a double click this is
            self.press(point, button, n)
            self.release(point, button, n)


def card(rank, suit):
    """Index and picture-pixel rectangle (left, top) of a card: ranks 0..12, suits 0..3."""
    return suit * 13 + rank, (rank * 32, suit * 56)


# Viewport width, height, device-pixel ratio, and the board's fit there: at ratio 2
# and more it fills the space under the 22 CSS px menu bar, below that it keeps
# whole blocks unless even 1 does not fit.
DESKTOP, PHONE, SIDEWAYS = (800, 600, 1, Fit(1)), (360, 740, 3, Fit(1080, 416)), (740, 360, 3, Fit(1014, 219))
SIZES = (DESKTOP, PHONE, SIDEWAYS, (500, 300, 2, Fit(1000, 416)),
         (1024, 768, 2, Fit(2048, 416)), (768, 1024, 2, Fit(1536, 416)), (1280, 800, 1, Fit(3)),
         (1000, 700, 1, Fit(2)), (320, 480, 1, Fit(320, 416)), (300, 600, 1, Fit(300, 416)),
         (600, 150, 1, Fit(128, 219)))
# The smallest a phone's card may be to tap, in CSS px: width and pitch.
TARGET = 24
MESSAGE_OPEN = "document.getElementById('message').open"
# The smallest card target and column pitch on the page, in CSS px.
TARGETS = """(() => {
  const boxes = [...document.querySelectorAll('[role=checkbox]')].map((box) => box.getBoundingClientRect());
  return [Math.min(...boxes.map((r) => Math.min(r.width, r.height))),
          Math.min(...boxes.slice(0, 12).map((r, i) => boxes[i + 1].left - r.left))];
})()"""
EXPANDED = "[...document.querySelectorAll('[aria-haspopup]')].map((title) => title.getAttribute('aria-expanded'))"


class Scenario:
    """The site used as a player would, written once for every browser's driver."""

    def __init__(self, driver, url, reference):
        self.driver, self.url, self.reference = driver, url, reference

    def open(self, width, height, ratio, fit, mobile=False, inject=None):
        self.driver.js('window.stale = true')
        self.driver.open(self.url, width, height, ratio, mobile, inject)
        if not inject:
            self.laid_out(ratio, fit)

    def laid_out(self, ratio, fit, played=()):
        """Waits for the board laid out at this fit, and finds it on the screen."""
        # A window's new size may reach the page after it loaded, and lay it out again.
        board_width = fit.size[0]
        self.state = poll(f'the board {board_width} device pixels wide', lambda: (s := self.driver.js(PAGE_STATE))
                          and s['ready'] and s['ratio'] == ratio and board_width <= s['width'] < board_width + ratio
                          and s)
        self.fit = fit
        self.at = self.driver.origin(self.state) or settle('the board on the screen', lambda: find_board(
            self.driver.screenshot(), fit, Board.expected(self.reference, played),
            css_color(self.state['background'])))

    def device(self, x, y):
        """Screenshot device pixel of device pixel (x, y) of the board."""
        return self.at[0] + x, self.at[1] + y

    def picture(self, x, y):
        """Screenshot device pixel of the first device pixel of picture pixel (x, y)."""
        return self.device(self.fit.device(x), self.fit.device(y))

    def choose(self, *selectors, act=None):
        """Clicks (or acts on) the middle of each element in turn."""
        for selector in selectors:
            r = self.driver.js(f"(() => {{ const r = document.querySelector({selector!r}).getBoundingClientRect(); "
                               "return [r.left + r.width / 2, r.top + r.height / 2]; })()")
            s = self.state
            point = self.device(*(round((v - s[side]) * s['ratio']) for v, side in zip(r, ('left', 'top'))))
            (act or self.driver.click)(point)

    def played(self):
        self.state = self.driver.js(PAGE_STATE)
        return self.state['played']

    def shows(self, played):
        """The screen shows the board with exactly these cards played."""
        poll(f'cards {sorted(played)} played', lambda: self.played() == sorted(played))
        s = self.state
        expect(abs(s['cssWidth'] * s['ratio'] - s['width']) < 1e-6 and s['cssWidth'] == int(s['cssWidth']),
               f'canvas box {s["cssWidth"]} CSS px for {s["width"]} device pixels')
        settle('the board on the screen', lambda: compare_board(
            self.driver.screenshot(), self.at, self.fit, Board.expected(self.reference, played),
            css_color(s['background'])))

    def board_at_sizes(self):
        """The board fills a phone's or a tablet's screen, keeps whole blocks on a
        desktop, shrinks into a narrow window, and takes a tap on its last card."""
        for width, height, ratio, fit in SIZES:
            if ratio not in self.driver.ratios or width < self.driver.narrowest:
                continue
            shrunk = fit.n < fit.d
            self.open(width, height, ratio, fit, mobile='touch' in self.driver.features and (ratio >= 2 or shrunk))
            self.shows([])
            if ratio >= 2:
                s, (board_width, board_height) = self.state, fit.size
                fill = max(board_width / (width * ratio), board_height / ((height - s['top']) * ratio))
                expect(fill >= 0.97, f'the board fills {fill:.1%} of the screen')
                size, pitch = self.driver.js(TARGETS)
                expect(size >= TARGET and pitch >= TARGET, f'cards {size:.1f} CSS px, {pitch:.1f} apart')
            if shrunk:
                king_s, (x, y) = card(12, 3)
                (getattr(self.driver, 'tap', None) or self.driver.click)(self.picture(x + 15, y + 25))
                self.shows([king_s])

    def clicks(self):
        self.open(*(SIZES[3] if 2 in self.driver.ratios else DESKTOP))
        d, e, played = self.driver, self.fit.device, []
        ace_c, (x, y) = card(0, 0)
        d.click(self.picture(x + 15, y + 25))
        played.append(ace_c)
        two_c, (x, y) = card(1, 0)
        d.click(self.picture(x + 15, y + 25), 'right')
        played.append(two_c)
        # Device-pixel edges: the gap before the 3 of Clubs ends one device column
        # before the card starts; nothing below the card's last device row.
        three_c, (x, y) = card(2, 0)
        d.click(self.device(e(x) - 1, e(y + 5)))
        d.click(self.device(e(x + 30) - 1, e(y + 50)))
        # A browser may still be handling clicks when the driver returns, but it handles
        # them in order: once the Ace of Diamonds is played, the two clicks before are done.
        ace_d, (ace_x, ace_y) = card(0, 1)
        d.click(self.picture(ace_x + 15, ace_y + 25))
        played.append(ace_d)
        poll('the Ace of Diamonds played', lambda: ace_d in self.played())
        expect(self.state['played'] == sorted(played),
               f'a click beside the 3 of Clubs played a card: cards {self.state["played"]} played')
        d.click(self.device(e(x), e(y + 50) - 1))  # its bottom-left device pixel
        played.append(three_c)
        # Gaps between cards and rows, the strips right of and below the grid.
        for point in ((30, 25), (31, 25), (5, 50), (5, 55), (100, 53), (414, 10), (415, 200), (100, 218),
                      (415, 218)):
            d.click(self.picture(*point))
        # Press on one card, release on another: nothing.
        _, (x, y) = card(3, 0)
        d.press(self.picture(x + 5, y + 5))
        d.release(self.picture(x + 40, y + 5))
        # A double click plays once; a played card stays played.
        six_c, (x, y) = card(5, 0)
        d.click(self.picture(x + 10, y + 10), count=2)
        d.click(self.picture(x + 10, y + 10), 'right')
        played.append(six_c)
        # A second button pressed during a click cancels it.
        _, (x, y) = card(8, 0)
        point = self.picture(x + 5, y + 5)
        d.press(point, 'left')
        d.press(point, 'right')
        d.release(point, 'right')
        d.release(point, 'left')
        if 'touch' in d.features:
            king_s, (x, y) = card(12, 3)
            d.tap(self.picture(x + 29, y + 49))
            played.append(king_s)
        expect(d.js('''new Promise((done) => {
            addEventListener('contextmenu', (e) => done(e.defaultPrevented), {once: true});
            document.getElementById('board').dispatchEvent(new MouseEvent('contextmenu', {bubbles: true,
                                                                                         cancelable: true}));
        })'''), 'the context menu is not suppressed over the board')
        self.shows(played)
        self.clicked = played

    def reset_by_keys(self):
        self.open(*DESKTOP)
        _, (x, y) = card(7, 2)
        self.driver.click(self.picture(x + 10, y + 10))
        self.played()
        self.driver.key('f', alt=True)
        self.driver.key('r')
        self.shows([])

    def menus_and_about(self):
        d, played = self.driver, getattr(self, 'clicked', [])
        # About by keys with cards played: a modal box titled Velmora, three lines, OK focused.
        d.key('h', alt=True)
        expect(d.js("document.activeElement.textContent") == 'About...', 'Alt+H does not open Help on About...')
        d.key('a')
        about = poll('the About box', lambda: d.js('''(() => { const d = document.getElementById('message');
            return d.open && {title: d.querySelector('h1').textContent, text: d.querySelector('p').innerText,
                              focused: document.activeElement.textContent,
                              modal: d.matches(':modal')}; })()'''))
        expect(about['title'] == 'Velmora', f'About box titled {about["title"]!r}')
        lines = about['text'].split('\n')
        expect(len(lines) == 3 and lines[0].startswith('Created by ') and '@' in lines[1] and '://' in lines[2],
               f'About text {about["text"]!r}')
        expect(about['focused'] == 'OK' and about['modal'], f'About box {about}')
        # The board and the menus take nothing while it is open.
        _, (x, y) = card(4, 1)
        d.click(self.picture(x + 10, y + 10))
        d.key('f', alt=True)
        expect(d.js(MESSAGE_OPEN), 'the About box closed without OK')
        d.key('Enter')
        poll('the About box to close', lambda: not d.js(MESSAGE_OPEN))
        expect(self.played() == sorted(played), 'the board changed while the About box was open')
        # Escape closes it too; by pointer: Help, About..., OK.
        d.key('h', alt=True)
        d.key('a')
        poll('the About box', lambda: d.js(MESSAGE_OPEN))
        d.key('Escape')
        poll('Escape to close it', lambda: not d.js(MESSAGE_OPEN))
        self.choose('[data-key=KeyH]', '[data-command=about]')
        poll('the About box', lambda: d.js(MESSAGE_OPEN))
        self.choose('#message button')
        poll('OK to close it', lambda: not d.js(MESSAGE_OPEN))
        self.choose('[data-key=KeyF]', '[data-command=reset]')
        expect(self.played() == [], 'File › Reset by pointer left cards played')

    def focus(self):
        """The focus goes back to the deck as a desktop window's goes back to its
        content: after a command, the message box and Escape, and on a click."""
        d = self.driver
        self.open(*DESKTOP)
        for keys in (('f+', 'r'), ('h+', 'a', 'Enter'), ('f+', 'Escape')):
            for key in keys:
                d.key(key.rstrip('+'), alt=key.endswith('+'))
            poll(f'the deck focused after {keys}', lambda: d.js('document.activeElement.id') == 'deck')
        for _ in range(3):  # past the deck, the end of the page, to File
            d.key('Tab')
            if d.js('document.activeElement.dataset.key') == 'KeyF':
                break
        expect(d.js('document.activeElement.dataset.key') == 'KeyF', 'Tab does not go to File')
        ace_c, (x, y) = card(0, 0)
        d.click(self.picture(x + 15, y + 25))
        expect(d.js('document.activeElement.id') == 'deck', 'a click on the board left the focus in the menu bar')
        d.key(' ')
        d.key('Enter')
        expect(self.played() == [ace_c] and not d.js(f'{EXPANDED}.includes("true")'),
               'Space and Enter after a click on the board opened a menu or reset')

    def accessibility(self):
        d = self.driver
        self.open(*DESKTOP)
        cards, roles = d.ax_cards()
        expect({'menubar', 'menuitem', 'banner', 'main'} <= roles, f'menu or landmark roles missing from {roles}')
        expect(d.js("document.querySelector('meta[name=description]')?.content.includes('52-card deck')"),
               'no description of the page')
        expect(len(cards) == 52 and 'Queen of Hearts' in cards and '10 of Clubs' in cards,
               f'{len(cards)} cards: {sorted(cards)[:5]}...')
        expect(all(c[0] == 'false' and not c[1] for c in cards.values()), 'a card is checked or focusable at start')
        _, (x, y) = card(11, 2)
        d.click(self.picture(x + 15, y + 25))
        poll('the Queen of Hearts checked', lambda: d.ax_cards()[0]['Queen of Hearts'][0] == 'true')
        poll('the play announced', lambda: d.ax_announcement() == ('polite', 'Queen of Hearts, played'))
        # Assistive technology's press on a checkbox plays its card.
        d.ax_press('King of Spades')
        poll('the King of Spades checked', lambda: d.ax_cards()[0]['King of Spades'][0] == 'true')
        poll('the press announced', lambda: d.ax_announcement()[1] == 'King of Spades, played')
        expect(sorted(n for n, c in d.ax_cards()[0].items() if c[0] == 'true') == ['King of Spades',
                                                                                   'Queen of Hearts'],
               'other cards checked')
        self.shows([card(11, 2)[0], card(12, 3)[0]])
        d.key('f', alt=True)
        expect(d.ax_cards()[1] >= {'menu'}, 'the open File menu has no menu role')
        d.key('r')
        poll('every card unchecked after Reset', lambda: all(c[0] == 'false' for c in d.ax_cards()[0].values()))
        poll('Reset announced', lambda: d.ax_announcement()[1] == 'Deck reset, no card played')
        # Tab goes to the menu bar and never to a card.
        for _ in range(3):
            d.key('Tab')
            expect(d.js("document.activeElement.getAttribute('role')") in ('menuitem', None),
                   'Tab reached something other than the menu bar')

    def phone(self):
        d = self.driver
        self.open(*PHONE, mobile=True)
        ten_h, (x, y) = card(9, 2)
        point = self.picture(x + 15, y + 25)
        d.tap(point)
        d.tap(point)  # a double tap: plays once and does not zoom
        expect(d.js('visualViewport.scale') == 1, 'a double tap zoomed the page')
        self.shows([ten_h])
        expect(d.js('getComputedStyle(document.documentElement).overscrollBehaviorY') == 'none',
               'a swipe can reload the page')
        # Turned sideways, the page lays the same hand out again, and a tap lands.
        d.turn(*SIDEWAYS[:3])
        self.laid_out(*SIDEWAYS[2:], played=[ten_h])
        king_s, (x, y) = card(12, 3)
        d.tap(self.picture(x + 29, y + 49))
        self.shows([ten_h, king_s])
        # A tap on another menu's title opens that menu; on the open one's, closes it.
        self.choose('[data-key=KeyF]', '[data-key=KeyH]', act=d.tap)
        expect(d.js(EXPANDED) == ['false', 'true'], f'menus open after File, Help: {d.js(EXPANDED)}')
        self.choose('[data-key=KeyH]', act=d.tap)
        expect(d.js(EXPANDED) == ['false', 'false'], f'menus open after Help again: {d.js(EXPANDED)}')

    def fatal_error(self):
        """A board that cannot be drawn is a fatal error: a message box names it, then the page stops."""
        d = self.driver
        self.open(*DESKTOP, inject='HTMLCanvasElement.prototype.getContext = () => null;')
        text = poll('the error message', lambda: d.js(
            "!window.stale && document.getElementById('message')?.open && "
            "document.getElementById('message-text').textContent"))
        expect(text.startswith('Velmora has to close because of an error:') and 'cannot be shown' in text,
               f'error message {text!r}')
        d.key('Enter')
        poll('the page to stop', lambda: d.js('document.body.childElementCount === 0'))

    def run(self, name):
        """Runs every check the driver can, and ends the process with the verdict."""
        checks, can = Checks(), {None, *self.driver.features}
        for needs, what, check in (
                (None, f'board pixel for pixel at ratios {self.driver.ratios}', self.board_at_sizes),
                (None, 'clicks, buttons, gaps, strips, edges, taps', self.clicks),
                ('menus', 'menus and the About box', self.menus_and_about),
                (None, 'Alt+F, R resets', self.reset_by_keys), ('menus', 'focus back to the deck', self.focus),
                ('ax', 'accessibility tree', self.accessibility), ('touch', 'phone 360 × 740 at ratio 3', self.phone),
                ('inject', 'a fatal error shows its message and stops the page', self.fatal_error)):
            if needs in can:
                checks.run(f'{name}: {what}', check)
        checks.exit()
