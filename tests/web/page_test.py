"""The browser edition in headless Chromium, driven with real keys and clicks.

Usage: page_test.py SITE_DIR LINUX_STORY_FILE
"""
import pathlib
import re
import sys
import tempfile
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

import browser

ROOT = pathlib.Path(__file__).resolve().parents[2]
SITE = LINUX_STORY = None
ID = {m[1]: int(m[2]) for m in re.finditer(r'constexpr int (\w+) = (\d+);',
                                           (ROOT / 'src/res/resource_ids.h').read_text())}
# The clock and the steps of tests/support/story.h, which the desktop programs are told.
_STORY = (ROOT / 'tests/support/story.h').read_text()
CLOCK = re.search(r'kClock = "([^"]+)"', _STORY)[1]
STEPS = [(act, ID[name], bytes(arg, 'ascii').decode('unicode_escape'))
         for act, name, arg in re.findall(r'\{Act::(\w+), res::(\w+), "([^"]*)"\}', _STORY)]


class Page(unittest.TestCase):
    def setUp(self):
        self.downloads = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory()))
        self.url = self.enterContext(browser.serve(SITE))
        self.driver = browser.chromium(downloads=self.downloads)
        self.addCleanup(self.driver.quit)
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

    def state(self, el):
        return self.driver.execute_script(
            'const e = arguments[0]; return [e.value, e.selectionStart, e.selectionEnd];', el)

    def click(self, target, x=6):
        """A click on an element, or near the left end of a control (its box or its text)."""
        if not isinstance(target, int):
            return ActionChains(self.driver).click(target).perform()
        el = self.control(target)
        ActionChains(self.driver).move_to_element_with_offset(
            el, x - el.size['width'] // 2, 0).click().perform()

    def keys(self, *keys):
        """Key presses in turn; a tuple is a chord, its first key held down around the other."""
        for key in keys:
            chain = ActionChains(self.driver)
            if isinstance(key, tuple):
                chain.key_down(key[0]).send_keys(key[1]).key_up(key[0])
            else:
                chain.send_keys(key)
            chain.perform()

    def message(self):
        """The message box's title and text, answered with OK."""
        box = self.wait(lambda d: d.find_elements(By.CSS_SELECTOR, '[role=alertdialog]'))[0]
        title = self.driver.execute_script(
            "return document.getElementById(arguments[0].getAttribute('aria-labelledby'))"
            ".textContent", box)
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
        """A step of the story, seen to take effect."""
        self.assertTrue(self.field(cid).is_enabled(), cid)
        if act == 'Click':
            was = self.control(cid).get_attribute('aria-checked')
            self.click(cid)
            self.assertNotEqual(self.control(cid).get_attribute('aria-checked'), was, cid)
            return
        self.click(self.field(cid))
        if act == 'Type':
            self.keys((Keys.CONTROL, 'a'), *text)
        while act == 'Pick' and self.shown(cid) != text:  # down the list to the entry
            was = self.shown(cid)
            self.keys(Keys.ARROW_DOWN)
            self.assertNotEqual(self.shown(cid), was, f'stopped at {was}')
        self.assertEqual(self.shown(cid), text)

    # --- The tests ----------------------------------------------------------------------------
    def test_story_saves_what_the_linux_program_saves(self):
        for step in STEPS:
            self.tell(*step)
        self.click(ID['IDC_BTN_SAVE'], x=20)
        self.assertEqual(self.message(), 'Save wireless.cfg OK!')
        saved = self.downloads / 'wireless.cfg'
        self.wait(lambda d: saved.exists() and not any(self.downloads.glob('*.crdownload')))
        self.assertEqual(saved.read_bytes(), LINUX_STORY.read_bytes())
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
            "const i = document.createElement('input');"
            "i.style.cssText = 'position:fixed;right:0;bottom:0;width:200px';"
            "document.body.append(i); return i;")
        self.click(ID['IDC_RADIO_DAILY'])
        self.click(ID['IDC_RADIO_INTERNET'])
        edit = self.field(ID['IDC_EDIT_IMAGEFROM'])
        # Each row: keys for both fields, from the same empty start.
        for row in [
            ['abc', (Keys.CONTROL, 'a'), 'xy'],                    # select all and retype
            ['000', Keys.LEFT, Keys.LEFT, '0', Keys.BACKSPACE, Keys.BACKSPACE, '00'],  # runs
            ['aaaa', Keys.HOME, (Keys.SHIFT, Keys.RIGHT), 'a', Keys.DELETE, Keys.END, 'a'],
            ['abc', Keys.LEFT, (Keys.SHIFT, Keys.LEFT), (Keys.SHIFT, Keys.LEFT), 'bb'],
            ['one two', (Keys.CONTROL, Keys.BACKSPACE), 'x'],
            ['abc', (Keys.CONTROL, 'z')],                          # undo a run of typing
            ['abc', (Keys.CONTROL, 'z'), (Keys.CONTROL, 'y')],     # and redo it
        ]:
            results = []
            for target in (edit, oracle):
                self.click(target)
                self.keys((Keys.CONTROL, 'a'), Keys.DELETE, *row)
                results.append(self.state(target))
            self.assertEqual(results[0], results[1], row)

        # A refused character over a selection changes nothing: text, caret and selection stay.
        self.click(ID['IDC_RADIO_INSTANT'])
        maxnum = self.field(ID['IDC_EDIT_MAXNUM'])
        self.click(maxnum)
        self.keys((Keys.CONTROL, 'a'), '1', '2', '3', Keys.LEFT, (Keys.SHIFT, Keys.LEFT), 'x')
        self.assertEqual(self.state(maxnum), ['123', 1, 2])
        self.keys('7')
        self.assertEqual(self.state(maxnum), ['173', 2, 2])

    def test_load_reads_both_forms_and_refuses_a_broken_file(self):
        cfg = LINUX_STORY.read_bytes()
        self.load(cfg, 'wireless.cfg')
        self.wait(lambda d: self.shown(ID['IDC_EDIT_PHONE1']) == '4670123456')
        self.assertEqual(self.shown(ID['IDC_COMBO_FILETYPE']), 'wireless.cfg')
        self.load(cfg[:100] + bytes([cfg[100] ^ 0x20]) + cfg[101:], 'wireless.cfg')
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
        # An arrow walks the radio group and checks what it reaches.
        active = lambda: d.switch_to.active_element.get_attribute('data-control-id')
        self.click(ID['IDC_RADIO_DAILY'])
        self.keys(Keys.ARROW_UP)  # over Max Num, disabled for a daily report
        self.assertEqual(active(), str(ID['IDC_RADIO_INSTANT']))
        self.assertEqual(self.control(ID['IDC_RADIO_INSTANT']).get_attribute('aria-checked'), 'true')
        # The About box from the title bar's menu; Escape closes it and the focus comes back.
        d.find_element(By.CSS_SELECTOR, '.sysmenu-button').click()
        d.find_element(By.CSS_SELECTOR, '[role=menuitem]').click()
        about = self.wait(
            lambda d: d.find_elements(By.CSS_SELECTOR, '.layer.modal.shown [role=dialog]'))[0]
        self.assertEqual(about.get_attribute('aria-modal'), 'true')
        self.keys(Keys.ESCAPE)
        self.wait(lambda d: not d.find_elements(By.CSS_SELECTOR, '.layer.modal.shown'))
        self.assertEqual(active(), str(ID['IDC_RADIO_INSTANT']))

    def test_works_offline_after_the_first_visit(self):
        self.wait(lambda d: d.execute_script(
            'return !!navigator.serviceWorker.controller || (location.reload(), false)'))
        self.open()
        self.driver.execute_cdp_cmd('Network.enable', {})
        self.driver.execute_cdp_cmd('Network.emulateNetworkConditions', {
            'offline': True, 'latency': 0, 'downloadThroughput': 0, 'uploadThroughput': 0})
        self.open()
        self.assertEqual(self.shown(ID['IDC_COMBO_FILETYPE']), 'wireless.cfg')


if __name__ == '__main__':
    SITE, LINUX_STORY = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    result = unittest.main(argv=sys.argv[:1] + sys.argv[3:], exit=False, verbosity=2).result
    failed = len(result.failures) + len(result.errors)
    print(f'web: {result.testsRun - failed} passed, {failed} failed')
    sys.exit(1 if failed else 0)
