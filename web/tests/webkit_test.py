"""The site in WebKitGTK (MiniBrowser under WebKitWebDriver) on an X server of
its own, at device-pixel ratio 1. WebKitWebDriver's screenshot command does not
answer under Xvfb, so the pixels come from the X screen and the input from
xdotool, as a user's would.

usage: webkit_test.py SITE_DIR REFERENCE_COMMAND..."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

import urllib.request

from selenium import webdriver

from harness import DEADLINE, Driver, Scenario, Site, free_port, poll, read_line

SCREEN = (1280, 1024)


class Display:
    """A private X server, until stop()."""

    def __init__(self):
        read_end, write_end = os.pipe()
        # -noreset: the server must not start afresh when its last client leaves.
        self.process = subprocess.Popen(['Xvfb', '-displayfd', str(write_end), '-noreset', '-screen', '0',
                                         f'{SCREEN[0]}x{SCREEN[1]}x24', '-nolisten', 'tcp'],
                                        pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as chosen:
            self.name = ':' + read_line(self.process, 'display number from Xvfb', stream=chosen)

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=DEADLINE)


BUTTONS = {'left': '1', 'right': '3'}
KEYS = {'Enter': 'Return'}


class WebKit(Driver):
    """MiniBrowser on its own X server, with a home of its own."""
    narrowest = 447  # MiniBrowser's window

    def __init__(self):
        self.display = Display()
        self.home = tempfile.mkdtemp(prefix='velmora-webkit-')
        home = self.home
        self.env = {**os.environ, 'DISPLAY': self.display.name, 'HOME': home, 'XDG_CACHE_HOME': f'{home}/cache',
                    'XDG_DATA_HOME': f'{home}/data', 'XDG_CONFIG_HOME': f'{home}/config'}
        self.server = self.driver = None
        try:
            port = free_port()
            self.server = subprocess.Popen(['WebKitWebDriver', f'--port={port}'], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            address = f'http://127.0.0.1:{port}'
            poll('WebKitWebDriver to listen', lambda: _answers(address + '/status'))
            options = webdriver.WebKitGTKOptions()
            options.binary_location = sorted(glob.glob('/usr/lib/*/webkit2gtk-4.*/MiniBrowser'))[-1]
            options.add_argument('--automation')
            self.driver = webdriver.Remote(command_executor=address, options=options)
            self.driver.set_page_load_timeout(DEADLINE)
        except BaseException:
            self.stop()
            raise

    def stop(self):
        if self.driver:
            self.driver.quit()
        if self.server:
            self.server.terminate()
            self.server.wait(timeout=DEADLINE)
        self.display.stop()
        shutil.rmtree(self.home, ignore_errors=True)

    def open(self, url, width, height, ratio, mobile, inject):
        self.driver.set_window_rect(0, 0, width, height)
        self.driver.get(url)
        # The page gets the size asked for, not the window with its bars.
        bars = self.js('[outerWidth - innerWidth, outerHeight - innerHeight]')
        if any(bars):
            self.driver.set_window_rect(0, 0, width + bars[0], height + bars[1])

    def js(self, expression):
        return self.driver.execute_async_script(
            f'Promise.resolve({expression}).then(arguments[arguments.length - 1])')

    def origin(self, state):
        return None  # looked for on the X screen

    def screenshot(self):
        raw = subprocess.run(['import', '-display', self.display.name, '-window', 'root', '-depth', '8', 'rgb:-'],
                             capture_output=True, check=True, timeout=DEADLINE).stdout
        width, height = SCREEN
        return width, height, [[tuple(raw[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
                               for y in range(height)]

    def xdotool(self, *args):
        subprocess.run(['xdotool', *args], env=self.env, check=True, timeout=DEADLINE)

    def press(self, point, button='left', count=1):
        self.xdotool('mousemove', str(point[0]), str(point[1]), 'mousedown', BUTTONS[button])

    def release(self, point, button='left', count=1):
        self.xdotool('mousemove', str(point[0]), str(point[1]), 'mouseup', BUTTONS[button])

    def key(self, key, alt=False):
        self.xdotool('key', ('alt+' if alt else '') + KEYS.get(key, key))


def _answers(address):
    try:
        return urllib.request.urlopen(address, timeout=5)
    except OSError:
        return None


if __name__ == '__main__':
    with Site(sys.argv[1]) as site, WebKit() as browser:
        Scenario(browser, site.url, sys.argv[2:]).run('WebKitGTK')
