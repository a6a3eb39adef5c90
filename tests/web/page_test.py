"""The browser edition in headless Chromium, driven with real keys and clicks.

Usage: page_test.py SITE_DIR LINUX_STORY_FILE
"""
import os
import pathlib
import re
import sys
import tempfile
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

import browser

ROOT = pathlib.Path(__file__).resolve().parents[2]
SITE = LINUX_STORY = None


def ids():
    text = (ROOT / 'src/res/resource_ids.h').read_text()
    return {m[1]: int(m[2]) for m in re.finditer(r'constexpr int (\w+) = (\d+);', text)}


ID = ids()


def story():
    """The steps and the clock of tests/support/story.h, which the desktop programs are told."""
    text = (ROOT / 'tests/support/story.h').read_text()
    clock = re.search(r'kClock = "([^"]+)"', text)[1]
    steps = [(act, ID[name], bytes(arg, 'ascii').decode('unicode_escape'))
             for act, name, arg in re.findall(r'\{Act::(\w+), res::(\w+), "([^"]*)"\}', text)]
    return clock, steps


class Page(unittest.TestCase):
    def setUp(self):
        self.downloads = pathlib.Path(tempfile.mkdtemp(prefix='ostrova-web-'))
        self.server = browser.serve(SITE)
        self.url = self.server.__enter__()
        self.driver = browser.chromium(downloads=self.downloads)
        self.clock = story()[0]
        self.open()

    def tearDown(self):
        self.driver.quit()
        self.server.__exit__(None, None, None)

    def open(self):
        self.driver.get(self.url + '?clock=' + self.clock.replace(' ', '%20'))
        browser.wait_for_form(self.driver)

    # --- What the user sees and does ---------------------------------------------------------
    def control(self, cid):
        return self.driver.find_element(By.CSS_SELECTOR, f'[data-control-id="{cid}"]')

    def field(self, cid):
        el = self.control(cid)
        boxes = el.find_elements(By.CSS_SELECTOR, '[role=combobox]')
        return boxes[0] if boxes else el

    def shown(self, cid):
        f = self.field(cid)
        return f.get_property('value') if f.tag_name == 'input' else f.text

    def state(self, el):
        return self.driver.execute_script(
            'const e = arguments[0]; return [e.value, e.selectionStart, e.selectionEnd];', el)

    def click(self, cid, x=6):
        el = self.control(cid)
        ActionChains(self.driver).move_to_element_with_offset(
            el, x - el.size['width'] // 2, 0).click().perform()

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def chord(self, modifier, key):
        ActionChains(self.driver).key_down(modifier).send_keys(key).key_up(modifier).perform()

    def message(self, timeout=10):
        """The message box's text, answered with OK."""
        box = WebDriverWait(self.driver, timeout).until(
            lambda d: d.find_elements(By.CSS_SELECTOR, '[role=alertdialog]'))[0]
        text = box.find_element(By.CSS_SELECTOR, '.msgtext').text
        box.find_element(By.CSS_SELECTOR, '.msgbuttons button').click()
        WebDriverWait(self.driver, timeout).until(
            lambda d: not d.find_elements(By.CSS_SELECTOR, '[role=alertdialog]'))
        return text

    def downloaded(self, name, timeout=10):
        path = self.downloads / name
        WebDriverWait(self.driver, timeout).until(
            lambda d: path.exists() and not any(self.downloads.glob('*.crdownload')))
        return path.read_bytes()

    def load(self, data, name):
        path = self.downloads / ('in-' + name)
        path.parent.mkdir(exist_ok=True)
        path.write_bytes(data)
        self.click(ID['IDC_BTN_LOAD'], x=20)
        self.driver.find_element(By.ID, 'load-file').send_keys(str(path))

    def tell(self, act, cid, text):
        el = self.field(cid)
        self.assertTrue(el.is_enabled(), cid)
        if act == 'Click':
            was = self.control(cid).get_attribute('aria-checked')
            self.click(cid)
            self.assertNotEqual(self.control(cid).get_attribute('aria-checked'), was, cid)
        elif act == 'Type':
            ActionChains(self.driver).click(el).perform()
            self.chord(Keys.CONTROL, 'a')
            for ch in text:
                self.keys(ch)
            self.assertEqual(self.shown(cid), text)
        else:
            ActionChains(self.driver).click(el).perform()
            for _ in range(200):
                if self.shown(cid) == text:
                    break
                was = self.shown(cid)
                self.keys(Keys.ARROW_DOWN)
                self.assertNotEqual(self.shown(cid), was, f'stopped at {was}')
            self.assertEqual(self.shown(cid), text)

    # --- The tests ----------------------------------------------------------------------------
    def test_story_saves_what_the_linux_program_saves(self):
        for step in story()[1]:
            self.tell(*step)
        self.click(ID['IDC_BTN_SAVE'], x=20)
        self.assertEqual(self.message(), 'Save wireless.cfg OK!')
        self.assertEqual(self.downloaded('wireless.cfg'), LINUX_STORY.read_bytes())
        # The next visit starts from the settings this browser saved last.
        self.open()
        self.assertEqual(self.shown(ID['IDC_EDIT_PHONE1']), '4670123456')
        self.assertEqual(self.shown(ID['IDC_EDIT_IMAGEFROM']), 'Caf\u00e9 \u20ac 1')
        # No request left the page's own origin.
        urls = self.driver.execute_script(
            "return performance.getEntriesByType('resource').map((e) => e.name)")
        self.assertTrue(urls and all(u.startswith(self.url) for u in urls), urls)

    def test_edits_agree_with_a_plain_input(self):
        oracle = self.driver.execute_script(
            "const i = document.createElement('input'); i.id = 'oracle';"
            "i.style.cssText = 'position:fixed;right:0;bottom:0;width:200px';"
            "document.body.append(i); return i;")
        self.click(ID['IDC_RADIO_DAILY'])
        self.click(ID['IDC_RADIO_INTERNET'])
        edit = self.field(ID['IDC_EDIT_IMAGEFROM'])
        # Each row: keys for both fields, from the same start.
        rows = [
            ['abc', (Keys.CONTROL, 'a'), 'xy'],                    # select all and retype
            ['000', Keys.LEFT, Keys.LEFT, '0', Keys.BACKSPACE, Keys.BACKSPACE, '00'],  # runs
            ['aaaa', Keys.HOME, (Keys.SHIFT, Keys.RIGHT), 'a', Keys.DELETE, Keys.END, 'a'],
            ['abc', Keys.LEFT, (Keys.SHIFT, Keys.LEFT), (Keys.SHIFT, Keys.LEFT), 'bb'],
            ['one two', (Keys.CONTROL, Keys.BACKSPACE), 'x'],
            ['abc', (Keys.CONTROL, 'z')],                          # undo a run of typing
            ['abc', (Keys.CONTROL, 'z'), (Keys.CONTROL, 'y')],     # and redo it
        ]
        for row in rows:
            results = []
            for target in (edit, oracle):
                ActionChains(self.driver).click(target).perform()
                self.chord(Keys.CONTROL, 'a')
                self.keys(Keys.DELETE)
                for key in row:
                    if isinstance(key, tuple):
                        self.chord(*key)
                    else:
                        self.keys(key)
                results.append(self.state(target))
            self.assertEqual(results[0], results[1], row)

        # A refused character over a selection changes nothing: text, caret and selection stay.
        self.click(ID['IDC_RADIO_INSTANT'])
        maxnum = self.field(ID['IDC_EDIT_MAXNUM'])
        ActionChains(self.driver).click(maxnum).perform()
        self.chord(Keys.CONTROL, 'a')
        self.keys('1', '2', '3', Keys.LEFT)
        self.chord(Keys.SHIFT, Keys.LEFT)
        before = self.state(maxnum)
        self.assertEqual(before, ['123', 1, 2])
        self.keys('x')
        self.assertEqual(self.state(maxnum), before)
        self.keys('7')
        self.assertEqual(self.state(maxnum), ['173', 2, 2])

    def test_load_reads_both_forms_and_refuses_a_broken_file(self):
        cfg = LINUX_STORY.read_bytes()
        self.load(cfg, 'wireless.cfg')
        WebDriverWait(self.driver, 10).until(
            lambda d: self.shown(ID['IDC_EDIT_PHONE1']) == '4670123456')
        self.assertEqual(self.shown(ID['IDC_COMBO_FILETYPE']), 'wireless.cfg')

        broken = bytearray(cfg)
        broken[100] ^= 0x20
        self.load(bytes(broken), 'wireless.cfg')
        self.assertEqual(self.message(), 'File Checksum Error!')

        # An MMSCFG.BIN of version 1, made here: Daily Report at 07:45, one phone number.
        old = bytearray(868)
        old[0], old[1], old[5], old[6] = 1, 1, 7, 45
        old[20:30] = b'4915550000'
        self.load(bytes(old), 'MMSCFG.BIN')
        self.assertEqual(self.message(), 'file is created by an old version tool, it will be '
                                         'translated to new version automatically! ')
        self.assertEqual([self.shown(ID[i]) for i in ('IDC_EDIT_PHONE1', 'IDC_EDIT_HOUR',
                                                      'IDC_EDIT_MAXNUM', 'IDC_COMBO_FILETYPE')],
                         ['4915550000', '7', '50', 'MMSCFG.BIN'])

    def test_keyboard_and_screen_reader_see_the_linux_programs_form(self):
        d = self.driver
        nodes = d.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes']
        seen = {(n.get('role', {}).get('value'), n.get('name', {}).get('value')) for n in nodes}
        for expected in [('radio', 'Instant'), ('checkbox', 'Status Response'),
                         ('button', 'Save as...'), ('textbox', 'Hour'), ('combobox', 'Country'),
                         ('textbox', 'Phone1'), ('group', 'Send Mode'),
                         ('dialog', 'Ostrova+ v0.8')]:
            self.assertIn(expected, seen)
        # Arrows walk the radio group and check what they reach; Tab leaves it.
        active = lambda: d.switch_to.active_element.get_attribute('data-control-id')
        self.click(ID['IDC_RADIO_DAILY'])
        self.keys(Keys.ARROW_UP)  # over Max Num, disabled for a daily report
        self.assertEqual(active(), str(ID['IDC_RADIO_INSTANT']))
        self.assertEqual(self.control(ID['IDC_RADIO_INSTANT']).get_attribute('aria-checked'), 'true')
        self.keys(Keys.TAB)
        self.assertEqual(active(), str(ID['IDC_EDIT_MAXNUM']))
        # The About box from the title bar's menu; Escape closes it and the focus comes back.
        d.find_element(By.CSS_SELECTOR, '.sysmenu-button').click()
        d.find_element(By.CSS_SELECTOR, '[role=menuitem]').click()
        about = WebDriverWait(d, 5).until(
            lambda d: d.find_elements(By.CSS_SELECTOR, '.layer.modal.shown [role=dialog]'))[0]
        self.assertEqual(about.get_attribute('aria-modal'), 'true')
        self.keys(Keys.ESCAPE)
        WebDriverWait(d, 5).until(lambda d: not d.find_elements(By.CSS_SELECTOR, '.layer.modal.shown'))
        self.assertEqual(active(), str(ID['IDC_EDIT_MAXNUM']))
        # The message box is named with the application's name.
        self.click(ID['IDC_BTN_SAVE'], x=20)
        box = WebDriverWait(d, 5).until(lambda d: d.find_elements(By.CSS_SELECTOR, '[role=alertdialog]'))[0]
        self.assertEqual(d.execute_script(
            "return document.getElementById(arguments[0].getAttribute('aria-labelledby')).textContent",
            box), 'ostrova-settings')
        self.keys(Keys.ENTER)
        WebDriverWait(d, 5).until(lambda d: not d.find_elements(By.CSS_SELECTOR, '[role=alertdialog]'))

    def test_works_offline_after_the_first_visit(self):
        d = self.driver
        WebDriverWait(d, 10).until(lambda d: d.execute_script(
            'return !!navigator.serviceWorker.controller || (location.reload(), false)'))
        browser.wait_for_form(d)
        d.execute_cdp_cmd('Network.enable', {})
        d.execute_cdp_cmd('Network.emulateNetworkConditions', {
            'offline': True, 'latency': 0, 'downloadThroughput': 0, 'uploadThroughput': 0})
        self.open()
        self.assertEqual(self.shown(ID['IDC_COMBO_FILETYPE']), 'wireless.cfg')


if __name__ == '__main__':
    SITE, LINUX_STORY = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    result = unittest.main(argv=sys.argv[:1] + sys.argv[3:], exit=False, verbosity=2).result
    failed = len(result.failures) + len(result.errors)
    print(f'web: {result.testsRun - failed} passed, {failed} failed')
    sys.exit(1 if failed else 0)
