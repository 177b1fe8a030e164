#!/usr/bin/python3
"""Figures of the browser game (build/web/site) in headless Chromium, against an empty
page with one canvas: the bytes of a first visit, navigation start to the first board
frame, key to screen and the renderer's CPU while the clock runs. Prints a Markdown
table; run after `cmake --build --preset web`."""
import functools, gzip, http.server, os, statistics, sys, tempfile, threading, time
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SITE = os.path.join(ROOT, 'build', 'web', 'site')
# What a first visit fetches: the page, its script and style, the game, the marks, the fonts.
PROFILE = tempfile.TemporaryDirectory()  # a fresh browser profile, gone at the end
PARTS = ['index.html', 'indovina.css', 'indovina.js', 'indovina-wasm.js', 'indovina-wasm.wasm', 'q.bmp', 'c.bmp',
         'fonts/LiberationSerif-Regular.woff2', 'fonts/FreeMono.woff2', 'fonts/OCRB.woff2']


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve():
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Quiet, directory=ROOT))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return 'http://127.0.0.1:%d/' % server.server_address[1]


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for flag in ('headless=new', 'no-sandbox', 'disable-gpu', 'disable-background-networking', 'disable-component-update',
                 'disable-sync', 'no-first-run', 'window-size=1000,800', 'user-data-dir=' + PROFILE.name):
        options.add_argument('--' + flag)
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


def first_frame(driver, url):
    """Navigation start to the mark the page sets on its first frame with the board, in ms."""
    driver.execute_cdp_cmd('Network.clearBrowserCache', {})
    driver.get(url)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        marks = driver.execute_script("return performance.getEntriesByName('indovina-first-board-frame').map(m => m.startTime)")
        if marks:
            return marks[0]
        time.sleep(0.01)
    raise RuntimeError('no first frame on ' + url)


def key_to_screen(driver, presses):
    """From a key's event time to the end of the frame that shows what it did, in ms."""
    driver.execute_script("""window.keyTimes = [];
        addEventListener('keydown', e => requestAnimationFrame(() => setTimeout(() =>
            keyTimes.push(performance.now() - e.timeStamp))));""")
    for i in range(presses):
        ActionChains(driver).send_keys('5' if i % 2 == 0 else Keys.BACKSPACE).perform()
    time.sleep(0.5)
    return statistics.median(driver.execute_script('return keyTimes'))


def renderer_ticks():
    """utime + stime of every Chromium renderer process, in clock ticks."""
    total = 0
    for pid in filter(str.isdigit, os.listdir('/proc')):
        try:
            with open('/proc/%s/cmdline' % pid, 'rb') as f:
                if b'--type=renderer' not in f.read():
                    continue
            with open('/proc/%s/stat' % pid) as f:
                fields = f.read().rsplit(')', 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except OSError:
            pass
    return total


def idle_cpu(seconds=10):
    before, start = renderer_ticks(), time.monotonic()
    time.sleep(seconds)
    return 100.0 * (renderer_ticks() - before) / os.sysconf('SC_CLK_TCK') / (time.monotonic() - start)


def main():
    rows = []
    total_raw = total_gzip = 0
    for part in PARTS:
        data = open(os.path.join(SITE, part), 'rb').read()
        packed = len(gzip.compress(data, 6))
        total_raw, total_gzip = total_raw + len(data), total_gzip + packed
        rows.append('| %s | %.1f KiB | %.1f KiB |' % (part, len(data) / 1024, packed / 1024))
    address = serve()
    game, empty = address + 'build/web/site/index.html', address + 'bench/web_empty.html'
    driver = browser()
    try:
        times = {url: [] for url in (game, empty)}
        for _ in range(9):
            for url in times:
                times[url].append(first_frame(driver, url))
        starts = {url: statistics.median(t) for url, t in times.items()}
        driver.get(game)
        first_frame(driver, game)
        key = key_to_screen(driver, 60)
        driver.get(game)
        first_frame(driver, game)
        game_cpu = idle_cpu()
        driver.get(empty)
        first_frame(driver, empty)
        empty_cpu = idle_cpu()
        driver.get(empty + '?tick')
        first_frame(driver, empty + '?tick')
        ticking_cpu = idle_cpu()
    finally:
        driver.quit()
    load = ' '.join(open('/proc/loadavg').read().split()[:3])
    print('Measured %s on %d cores, %s, load average %s.\n' % (
        time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime()), os.cpu_count(), driver_version(), load))
    print('| Figure | Game | Empty page, one canvas | Ratio | Goal |\n| --- | ---: | ---: | ---: | --- |')
    print('| First visit, gzip level 6 (fonts included) | %.1f KiB (%.1f KiB unpacked) | | | under 200 KiB |' % (total_gzip / 1024, total_raw / 1024))
    print('| Navigation start to the first board frame (median of 9, cache cleared) | %.1f ms | %.1f ms | %.2f | within 1.5 |' % (
        starts[game], starts[empty], starts[game] / starts[empty]))
    print('| Key to screen, a digit or Backspace into a field (median of 60) | %.2f ms | | | under 16.7 ms |' % key)
    print('| Renderer CPU over 10 s, clock running (empty page: a text redrawn every 100 ms) | %.2f %% of one core | %.2f %% | %.2f | |' % (
        game_cpu, ticking_cpu, game_cpu / ticking_cpu if ticking_cpu else 0))
    print('| Renderer CPU over 10 s, the empty page idle | | %.2f %% | | |' % empty_cpu)
    print('\n| Part of a first visit | Size | gzip |\n| --- | ---: | ---: |\n' + '\n'.join(rows))


def driver_version():
    return os.popen('/usr/bin/chromium --version 2>/dev/null').read().strip() or 'Chromium'


if __name__ == '__main__':
    sys.exit(main())
