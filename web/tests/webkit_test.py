"""The site in WebKitGTK (MiniBrowser under WebKitWebDriver) on an X server of
its own: load, the board pixel for pixel, clicks with both buttons and in a gap,
and Reset by its access keys. WebKitWebDriver's screenshot command does not
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

from harness import (DEADLINE, PAGE_STATE, Board, Checks, Failure, Site, compare_board, css_color, free_port,
                     poll, read_line)

site_dir, reference = sys.argv[1], sys.argv[2:]
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


def screen(display):
    raw = subprocess.run(['import', '-display', display, '-window', 'root', '-depth', '8', 'rgb:-'],
                         capture_output=True, check=True, timeout=DEADLINE).stdout
    width, height = SCREEN
    rows = [[tuple(raw[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(height)]
    return width, height, rows


def find_board(image, scale, played, background):
    """The screen position at which the board shows exactly as expected."""
    width, height, rows = image
    expected = Board.expected(reference, played)
    black, white = (0, 0, 0), (255, 255, 255)
    k = scale
    for y in range(height - 219 * k):
        row = rows[y]
        for x in range(width - 416 * k):
            # The Ace of Clubs' top-left corner mark.
            if row[x] == black and row[x + 2 * k] == black and rows[y + k][x + k] == white and \
                    rows[y + 2 * k][x] == black:
                try:
                    compare_board(image, (x, y), k, expected, background)
                    return x, y
                except Failure:
                    pass
    raise Failure(f'the board with {played} played is not on the screen')


def main():
    checks = Checks()
    display = Display()
    home = tempfile.mkdtemp(prefix='velmora-webkit-')
    env = {**os.environ, 'DISPLAY': display.name, 'HOME': home, 'XDG_CACHE_HOME': f'{home}/cache',
           'XDG_DATA_HOME': f'{home}/data', 'XDG_CONFIG_HOME': f'{home}/config'}
    site = Site(site_dir)
    driver = None
    server = None
    state = {}

    def xdotool(*args):
        subprocess.run(['xdotool', *args], env=env, check=True, timeout=DEADLINE)

    def shows(played):
        s = poll(f'cards {played} played', lambda: (s := driver.execute_script(f'return {PAGE_STATE}')) and
                 s['ready'] and s['played'] == sorted(played) and s)
        background = css_color(s['background'])
        state['scale'] = s['width'] // 416
        expected = Board.expected(reference, played)

        def on_screen():
            image = screen(display.name)
            if 'origin' not in state:  # the board does not move once found
                return find_board(image, state['scale'], played, background)
            compare_board(image, state['origin'], state['scale'], expected, background)
            return state['origin']

        try:
            state['origin'] = poll('the board on the X screen', lambda: _try(on_screen))
        finally:
            if os.environ.get('VELMORA_DEBUG_SHOT'):
                subprocess.run(['import', '-display', display.name, '-window', 'root',
                                os.environ['VELMORA_DEBUG_SHOT']])

    def _try(probe):
        try:
            return probe()
        except (Failure, OSError):
            return None

    def click(x, y, button=1):
        (ox, oy), k = state['origin'], state['scale']
        xdotool('mousemove', str(ox + x * k + k // 2), str(oy + y * k + k // 2), 'click', str(button))

    try:
        options = webdriver.WebKitGTKOptions()
        options.binary_location = sorted(glob.glob('/usr/lib/*/webkit2gtk-4.*/MiniBrowser'))[-1]
        options.add_argument('--automation')
        port = free_port()
        server = subprocess.Popen(['WebKitWebDriver', f'--port={port}'], env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        address = f'http://127.0.0.1:{port}'
        poll('WebKitWebDriver to listen', lambda: _try(lambda: urllib.request.urlopen(address + '/status',
                                                                                      timeout=5)))
        driver = webdriver.Remote(command_executor=address, options=options)
        driver.set_page_load_timeout(DEADLINE)

        def load():
            driver.get(site.url)
            shows([])

        def clicks():
            click(15, 25)           # Ace of Clubs, left button
            click(32 + 15, 25, 3)   # 2 of Clubs, right button
            click(30, 25)           # the gap between them
            click(31, 25)
            click(15, 56 + 25)      # Ace of Diamonds
            shows([0, 1, 13])

        def reset():
            xdotool('key', 'alt+f', 'r')
            shows([])

        checks.run('WebKitGTK: load, board pixel for pixel', load)
        checks.run('WebKitGTK: clicks', clicks)
        checks.run('WebKitGTK: Alt+F, R resets', reset)
    finally:
        if driver:
            driver.quit()
        if server:
            server.terminate()
            server.wait(timeout=DEADLINE)
        site.stop()
        display.stop()
        shutil.rmtree(home, ignore_errors=True)
    checks.exit()


if __name__ == '__main__':
    main()
