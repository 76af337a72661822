"""What the browser tests share: the built site served on the loopback, the
pictures the board must show, a DevTools client for Chromium, PNG decoding, and
polling with a deadline."""
import base64
import json
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

import websocket

HERE = os.path.dirname(os.path.abspath(__file__))
CLIENT_WIDTH, CLIENT_HEIGHT = 416, 219
DEADLINE = 30  # seconds for anything a test waits for


class Failure(Exception):
    pass


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


def compare_board(image, origin, scale, expected, background):
    """Checks that image (width, height, rows of RGB(A) tuples) shows the board at
    device pixel origin with every picture pixel a scale × scale block."""
    width, height, rows = image
    ox, oy = origin
    expect(ox + CLIENT_WIDTH * scale <= width and oy + CLIENT_HEIGHT * scale <= height,
           f'the board ({CLIENT_WIDTH * scale} × {CLIENT_HEIGHT * scale} at {origin}) is not all in the '
           f'{width} × {height} screenshot')
    wrong = []
    for y in range(CLIENT_HEIGHT * scale):
        row = rows[oy + y]
        want_row = expected[y // scale]
        for x in range(CLIENT_WIDTH * scale):
            want = want_row[x // scale]
            want = background if want[3] == 0 else want[:3]
            got = row[ox + x][:3]
            if got != want:
                wrong.append((x, y, got, want))
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


class Chromium(BrowserProcess):
    """Headless Chromium with a fresh profile, driven over the DevTools protocol
    through one page."""

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix='velmora-chromium-')
        args = ['/usr/lib/chromium/chromium', '--headless=new', f'--user-data-dir={self.profile}',
                '--remote-debugging-port=0', '--disable-background-networking', '--disable-component-update',
                '--disable-sync', '--no-first-run', '--no-default-browser-check', '--disable-gpu',
                '--hide-scrollbars', '--force-color-profile=srgb', 'about:blank']
        if os.geteuid() == 0:
            args.append('--no-sandbox')
        self.launch(args, self._connect, stderr=subprocess.DEVNULL)

    def _connect(self):
        active = os.path.join(self.profile, 'DevToolsActivePort')
        lines = poll('Chromium to listen', lambda: os.path.exists(active) and open(active).read().split())
        # Newer Chromium refuses DevTools connections whose Origin header it was not told to allow.
        self.socket = websocket.create_connection(f'ws://127.0.0.1:{lines[0]}{lines[1]}', timeout=DEADLINE,
                                                  suppress_origin=True)
        self.next_id = 0
        self.events = []
        target = self.call('Target.createTarget', url='about:blank', session=None)['targetId']
        self.session = self.call('Target.attachToTarget', targetId=target, flatten=True, session=None)['sessionId']
        self.call('Page.enable')
        self.call('Runtime.enable')

    def call(self, method, session='page', **params):
        self.next_id += 1
        message = {'id': self.next_id, 'method': method, 'params': params}
        if session:
            message['sessionId'] = self.session if session == 'page' else session
        self.socket.send(json.dumps(message))
        while True:
            reply = json.loads(self.socket.recv())
            if reply.get('id') == self.next_id:
                if 'error' in reply:
                    raise Failure(f'{method}: {reply["error"]}')
                return reply['result']
            self.events.append(reply)

    def pump(self):
        """Collects the events that have arrived."""
        self.socket.settimeout(0.01)
        try:
            while True:
                self.events.append(json.loads(self.socket.recv()))
        except websocket.WebSocketTimeoutException:
            pass
        finally:
            self.socket.settimeout(DEADLINE)

    def js(self, expression):
        result = self.call('Runtime.evaluate', expression=expression, awaitPromise=True, returnByValue=True)
        if 'exceptionDetails' in result:
            raise Failure(f'{expression}: {result["exceptionDetails"]}')
        return result['result'].get('value')

    def wait_js(self, what, expression):
        return poll(what, lambda: self.js(expression))

    def screenshot(self):
        return decode_png(base64.b64decode(self.call('Page.captureScreenshot', format='png')['data']))

    def close(self):
        self.call('Browser.close', session=None)


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
