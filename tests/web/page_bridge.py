#!/usr/bin/python3
# The browser's hands and eyes for the web harness: `page_bridge.py SITE HARNESS ARGS...`
# serves the built site on 127.0.0.1, starts headless Chromium through WebDriver, then
# runs the harness (scenarios_web_test.cpp) and answers its commands, one a line ("get
# QUERY", "key NAME COUNT", "click SELECTOR", "js|poll EXPRESSION") from the pipe named
# in WEB_BRIDGE, answering on its standard input. `page_bridge.py SITE --accessibility`
# checks what a screen reader gets.
import functools, http.server, os, subprocess, sys, tempfile, threading
from selenium import webdriver
from selenium.webdriver import ActionChains, Keys
from selenium.webdriver.support.ui import WebDriverWait

# Selenium's names of the keys the tables name, where they differ (Home, End, Tab, F10, Space do not).
KEYS = {'Enter': 'RETURN', 'Down': 'ARROW_DOWN', 'KP2': 'NUMPAD2', 'Ins': 'INSERT', 'BS': 'BACKSPACE', 'Del': 'DELETE',
        'Left': 'ARROW_LEFT', 'Right': 'ARROW_RIGHT', 'PgUp': 'PAGE_UP', 'PgDn': 'PAGE_DOWN', 'Esc': 'ESCAPE',
        'Ctrl+': 'ADD', 'Ctrl-': 'SUBTRACT'}


class Files(http.server.SimpleHTTPRequestHandler):
    def translate_path(self, path):
        full = super().translate_path(path)
        allowed = (os.path.abspath(sys.argv[1]) + os.sep, tempfile.gettempdir() + os.sep)
        return full if full.startswith(allowed) else '/nonexistent'


def browser():
    # The site's files and a test's own images in its scratch folder, by their paths,
    # to this machine only; nothing else of the file system.
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Files, directory='/'))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for flag in ('headless=new', 'no-sandbox', 'disable-gpu', 'disable-background-networking',
                 'disable-component-update', 'disable-sync', 'no-first-run', 'window-size=1000,800'):
        options.add_argument('--' + flag)  # chromedriver gives it a fresh profile of its own
    driver = webdriver.Chrome(service=webdriver.chrome.service.Service('/usr/bin/chromedriver'), options=options)
    return driver, 'http://127.0.0.1:%d%s/' % (server.server_address[1], os.path.abspath(sys.argv[1]))


def act(driver, address, command, arg):
    keys = ActionChains(driver)
    if command == 'get':
        driver.get(address + arg)
    elif command in ('js', 'poll'):  # poll: the expression's value once it is true, waited for
        run = lambda d: d.execute_script('return ' + arg)
        return str(run(driver) if command == 'js' else WebDriverWait(driver, 10, 0.02).until(run)).replace('\n', '\\n')
    elif command == 'click':
        keys.click(driver.find_element('css selector', arg)).perform()
    elif command == 'key':  # a held key's repeats are key-downs of their own
        name, count = arg.split(' ')
        key = getattr(Keys, KEYS.get(name, name.upper()), name)  # a character types itself
        [keys.key_down(down) for down in [Keys.CONTROL] * name.startswith('Ctrl') + [key] * int(count)]
        keys.key_up(key).key_up(Keys.CONTROL).perform()
    return 'ok'


def serve(driver, address):
    commands, harness_end = os.pipe()
    harness = subprocess.Popen(sys.argv[2:], stdin=subprocess.PIPE, bufsize=0, pass_fds=[harness_end],
                               env=dict(os.environ, WEB_BRIDGE=str(harness_end)))
    os.close(harness_end)
    for line in os.fdopen(commands, 'rb'):
        command, _, arg = line.decode('latin-1').rstrip('\n').partition(' ')
        try:
            said = act(driver, address, command, arg)
        except Exception as error:  # the harness fails the step with it
            said = 'error ' + (str(error).splitlines() or [''])[0]
        harness.stdin.write(said.encode('latin-1', 'replace') + b'\n')
    return harness.wait()


# Every canvas reaches the tree as an image named as its picture (the clock too, as it
# changes); a scored guess is told in the live region, the clocks never are.
def accessibility(driver, address):
    act(driver, address, 'get', '?test&secret=1234&start=2026-03-05 10:00:00.000')
    act(driver, address, 'poll', 'Indovina.state().ready')
    for key in ['1', '2', '4', '3', 'Enter']:
        act(driver, address, 'key', key + ' 1')
    act(driver, address, 'js', 'Indovina.advance(1000) || Indovina.tick()')
    nodes = driver.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes']
    images = [n.get('name', {}).get('value') for n in nodes if n.get('role', {}).get('value') == 'image']
    told = act(driver, address, 'js', 'document.querySelector("[aria-live]").textContent')
    labels = driver.execute_script('return Array.from(document.querySelectorAll("canvas"), c => c.ariaLabel)')
    problems = ['canvas "%s" is no image of that name' % label for label in labels if label not in images]
    problems += [] if '2 quadrati, 2 cerchi' in told else ['the answer was not told: ' + told]
    problems += ['a clock was told: ' + told] if 'ore ' in told or 'secondi' in told else []
    print('\n'.join(problems) or 'names and announcements as a screen reader should get them')
    return 1 if problems else 0


if __name__ == '__main__':
    driver, address = browser()
    try:
        sys.exit((accessibility if sys.argv[2:] == ['--accessibility'] else serve)(driver, address))
    finally:
        driver.quit()
