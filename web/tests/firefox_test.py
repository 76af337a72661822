"""The site in headless Firefox ESR over WebDriver BiDi: load, the board pixel
for pixel, clicks with both buttons and in a gap, and Reset by its access keys.

usage: firefox_test.py SITE_DIR REFERENCE_COMMAND..."""
import base64
import json
import os
import subprocess
import sys
import tempfile
import threading

import websocket

from harness import (DEADLINE, PAGE_STATE, Board, BrowserProcess, Checks, Failure, Site, compare_board, css_color,
                     decode_png, expect, poll)

site_dir, reference = sys.argv[1], sys.argv[2:]

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


class Firefox(BrowserProcess):
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
        result = self.call('script.evaluate', expression=f'(async () => JSON.stringify(await {expression}))()',
                           target={'context': self.context}, awaitPromise=True)
        expect(result['type'] == 'success', f'{expression}: {result}')
        return json.loads(result['result'].get('value', 'null'))

    def actions(self, *sources):
        self.call('input.performActions', context=self.context, actions=list(sources))

    def click(self, x, y, button=0):
        self.actions({'type': 'pointer', 'id': 'mouse', 'parameters': {'pointerType': 'mouse'},
                      'actions': [{'type': 'pointerMove', 'x': int(x), 'y': int(y)},
                                  {'type': 'pointerDown', 'button': button},
                                  {'type': 'pointerUp', 'button': button}]})

    def keys(self, *steps):
        self.actions({'type': 'key', 'id': 'keyboard', 'actions': [{'type': t, 'value': v} for t, v in steps]})

    def screenshot(self):
        data = self.call('browsingContext.captureScreenshot', context=self.context)['data']
        return decode_png(base64.b64decode(data))

    def close(self):
        self.call('browser.close')


ALT = '\ue00a'


def main():
    checks = Checks()
    with Site(site_dir) as site, Firefox() as browser:
        state = {}

        def shows(played):
            s = poll(f'cards {played} played', lambda: (s := browser.js(PAGE_STATE)) and s['ready'] and
                     s['played'] == sorted(played) and s)
            compare_board(browser.screenshot(), (round(s['left']), round(s['top'])), 1,
                          Board.expected(reference, played), css_color(s['background']))
            state.update(s)

        def load():
            browser.call('browsingContext.setViewport', context=browser.context, viewport={'width': 800, 'height': 600})
            browser.call('browsingContext.navigate', context=browser.context, url=site.url, wait='complete')
            shows([])

        def clicks():
            left, top = state['left'], state['top']
            browser.click(left + 15, top + 25)             # Ace of Clubs, left button
            browser.click(left + 32 + 15, top + 25, 2)     # 2 of Clubs, right button
            browser.click(left + 30.5, top + 25)           # the gap between them
            browser.click(left + 15, top + 56 + 25)        # Ace of Diamonds
            shows([0, 1, 13])

        def reset():
            browser.keys(('keyDown', ALT), ('keyDown', 'f'), ('keyUp', 'f'), ('keyUp', ALT),
                         ('keyDown', 'r'), ('keyUp', 'r'))
            shows([])

            checks.run('Firefox: load, board pixel for pixel', load)
            checks.run('Firefox: clicks', clicks)
            checks.run('Firefox: Alt+F, R resets', reset)
    checks.exit()


if __name__ == '__main__':
    main()
