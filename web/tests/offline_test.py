"""The site as an installed app in headless Chromium: installable, opening with
the server gone, storing nothing but its own files and asking no other origin.

usage: offline_test.py SITE_DIR REFERENCE_COMMAND..."""
import sys
import urllib.request

from harness import PAGE_STATE, Board, Checks, Chromium, Site, compare_board, css_color, expect, poll

site_dir, reference = sys.argv[1], sys.argv[2:]


def load(browser, url=None):
    """Navigates to url, or reloads, and waits for the board."""
    browser.js('window.stale = true')
    if url:
        browser.call('Page.navigate', url=url)
    else:
        browser.call('Page.reload')
    return poll('the board', lambda: (s := browser.js(PAGE_STATE)) and s['ready'] and s)


def check_installable(browser, url):
    load(browser, url)
    browser.wait_js('the service worker in control', 'navigator.serviceWorker.ready.then(() => '
                    '!!navigator.serviceWorker.controller)')
    errors = browser.call('Page.getInstallabilityErrors')['installabilityErrors']
    expect(errors == [], f'installability errors: {errors}')
    manifest = browser.call('Page.getAppManifest')
    expect(not manifest.get('errors'), f'manifest errors: {manifest.get("errors")}')


def check_nothing_stored(browser, url):
    stored = browser.js('''(async () => ({cookie: document.cookie, local: localStorage.length,
        session: sessionStorage.length, databases: (await indexedDB.databases()).length,
        caches: await Promise.all((await caches.keys()).map(async (name) =>
            [name, (await (await caches.open(name)).keys()).map((r) => r.url)]))}))()''')
    expect(stored['cookie'] == '' and stored['local'] == stored['session'] == stored['databases'] == 0,
           f'something stored: {stored}')
    expect(len(stored['caches']) == 1 and all(u.startswith(url) for u in stored['caches'][0][1]),
           f'caches: {stored["caches"]}')
    cached = {u[len(url):] for u in stored['caches'][0][1]}
    expect({'', 'index.html', 'app.js', 'velmora.js', 'velmora.wasm', 'manifest.webmanifest'} <= cached,
           f'cached only {sorted(cached)}')


def check_offline(browser, site):
    site.stop()
    try:
        urllib.request.urlopen(site.url, timeout=5)
        raise AssertionError('the server still answers')
    except OSError:
        pass
    state = load(browser)
    b = browser
    b.call('Input.dispatchMouseEvent', type='mousePressed', x=state['left'] + 15, y=state['top'] + 25,
           button='left', buttons=1, clickCount=1)
    b.call('Input.dispatchMouseEvent', type='mouseReleased', x=state['left'] + 15, y=state['top'] + 25,
           button='left', buttons=0, clickCount=1)
    state = poll('the Ace of Clubs played', lambda: (s := b.js(PAGE_STATE))['played'] == [0] and s)
    compare_board(b.screenshot(), (round(state['left']), round(state['top'])), 1, Board.expected(reference, [0]),
                  css_color(state['background']))


def check_no_foreign_request(browser, url):
    browser.pump()
    urls = [e['params']['request']['url'] for e in browser.events if e.get('method') == 'Network.requestWillBeSent']
    expect(urls, 'no requests seen')
    foreign = [u for u in urls if not u.startswith(url)]
    expect(not foreign, f'requests to other origins: {foreign}')


def main():
    checks = Checks()
    with Site(site_dir) as site, Chromium() as browser:
        browser.call('Network.enable')
        browser.call('Emulation.setDeviceMetricsOverride', width=800, height=600, deviceScaleFactor=1,
                     mobile=False)
        checks.run('installable, service worker in control', check_installable, browser, site.url)
        checks.run('nothing stored but the site\'s own files', check_nothing_stored, browser, site.url)
        checks.run('opens and plays with the server stopped', check_offline, browser, site)
        checks.run('no request to another origin', check_no_foreign_request, browser, site.url)
    checks.exit()


if __name__ == '__main__':
    main()
