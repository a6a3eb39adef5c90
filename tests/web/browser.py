"""Headless Chromium on a page served from 127.0.0.1, started and stopped by the tests."""
import contextlib
import functools
import http.server
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


class _Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json'}

    def log_message(self, *args):
        pass


@contextlib.contextmanager
def serve(site):
    """The site on a free port of 127.0.0.1; yields its address."""
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0),
                                             functools.partial(_Quiet, directory=str(site)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield f'http://127.0.0.1:{server.server_address[1]}/'
    finally:
        server.shutdown()
        server.server_close()


def chromium(width=1024, height=900, downloads=None):
    """Saves take the download path: the File System Access API is hidden before any script. The
    file input stays in the page: the tests set its files, no chooser opens."""
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for flag in ('--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
                 f'--window-size={width},{height}', '--disable-dev-shm-usage'):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                           {'source': 'delete window.showSaveFilePicker;'})
    if downloads is not None:
        driver.execute_cdp_cmd('Browser.setDownloadBehavior',
                               {'behavior': 'allow', 'downloadPath': str(downloads)})
    driver.execute_cdp_cmd('Page.setInterceptFileChooserDialog', {'enabled': True})
    return driver
