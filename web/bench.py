#!/usr/bin/env python3
"""Prints what the site costs a visitor, next to a bare page that only puts an
empty canvas of the board's size on the screen, served the same way:
  - the cold-load transfer, each file raw and as gzip -9 sends it;
  - navigation to the first full frame (the first frame after the board is
    drawn), mean and median of cached loads in headless Chromium.
Figures only; nothing is asserted.

usage: bench.py SITE_DIR [LOADS]"""
import gzip
import os
import statistics
import sys
import tempfile
import time
import urllib.error
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), 'tests'))
from chromium_test import Chromium  # noqa: E402
from harness import Site, poll  # noqa: E402

BARE_PAGE = '''<!doctype html>
<html lang="en"><head><meta charset="utf-8"><title>bare</title>
<script type="module">
const canvas = document.getElementById('board');
canvas.width = 416;
canvas.height = 219;
</script></head><body><canvas id="board" style="display:block"></canvas></body></html>
'''


# Records the time of the first frame that shows a drawn board.
FRAME_PROBE = '''(() => {
  const watch = () => requestAnimationFrame((now) => {
    const canvas = document.getElementById('board');
    if (canvas && canvas.width > 0)
      requestAnimationFrame(() => window.firstFullFrame = performance.now());
    else
      watch();
  });
  watch();
})();'''


def transfer(browser, url):
    browser.call('Network.enable')
    browser.call('Network.setCacheDisabled', cacheDisabled=True)
    browser.events.clear()
    browser.call('Page.navigate', url=url)
    poll('the first frame', lambda: browser.js('window.firstFullFrame'))
    count = -1
    while count != len(browser.events):  # until the last reports have come in
        count = len(browser.events)
        time.sleep(0.3)
        browser.pump()
    urls = []
    for event in browser.events:
        if event.get('method') == 'Network.requestWillBeSent':
            request = event['params']['request']['url']
            if request not in urls:
                urls.append(request)
    browser.call('Network.setCacheDisabled', cacheDisabled=False)
    browser.call('Network.disable')
    rows = []
    for request in urls:
        try:
            body = urllib.request.urlopen(request, timeout=30).read()
        except urllib.error.HTTPError:  # the favicon a bare page lacks
            continue
        rows.append((request[len(url):] or '/', len(body), len(gzip.compress(body, 9))))
    return rows


def print_rows(title, rows):
    print(title)
    for path, raw, packed in rows:
        print(f'  {path:24} {raw:8} bytes raw {packed:7} bytes gzipped')
    print(f'  {"total":24} {sum(r[1] for r in rows):8} bytes raw {sum(r[2] for r in rows):7} bytes gzipped')


def first_frames(browser, url, loads):
    times = []
    for _ in range(loads):
        browser.js('window.stale = true')
        browser.call('Page.navigate', url=url)
        times.append(poll('the first frame', lambda: not browser.js('window.stale') and
                          browser.js('window.firstFullFrame')))
    return times


def main():
    site_dir = sys.argv[1]
    loads = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    with tempfile.TemporaryDirectory() as bare_dir:
        with open(os.path.join(bare_dir, 'index.html'), 'w') as page:
            page.write(BARE_PAGE)
        servers = {'site': Site(site_dir), 'bare page': Site(bare_dir)}
        browser = Chromium()
        try:
            browser.call('Emulation.setDeviceMetricsOverride', width=800, height=600, deviceScaleFactor=1,
                         mobile=False)
            browser.call('Page.addScriptToEvaluateOnNewDocument', source=FRAME_PROBE)
            figures = {}
            for name, server in servers.items():
                rows = transfer(browser, server.url)
                print_rows(f'{name}: cold load, the page', rows)
                if name == 'site':
                    # After the first frame the service worker fetches the rest for offline use.
                    seen = {path for path, _, _ in rows}
                    rest = []
                    for file in sorted(os.listdir(site_dir)):
                        if file not in seen and file != 'index.html':
                            with open(os.path.join(site_dir, file), 'rb') as f:
                                body = f.read()
                            rest.append((file, len(body), len(gzip.compress(body, 9))))
                    print_rows('site: then in the background, the service worker and the rest of the offline copy',
                               rest)
                first_frames(browser, server.url, 2)  # warm the caches and the service worker
                figures[name] = first_frames(browser, server.url, loads)
            for name, times in figures.items():
                print(f'{name}: navigation to first full frame, {loads} cached loads: '
                      f'mean {statistics.mean(times):.1f} ms, median {statistics.median(times):.1f} ms, '
                      f'min {min(times):.1f} ms')
            site, bare = (statistics.mean(figures[n]) for n in ('site', 'bare page'))
            print(f'site minus bare page: {site - bare:+.1f} ms')
        finally:
            browser.stop()
            for server in servers.values():
                server.stop()


if __name__ == '__main__':
    main()
