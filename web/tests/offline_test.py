"""The site as an installed app in headless Chromium: installable, opening with
the server gone, storing nothing but its own files and asking no other origin.

usage: offline_test.py SITE_DIR REFERENCE_COMMAND..."""
import sys
import urllib.request

from chromium_test import Chromium
from harness import SIZES, Checks, Scenario, Site, expect, poll


def check_installable(scenario, browser):
    scenario.open(*SIZES[0])
    poll('the service worker in control', lambda: browser.js('navigator.serviceWorker.ready.then(() => '
                                                              '!!navigator.serviceWorker.controller)'))
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


def check_offline(scenario, site):
    site.stop()
    try:
        urllib.request.urlopen(site.url, timeout=5)
        raise AssertionError('the server still answers')
    except OSError:
        pass
    scenario.open(*SIZES[0])
    scenario.driver.click(scenario.picture(15, 25))
    scenario.shows([0])


def check_no_foreign_request(browser, url):
    browser.pump()
    urls = [e['params']['request']['url'] for e in browser.events if e.get('method') == 'Network.requestWillBeSent']
    expect(urls, 'no requests seen')
    foreign = [u for u in urls if not u.startswith(url)]
    expect(not foreign, f'requests to other origins: {foreign}')


def main():
    checks = Checks()
    with Site(sys.argv[1]) as site, Chromium() as browser:
        scenario = Scenario(browser, site.url, sys.argv[2:])
        browser.call('Network.enable')
        checks.run('installable, service worker in control', check_installable, scenario, browser)
        checks.run('nothing stored but the site\'s own files', check_nothing_stored, browser, site.url)
        checks.run('opens and plays with the server stopped', check_offline, scenario, site)
        checks.run('no request to another origin', check_no_foreign_request, browser, site.url)
    checks.exit()


if __name__ == '__main__':
    main()
