"""The site in headless Chromium, used as a player would: the board pixel for
pixel at device-pixel ratios 1, 2 and 3, clicks and taps, the menus, the About
box, the accessibility tree and a phone-sized screen.

usage: chromium_test.py SITE_DIR REFERENCE_COMMAND..."""
import sys

from harness import (CLIENT_WIDTH, PAGE_STATE, Board, Checks, Chromium, Site, compare_board,
                     css_color, expect, poll)

site_dir, reference = sys.argv[1], sys.argv[2:]
BUTTON_BITS = {'left': 1, 'right': 2}


def card(rank, suit):
    """Index and picture-pixel rectangle (left, top) of a card: ranks 0..12, suits 0..3."""
    return suit * 13 + rank, (rank * 32, suit * 56)


class Page:
    def __init__(self, browser, url):
        self.browser = browser
        self.url = url

    def open(self, width, height, ratio, scale, mobile=False):
        b = self.browser
        b.call('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=ratio,
               mobile=mobile)
        b.call('Emulation.setTouchEmulationEnabled', enabled=mobile, maxTouchPoints=5)
        b.js('window.stale = true')
        b.call('Page.navigate', url=self.url)
        self.state = poll('the board', lambda: (s := b.js(PAGE_STATE)) and s['ready'] and s['ratio'] == ratio
                          and s)
        self.ratio, self.scale = ratio, scale

    def refresh(self):
        self.state = self.browser.js(PAGE_STATE)
        return self.state

    def css(self, x, y):
        """CSS pixel of the page at the middle of device pixel (x, y) of the board."""
        return (self.state['left'] + (x + 0.5) / self.ratio, self.state['top'] + (y + 0.5) / self.ratio)

    def picture(self, x, y):
        return self.css(x * self.scale, y * self.scale)

    def mouse(self, kind, point, button='left', buttons=0, count=1):
        self.browser.call('Input.dispatchMouseEvent', type=kind, x=point[0], y=point[1], button=button,
                          buttons=buttons, clickCount=count)

    def click(self, point, button='left', count=1):
        self.mouse('mousePressed', point, button, BUTTON_BITS[button], count)
        self.mouse('mouseReleased', point, button, 0, count)

    def tap(self, point):
        for kind, points in (('touchStart', [{'x': point[0], 'y': point[1]}]), ('touchEnd', [])):
            self.browser.call('Input.dispatchTouchEvent', type=kind, touchPoints=points)

    def key(self, key, code, alt=False):
        codes = {'Enter': 13, 'Escape': 27, '\t': 9}
        text = {'Enter': '\r', '\t': '\t'}.get(key, '' if alt else key if len(key) == 1 else '')
        for kind in ('keyDown', 'keyUp'):
            self.browser.call('Input.dispatchKeyEvent', type=kind, key=key, code=code, modifiers=1 if alt else 0,
                              windowsVirtualKeyCode=codes.get(key) or ord(key.upper()),
                              text=text if kind == 'keyDown' else '')

    def played(self):
        return self.refresh()['played']

    def shows(self, played):
        """The screen shows the board with exactly these cards played."""
        expect(self.played() == sorted(played), f'played {self.state["played"]}, expected {sorted(played)}')
        ratio, s = self.ratio, self.state
        expect(s['width'] >= CLIENT_WIDTH * self.scale and s['width'] < CLIENT_WIDTH * self.scale + ratio,
               f'backing store {s["width"]} device pixels wide at scale {self.scale}')
        expect(abs(s['cssWidth'] * ratio - s['width']) < 1e-6 and s['cssWidth'] == int(s['cssWidth']),
               f'canvas box {s["cssWidth"]} CSS px for {s["width"]} device pixels')
        origin = (round(s['left'] * ratio), round(s['top'] * ratio))
        compare_board(self.browser.screenshot(), origin, self.scale, Board.expected(reference, played),
                      css_color(s['background']))


def check_board_at_ratios(page):
    for width, height, ratio, scale in ((800, 600, 1, 1), (500, 300, 2, 2), (360, 740, 3, 2), (1400, 900, 1, 3)):
        page.open(width, height, ratio, scale)
        page.shows([])


