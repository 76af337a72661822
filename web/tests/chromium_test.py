"""The site in headless Chromium over the DevTools protocol, at device-pixel
ratios 1, 2 and 3, with touch, the accessibility tree and a script that runs
before the page's own.

usage: chromium_test.py SITE_DIR REFERENCE_COMMAND..."""
import sys

from harness import Chromium, Driver, Scenario, Site

BUTTON_BITS = {'left': 1, 'right': 2}
KEY_CODES = {'Enter': 13, 'Escape': 27, 'Tab': 9}
KEY_TEXT = {'Enter': '\r', 'Tab': '\t'}


class ChromiumDriver(Chromium, Driver):
    ratios = (1, 2, 3)
    features = frozenset({'menus', 'touch', 'ax', 'inject'})
    injected = None
    held = 0

    def open(self, url, width, height, ratio, mobile, inject):
        self.call('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=ratio,
                  mobile=mobile)
        self.call('Emulation.setTouchEmulationEnabled', enabled=mobile, maxTouchPoints=5)
        if self.injected:
            self.call('Page.removeScriptToEvaluateOnNewDocument', identifier=self.injected)
            self.injected = None
        if inject:
            self.injected = self.call('Page.addScriptToEvaluateOnNewDocument', source=inject)['identifier']
        self.ratio = ratio
        self.call('Page.navigate', url=url)

    def css(self, point):
        return [(v + 0.5) / self.ratio for v in point]

    def mouse(self, kind, point, button, count=1):
        x, y = self.css(point)
        self.call('Input.dispatchMouseEvent', type=kind, x=x, y=y, button=button, buttons=self.held,
                  clickCount=count)

    def press(self, point, button='left'):
        self.held |= BUTTON_BITS[button]
        self.mouse('mousePressed', point, button)

    def release(self, point, button='left'):
        self.held &= ~BUTTON_BITS[button]
        self.mouse('mouseReleased', point, button)

    def click(self, point, button='left', count=1):
        for n in range(1, count + 1):
            self.held |= BUTTON_BITS[button]
            self.mouse('mousePressed', point, button, n)
            self.held &= ~BUTTON_BITS[button]
            self.mouse('mouseReleased', point, button, n)

    def tap(self, point):
        x, y = self.css(point)
        for kind, points in (('touchStart', [{'x': x, 'y': y}]), ('touchEnd', [])):
            self.call('Input.dispatchTouchEvent', type=kind, touchPoints=points)

    def key(self, key, alt=False):
        code = f'Key{key.upper()}' if len(key) == 1 else key
        text = KEY_TEXT.get(key, '' if alt or len(key) > 1 else key)
        for kind in ('keyDown', 'keyUp'):
            self.call('Input.dispatchKeyEvent', type=kind, key=key, code=code, modifiers=1 if alt else 0,
                      windowsVirtualKeyCode=KEY_CODES.get(key) or ord(key.upper()),
                      text=text if kind == 'keyDown' else '')

    def ax_cards(self):
        """{name: (checked, focusable, node)} of the cards, and every role in the tree."""
        self.call('Accessibility.enable')
        cards, roles = {}, set()
        for node in self.call('Accessibility.getFullAXTree')['nodes']:
            role = node.get('role', {}).get('value')
            roles.add(role)
            if role == 'checkbox':
                props = {p['name']: p['value'].get('value') for p in node.get('properties', [])}
                cards[node['name']['value']] = (props.get('checked'), props.get('focusable', False),
                                                node.get('backendDOMNodeId'))
        return cards, roles

    def ax_press(self, name):
        node = self.call('DOM.resolveNode', backendNodeId=self.ax_cards()[0][name][2])['object']['objectId']
        self.call('Runtime.callFunctionOn', objectId=node, functionDeclaration='function () { this.click(); }')


if __name__ == '__main__':
    with Site(sys.argv[1]) as site, ChromiumDriver() as browser:
        scenario = Scenario(browser, site.url, sys.argv[2:])
        scenario.run('Chromium')
