"""The browser edition's weight and start: gzip transfer size of everything the page loads, and
the time from navigation to an interactive form, each beside a static HTML page of the same
controls, in the same Chromium run; and what Asyncify costs in size.

Usage: web_bench.py SITE_DIR [SITE_DIR_WITHOUT_ASYNCIFY] [RUNS]
"""
import gzip
import pathlib
import shutil
import statistics
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / 'tests/web'))
import browser  # noqa: E402

PAGE = ['index.html', 'ostrova.css', 'ostrova-settings.js', 'ostrova-settings.wasm',
        'fonts/LiberationSerif-Regular.woff2', 'fonts/LiberationSans-Regular.woff2',
        'fonts/LiberationSans-BoldItalic.woff2', 'icons/ostrova-settings-32.png',
        'manifest.webmanifest', 'sw.js']


def gz(path):
    return len(gzip.compress(path.read_bytes(), 9))


def interactive_ms(driver, url, mark):
    driver.get(url)
    for _ in range(200):
        t = driver.execute_script(
            'const m = performance.getEntriesByName(arguments[0]); return m.length ? m[0].startTime : null;',
            mark)
        if t is not None:
            return t
        driver.execute_script('return new Promise((r) => setTimeout(r, 25))')
    raise RuntimeError('the page never became interactive: ' + url)


def main():
    site = pathlib.Path(sys.argv[1])
    plain = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 and sys.argv[2] else None
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    work = pathlib.Path(tempfile.mkdtemp(prefix='ostrova-web-bench-'))
    shutil.copytree(site, work / 'site')
    with browser.serve(work / 'site') as url:
        driver = browser.chromium(width=1024, height=900)
        try:
            driver.execute_cdp_cmd('Network.enable', {})
            driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
            driver.execute_cdp_cmd('Network.setBypassServiceWorker', {'bypass': True})
            # The static page: the form as the program drew it, with no program behind it.
            interactive_ms(driver, url, 'ostrova-interactive')
            desktop = driver.execute_script("return document.getElementById('desktop').outerHTML")
            static = ('<!doctype html><html lang="en"><head><meta charset="utf-8"><title>static</title>'
                      '<link rel="stylesheet" href="ostrova.css"></head><body>' + desktop +
                      '<script>document.fonts.ready.then(() => performance.mark("static-interactive"))'
                      '</script></body></html>')
            (work / 'site/static.html').write_text(static)
            ours, theirs = [], []
            for _ in range(runs):
                ours.append(interactive_ms(driver, url, 'ostrova-interactive'))
                theirs.append(interactive_ms(driver, url + 'static.html', 'static-interactive'))
            fonts = driver.execute_script(
                "return performance.getEntriesByType('resource').length")
        finally:
            driver.quit()
    page = sum(gz(site / f) for f in PAGE)
    static_size = gz(work / 'site/static.html') + gz(site / 'ostrova.css') + sum(
        gz(site / f) for f in PAGE if f.startswith('fonts/'))
    print(f'transfer (gzip -9): page {page / 1024:.1f} KB (everything it loads), '
          f'static page of the same controls {static_size / 1024:.1f} KB')
    for f in PAGE:
        print(f'  {f}: {(site / f).stat().st_size} bytes, {gz(site / f)} gzipped')
    a, b = statistics.median(ours), statistics.median(theirs)
    print(f'navigation to interactive form (median of {runs}): page {a:.0f} ms, '
          f'static page {b:.0f} ms, ratio {a / b:.2f}')
    print(f'  (resources the page loaded after the static run: {fonts})')
    if plain:
        with_a = gz(site / 'ostrova-settings.wasm') + gz(site / 'ostrova-settings.js')
        without = gz(plain / 'ostrova-settings.wasm') + gz(plain / 'ostrova-settings.js')
        print(f'Asyncify: program {with_a / 1024:.1f} KB gzipped with it, {without / 1024:.1f} KB '
              f'without (+{100 * (with_a - without) / without:.0f}%); wasm '
              f'{(site / "ostrova-settings.wasm").stat().st_size} vs '
              f'{(plain / "ostrova-settings.wasm").stat().st_size} bytes')
    shutil.rmtree(work)


if __name__ == '__main__':
    main()
