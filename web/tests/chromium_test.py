"""The site in headless Chromium over the DevTools protocol, at device-pixel
ratios 1, 2 and 3, with touch, the accessibility tree and a script that runs
before the page's own.

usage: chromium_test.py SITE_DIR REFERENCE_COMMAND..."""
import base64
import json
import os
import subprocess
import sys
import tempfile

import websocket

from harness import DEADLINE, BrowserProcess, Driver, Failure, Scenario, Site, decode_png, poll

BUTTON_BITS = {'left': 1, 'right': 2}
KEY_CODES = {'Enter': 13, 'Escape': 27, 'Tab': 9}
KEY_TEXT = {'Enter': '\r', 'Tab': '\t'}


class Chromium(BrowserProcess, Driver):
    """Headless Chromium with a fresh profile, driven over the DevTools protocol
    through one page."""
    ratios = (1, 2, 3)
    features = frozenset({'menus', 'touch', 'ax', 'inject'})
    injected = None
    held = 0

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

    def screenshot(self):
        return decode_png(base64.b64decode(self.call('Page.captureScreenshot', format='png')['data']))

    def close(self):
        self.call('Browser.close', session=None)

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

    def turn(self, width, height, ratio):
        """The phone turned: a new size for the page as it is."""
        self.call('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=ratio,
                  mobile=True, screenOrientation={'type': 'landscapePrimary', 'angle': 90})
        self.ratio = ratio

    def css(self, point):
        return [(v + 0.5) / self.ratio for v in point]

    def mouse(self, kind, point, button, count=1):
        x, y = self.css(point)
        self.call('Input.dispatchMouseEvent', type=kind, x=x, y=y, button=button, buttons=self.held,
                  clickCount=count)

    def press(self, point, button='left', count=1):
        self.held |= BUTTON_BITS[button]
        self.mouse('mousePressed', point, button, count)

    def release(self, point, button='left', count=1):
        self.held &= ~BUTTON_BITS[button]
        self.mouse('mouseReleased', point, button, count)

    def tap(self, point):
        x, y = self.css(point)
        for kind, points in (('touchStart', [{'x': x, 'y': y}]), ('touchEnd', [])):
            self.call('Input.dispatchTouchEvent', type=kind, touchPoints=points)

    def key(self, key, alt=False):
        code = 'Space' if key == ' ' else f'Key{key.upper()}' if len(key) == 1 else key
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

    def ax_announcement(self):
        """The politeness of the page's live region and the words in it, as a screen reader gets them."""
        nodes = {n['nodeId']: n for n in self.call('Accessibility.getFullAXTree')['nodes']}
        region = next(n for n in nodes.values() if n.get('role', {}).get('value') == 'status')
        live = {p['name']: p['value'].get('value') for p in region.get('properties', [])}.get('live')
        words, todo = [], list(region.get('childIds', []))
        while todo:
            node = nodes[todo.pop(0)]
            if node.get('role', {}).get('value') == 'StaticText':
                words.append(node['name']['value'])
            todo[:0] = node.get('childIds', [])
        return live, ' '.join(words)

    def ax_press(self, name):
        node = self.call('DOM.resolveNode', backendNodeId=self.ax_cards()[0][name][2])['object']['objectId']
        self.call('Runtime.callFunctionOn', objectId=node, functionDeclaration='function () { this.click(); }')


if __name__ == '__main__':
    with Site(sys.argv[1]) as site, Chromium() as browser:
        scenario = Scenario(browser, site.url, sys.argv[2:])
        scenario.run('Chromium')