def check_clicks(page):
    page.open(500, 300, 2, 2)
    played = []
    ace_c, (x, y) = card(0, 0)
    page.click(page.picture(x + 15, y + 25))
    played.append(ace_c)
    two_c, (x, y) = card(1, 0)
    page.click(page.picture(x + 15, y + 25), 'right')
    played.append(two_c)
    # Device-pixel edges at 2 device pixels per picture pixel: the gap before the
    # 3 of Clubs ends at device column 127, the card starts at 128.
    three_c, (x, y) = card(2, 0)
    page.click(page.css(2 * x - 1, 2 * y + 10))
    page.click(page.css(2 * x + 59, 2 * y + 99 + 2))  # the first device column after the card
    expect(page.played() == sorted(played), 'a click beside the 3 of Clubs played a card')
    page.click(page.css(2 * x, 2 * y + 99))  # its bottom-left device pixel
    played.append(three_c)
    # Gaps between rows, the strips right of and below the grid.
    for point in ((5, 50), (5, 55), (100, 53), (414, 10), (415, 200), (100, 218), (415, 218)):
        page.click(page.picture(*point))
    # Press on one card, release on another: nothing.
    four_c, (x, y) = card(3, 0)
    page.mouse('mousePressed', page.picture(x + 5, y + 5), buttons=1)
    page.mouse('mouseReleased', page.picture(x + 40, y + 5))
    # A double click plays once; a played card stays played.
    six_c, (x, y) = card(5, 0)
    page.click(page.picture(x + 10, y + 10))
    page.click(page.picture(x + 10, y + 10), count=2)
    page.click(page.picture(x + 10, y + 10), 'right')
    played.append(six_c)
    # A second button pressed during a click cancels it.
    nine_c, (x, y) = card(8, 0)
    page.mouse('mousePressed', page.picture(x + 5, y + 5), 'left', 1)
    page.mouse('mousePressed', page.picture(x + 5, y + 5), 'right', 3)
    page.mouse('mouseReleased', page.picture(x + 5, y + 5), 'right', 1)
    page.mouse('mouseReleased', page.picture(x + 5, y + 5), 'left', 0)
    # Touch taps.
    king_s, (x, y) = card(12, 3)
    page.tap(page.picture(x + 29, y + 49))
    played.append(king_s)
    expect(page.browser.js('''new Promise((done) => {
        addEventListener('contextmenu', (e) => done(e.defaultPrevented), {once: true});
        document.getElementById('board').dispatchEvent(new MouseEvent('contextmenu', {bubbles: true,
                                                                                     cancelable: true}));
    })'''), 'the context menu is not suppressed over the board')
    page.shows(played)
    return played


