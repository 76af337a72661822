"""The site in headless Firefox ESR over WebDriver BiDi, at device-pixel ratio 1.

usage: firefox_test.py SITE_DIR REFERENCE_COMMAND..."""
import base64
import json
import os
import subprocess
import sys
import tempfile
import threading

import websocket

from harness import DEADLINE, BrowserProcess, Driver, Failure, Scenario, Site, decode_png, expect

# A fresh profile that asks nothing of the network.
PREFS = {
    'browser.shell.checkDefaultBrowser': False,
    'datareporting.policy.dataSubmissionEnabled': False,
    'toolkit.telemetry.enabled': False,
    'network.captive-portal-service.enabled': False,
    'network.connectivity-service.enabled': False,
    'services.settings.server': 'http://127.0.0.1:9/',
    'browser.safebrowsing.malware.enabled': False,
    'browser.safebrowsing.phishing.enabled': False,
    'extensions.update.enabled': False,
    'app.normandy.enabled': False,
}


ALT = '\ue00a'
KEYS = {'Enter': '\ue007', 'Escape': '\ue00c', 'Tab': '\ue004'}
BUTTONS = {'left': 0, 'right': 2}


class Firefox(BrowserProcess, Driver):
    features = frozenset({'menus'})

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix='velmora-firefox-')
        with open(os.path.join(self.profile, 'user.js'), 'w') as prefs:
            prefs.writelines(f'user_pref({json.dumps(k)}, {json.dumps(v)});\n' for k, v in PREFS.items())
        self.launch(['firefox-esr', '--headless', '--remote-debugging-port=0', '--profile', self.profile,
                     '--no-remote', 'about:blank'], self._connect, stderr=subprocess.PIPE, text=True)

    def _connect(self):
        address = []
        found = threading.Event()

        def drain():
            for line in self.process.stderr:
                if not address and 'WebDriver BiDi listening on ' in line:
                    address.append(line.split('listening on ')[1].strip())
                    found.set()

        threading.Thread(target=drain, daemon=True).start()
        if not found.wait(DEADLINE):
            raise Failure('Firefox did not start its WebDriver BiDi server')
        # Firefox refuses connections that carry an Origin header.
        self.socket = websocket.create_connection(address[0] + '/session', timeout=DEADLINE,
                                                  suppress_origin=True)
        self.next_id = 0
        self.call('session.new', capabilities={})
        self.context = self.call('browsingContext.getTree')['contexts'][0]['context']

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            reply = json.loads(self.socket.recv())
            if reply.get('id') == self.next_id:
                if reply.get('type') == 'error':
                    raise Failure(f'{method}: {reply.get("error")}: {reply.get("message")}')
                return reply['result']

    def js(self, expression):
        result = self.call('script.evaluate', expression=f'(async () => JSON.stringify(await ({expression})))()',
                           target={'context': self.context}, awaitPromise=True)
        expect(result['type'] == 'success', f'{expression}: {result}')
        return json.loads(result['result'].get('value', 'null'))

    def open(self, url, width, height, ratio, mobile, inject):
        self.call('browsingContext.setViewport', context=self.context, viewport={'width': width, 'height': height})
        self.call('browsingContext.navigate', context=self.context, url=url, wait='complete')

    def actions(self, kind, *steps, pointer='mouse'):
        source = {'type': kind, 'id': pointer if kind == 'pointer' else kind, 'actions': list(steps)}
        if kind == 'pointer':
            source['parameters'] = {'pointerType': pointer}
        self.call('input.performActions', context=self.context, actions=[source])

    def pointer(self, kind, point, button):
        self.actions('pointer', {'type': 'pointerMove', 'x': point[0], 'y': point[1]},
                     {'type': kind, 'button': BUTTONS[button]})

    def press(self, point, button='left', count=1):
        self.pointer('pointerDown', point, button)

    def release(self, point, button='left', count=1):
        self.pointer('pointerUp', point, button)

    def tap(self, point):
        self.actions('pointer', {'type': 'pointerMove', 'x': point[0], 'y': point[1]},
                     {'type': 'pointerDown', 'button': 0}, {'type': 'pointerUp', 'button': 0}, pointer='touch')

    def key(self, key, alt=False):
        key = KEYS.get(key, key)
        steps = [{'type': 'keyDown', 'value': key}, {'type': 'keyUp', 'value': key}]
        if alt:
            steps = [{'type': 'keyDown', 'value': ALT}, *steps, {'type': 'keyUp', 'value': ALT}]
        self.actions('key', *steps)

    def screenshot(self):
        data = self.call('browsingContext.captureScreenshot', context=self.context)['data']
        return decode_png(base64.b64decode(data))

    def close(self):
        self.call('browser.close')


if __name__ == '__main__':
    with Site(sys.argv[1]) as site, Firefox() as browser:
        Scenario(browser, site.url, sys.argv[2:]).run('Firefox')
