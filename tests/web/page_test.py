"""The browser edition in headless Chromium, driven with real keys and clicks.

Usage: page_test.py SITE_DIR LINUX_STORY_FILE
"""
import functools
import http.server
import pathlib
import re
import sys
import tempfile
import threading
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ROOT = pathlib.Path(__file__).resolve().parents[2]
SITE = LINUX_STORY = None
ID = {m[1]: int(m[2]) for m in re.finditer(r'constexpr int (\w+) = (\d+);',
                                           (ROOT / 'src/res/resource_ids.h').read_text())}
# The clock and the steps of tests/support/story.h, which the desktop programs are told.
_STORY = (ROOT / 'tests/support/story.h').read_text()
CLOCK = re.search(r'kClock = "([^"]+)"', _STORY)[1]
STEPS = [(act, ID[name], bytes(arg, 'ascii').decode('unicode_escape'))
         for act, name, arg in re.findall(r'\{Act::(\w+), res::(\w+), "([^"]*)"\}', _STORY)]


# The site's files with the types a browser insists on, and no log of each request.
class _Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json'}

    def log_message(self, *args):
        pass


class Page(unittest.TestCase):
    def setUp(self):
        # The site on a free port of 127.0.0.1, served by the test itself.
        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0),
                                                 functools.partial(_Quiet, directory=str(SITE)))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        self.url = f'http://127.0.0.1:{server.server_address[1]}/'
        # Saves take the download path: the File System Access API is hidden before any script.
        # The file input stays in the page: the tests set its files, no chooser opens.
        self.downloads = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory()))
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for flag in ('--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
                     '--window-size=1024,900', '--disable-dev-shm-usage'):
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        self.addCleanup(self.driver.quit)
        cdp = self.driver.execute_cdp_cmd
        cdp('Page.addScriptToEvaluateOnNewDocument',
            {'source': 'delete window.showSaveFilePicker;'})
        cdp('Browser.setDownloadBehavior',
            {'behavior': 'allow', 'downloadPath': str(self.downloads)})
        cdp('Page.setInterceptFileChooserDialog', {'enabled': True})
        self.open()

    def open(self):
        self.driver.get(self.url + '?clock=' + CLOCK.replace(' ', '%20'))
        self.wait(lambda d: d.find_elements(By.CSS_SELECTOR, '[data-control-id="1000"]'), 20)

    def wait(self, until, timeout=10):
        return WebDriverWait(self.driver, timeout).until(until)

    # --- What the user sees and does ---------------------------------------------------------
    def control(self, cid):
        return self.driver.find_element(By.CSS_SELECTOR, f'[data-control-id="{cid}"]')

    def field(self, cid):  # a combo box's field, or the control itself
        el = self.control(cid)
        return (el.find_elements(By.CSS_SELECTOR, '[role=combobox]') or [el])[0]

    def shown(self, cid):
        f = self.field(cid)
        return f.get_property('value') if f.tag_name == 'input' else f.text

    def click(self, cid, x=6):
        """A click near the left end of a control (its box or its text)."""
        el = self.control(cid)
        ActionChains(self.driver).move_to_element_with_offset(
            el, x - el.size['width'] // 2, 0).click().perform()

    def keys(self, *keys):
        """Key presses in turn."""
        for key in keys:
            ActionChains(self.driver).send_keys(key).perform()

    def message(self):
        """The message box's title and text, answered with OK."""
        box = self.wait(lambda d: d.find_elements(By.CSS_SELECTOR, '[role=alertdialog]'))[0]
        title = self.driver.find_element(By.ID, box.get_attribute('aria-labelledby')).text
        text = box.find_element(By.CSS_SELECTOR, '.msgtext').text
        box.find_element(By.CSS_SELECTOR, '.msgbuttons button').click()
        self.wait(lambda d: not d.find_elements(By.CSS_SELECTOR, '[role=alertdialog]'))
        self.assertEqual(title, 'ostrova-settings')
        return text

    def load(self, data, name):
        path = self.downloads / ('in-' + name)
        path.write_bytes(data)
        self.click(ID['IDC_BTN_LOAD'], x=20)
        self.driver.find_element(By.ID, 'load-file').send_keys(str(path))

    def tell(self, act, cid, text):
        """A step of the story, seen to take effect (a disabled control takes none)."""
        if act == 'Click':
            was = self.control(cid).get_attribute('aria-checked')
            self.click(cid)
            self.assertNotEqual(self.control(cid).get_attribute('aria-checked'), was, cid)
            return
        self.field(cid).click()
        if act == 'Type':
            select_all = ActionChains(self.driver).key_down(Keys.CONTROL).send_keys('a')
            select_all.key_up(Keys.CONTROL).perform()
            self.keys(*text)
        while act == 'Pick' and self.shown(cid) != text:  # down the list to the entry
            was = self.shown(cid)
            self.keys(Keys.ARROW_DOWN)
            self.assertNotEqual(self.shown(cid), was, f'stopped at {was}')
        self.assertEqual(self.shown(cid), text)

    # --- The tests ----------------------------------------------------------------------------
    def test_story_saves_what_the_linux_program_saves_and_the_next_visit_starts_there(self):
        for step in STEPS:
            self.tell(*step)
        self.click(ID['IDC_BTN_SAVE'], x=20)
        self.assertEqual(self.message(), 'Save wireless.cfg OK!')
        saved = self.downloads / 'wireless.cfg'
        self.wait(lambda d: saved.exists() and not any(self.downloads.glob('*.crdownload')))
        self.assertEqual(saved.read_bytes(), LINUX_STORY.read_bytes())
        # No request left the page's own origin.
        urls = self.driver.execute_script(
            "return performance.getEntriesByType('resource').map((e) => e.name)")
        self.assertTrue(urls and all(u.startswith(self.url) for u in urls), urls)
        # Once the page's worker runs, the next visit works offline and starts from the
        # settings this browser saved last.
        self.wait(lambda d: d.execute_script(
            'return !!navigator.serviceWorker.controller || (location.reload(), false)'))
        self.driver.execute_cdp_cmd('Network.enable', {})
        self.driver.execute_cdp_cmd('Network.emulateNetworkConditions', {
            'offline': True, 'latency': 0, 'downloadThroughput': 0, 'uploadThroughput': 0})
        self.open()
        self.assertEqual(self.shown(ID['IDC_EDIT_IMAGEFROM']), 'Caf\u00e9 \u20ac 1')

    def test_a_loaded_file_is_shown_and_changed_through_an_open_list_and_a_broken_one_refused(self):
        cfg = LINUX_STORY.read_bytes()
        self.load(cfg, 'wireless.cfg')
        cid = ID['IDC_COMBO_IMAGEQUALITY']
        self.wait(lambda d: self.shown(cid) == 'High')
        # What a screen reader is told: each control's role and the Linux program's name for it.
        nodes = self.driver.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes']
        seen = {(n.get('role', {}).get('value'), n.get('name', {}).get('value')) for n in nodes}
        self.assertLessEqual({('radio', 'Instant'), ('checkbox', 'Status Response'),
                              ('textbox', 'Hour'), ('combobox', 'Country'),
                              ('group', 'Send Mode')}, seen)
        # Opened with the mouse, the list follows the arrows; Enter goes through the page to the
        # dialog, which closes the list with the entry reached.
        self.control(cid).find_element(By.CSS_SELECTOR, '.drop').click()
        self.assertEqual(self.field(cid).get_attribute('aria-expanded'), 'true')
        self.keys(Keys.ARROW_DOWN, Keys.ENTER)
        self.assertEqual((self.field(cid).get_attribute('aria-expanded'), self.shown(cid)),
                         ('false', 'Original'))
        # A broken file is refused with the loader's message.
        self.load(cfg[:100] + bytes([cfg[100] ^ 0x20]) + cfg[101:], 'wireless.cfg')
        self.assertEqual(self.message(), 'File Checksum Error!')


if __name__ == '__main__':
    SITE, LINUX_STORY = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