def check_menus_and_about(page, played):
    b = page.browser
    # About by keys with cards played: a modal box titled Velmora, three lines, OK focused.
    page.key('h', 'KeyH', alt=True)
    expect(b.js("document.activeElement.textContent") == 'About...', 'Alt+H does not open Help on About...')
    page.key('a', 'KeyA')
    about = poll('the About box', lambda: b.js('''(() => { const d = document.getElementById('message');
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
    page.click(page.picture(x + 10, y + 10))
    page.key('f', 'KeyF', alt=True)
    expect(b.js("document.getElementById('message').open"), 'the About box closed without OK')
    page.key('Enter', 'Enter')
    poll('the About box to close', lambda: not b.js("document.getElementById('message').open"))
    expect(page.played() == sorted(played), 'the board changed while the About box was open')
    # Escape closes it too; by pointer: Help, About..., OK.
    page.key('h', 'KeyH', alt=True)
    page.key('a', 'KeyA')
    poll('the About box', lambda: b.js("document.getElementById('message').open"))
    page.key('Escape', 'Escape')
    poll('Escape to close it', lambda: not b.js("document.getElementById('message').open"))

    def centre(selector):
        r = b.js(f"(() => {{ const r = document.querySelector({selector!r}).getBoundingClientRect(); "
                 "return [r.left + r.width / 2, r.top + r.height / 2]; })()")
        return tuple(r)

    page.click(centre('[data-key=KeyH]'))
    page.click(centre('[data-command=about]'))
    poll('the About box', lambda: b.js("document.getElementById('message').open"))
    page.click(centre('#message button'))
    poll('OK to close it', lambda: not b.js("document.getElementById('message').open"))
    # Reset by pointer, then by keys.
    page.click(centre('[data-key=KeyF]'))
    page.click(centre('[data-command=reset]'))
    expect(page.played() == [], 'File › Reset by pointer left cards played')
    _, (x, y) = card(7, 2)
    page.click(page.picture(x + 10, y + 10))
    page.key('f', 'KeyF', alt=True)
    page.key('r', 'KeyR')
    page.shows([])


def ax_cards(browser):
    nodes = browser.call('Accessibility.getFullAXTree')['nodes']
    cards = {}
    roles = set()
    for node in nodes:
        role = node.get('role', {}).get('value')
        roles.add(role)
        if role == 'checkbox':
            props = {p['name']: p['value'].get('value') for p in node.get('properties', [])}
            cards[node['name']['value']] = (props.get('checked'), props.get('focusable', False),
                                            node.get('backendDOMNodeId'))
    return cards, roles


def ax_announcement(browser):
    """The politeness of the page's live region and the words in it, as a screen reader gets them."""
    nodes = {n['nodeId']: n for n in browser.call('Accessibility.getFullAXTree')['nodes']}
    region = next(n for n in nodes.values() if n.get('role', {}).get('value') == 'status')
    live = {p['name']: p['value'].get('value') for p in region.get('properties', [])}.get('live')
    words, todo = [], list(region.get('childIds', []))
    while todo:
        node = nodes[todo.pop(0)]
        if node.get('role', {}).get('value') == 'StaticText':
            words.append(node['name']['value'])
        todo[:0] = node.get('childIds', [])
    return live, ' '.join(words)


def check_accessibility(page):
    b = page.browser
    page.open(800, 600, 1, 1)
    b.call('Accessibility.enable')
    cards, roles = ax_cards(b)
    expect({'menubar', 'menuitem'} <= roles, f'menu roles missing from {roles}')
    expect(len(cards) == 52 and 'Queen of Hearts' in cards and '10 of Clubs' in cards,
           f'{len(cards)} cards: {sorted(cards)[:5]}...')
    expect(all(c[0] == 'false' and not c[1] for c in cards.values()), 'a card is checked or focusable at start')
    _, (x, y) = card(11, 2)
    page.click(page.picture(x + 15, y + 25))
    cards, _ = poll('the Queen of Hearts checked', lambda: (a := ax_cards(b)) and a[0]['Queen of Hearts'][0] ==
                    'true' and a)
    poll('the play announced', lambda: ax_announcement(b) == ('polite', 'Queen of Hearts, played'))
    # Assistive technology's press on a checkbox plays its card.
    node = b.call('DOM.resolveNode', backendNodeId=cards['King of Spades'][2])['object']['objectId']
    b.call('Runtime.callFunctionOn', objectId=node, functionDeclaration='function () { this.click(); }')
    poll('the King of Spades checked', lambda: ax_cards(b)[0]['King of Spades'][0] == 'true')
    poll('the press announced', lambda: ax_announcement(b)[1] == 'King of Spades, played')
    expect(sorted(n for n, c in ax_cards(b)[0].items() if c[0] == 'true') == ['King of Spades', 'Queen of Hearts'],
           'other cards checked')
    page.shows([card(11, 2)[0], card(12, 3)[0]])
    page.key('f', 'KeyF', alt=True)
    expect(ax_cards(b)[1] >= {'menu'}, 'the open File menu has no menu role')
    page.key('r', 'KeyR')
    poll('every card unchecked after Reset', lambda: all(c[0] == 'false' for c in ax_cards(b)[0].values()))
    poll('Reset announced', lambda: ax_announcement(b)[1] == 'Deck reset, no card played')
    # Tab goes to the menu bar and never to a card.
    for _ in range(3):
        page.key('\t', 'Tab')
        expect(b.js("document.activeElement.getAttribute('role')") in ('menuitem', None),
               'Tab reached something other than the menu bar')


def check_phone(page):
    b = page.browser
    page.open(360, 740, 3, 2, mobile=True)
    expect(page.state['cssWidth'] == 278, f'canvas {page.state["cssWidth"]} CSS px wide on the phone')
    ten_h, (x, y) = card(9, 2)
    point = page.picture(x + 15, y + 25)
    page.tap(point)
    page.tap(point)  # a double tap: plays once and does not zoom
    expect(b.js('visualViewport.scale') == 1, 'a double tap zoomed the page')
    page.shows([ten_h])


def check_fatal_error(page):
    """A board that cannot be drawn is a fatal error: a message box names it, then the page stops."""
    b = page.browser
    script = b.call('Page.addScriptToEvaluateOnNewDocument',
                    source='HTMLCanvasElement.prototype.getContext = () => null;')['identifier']
    try:
        b.js('window.stale = true')
        b.call('Page.navigate', url=page.url)
        text = b.wait_js('the error message', "!window.stale && document.getElementById('message')?.open && "
                         "document.getElementById('message-text').textContent")
        expect(text.startswith('Velmora has to close because of an error:') and 'cannot be shown' in text,
               f'error message {text!r}')
        page.key('Enter', 'Enter')
        b.wait_js('the page to stop', 'document.body.childElementCount === 0')
    finally:
        b.call('Page.removeScriptToEvaluateOnNewDocument', identifier=script)


def main():
    checks = Checks()
    with Site(site_dir) as site, Chromium() as browser:
        page = Page(browser, site.url)
        checks.run('board pixel for pixel at ratios 1, 2, 3', check_board_at_ratios, page)
        played = []
        checks.run('clicks, buttons, gaps, strips, edges, taps', lambda: played.extend(check_clicks(page)))
        checks.run('menus and the About box', check_menus_and_about, page, played)
        checks.run('accessibility tree', check_accessibility, page)
        checks.run('phone 360 × 740 at ratio 3', check_phone, page)
        checks.run('a fatal error shows its message and stops the page', check_fatal_error, page)
    checks.exit()


if __name__ == '__main__':
    main()
