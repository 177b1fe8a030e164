#!/usr/bin/python3
# The browser's hands and eyes for the web harness: `page_bridge.py SITE HARNESS ARGS...`
# serves the built site on 127.0.0.1, starts headless Chromium through WebDriver, then
# runs the harness (scenarios_web_test.cpp) and answers its commands, one a line ("get
# FOLDER QUERY", "key NAME COUNT", "click SELECTOR", "js|poll EXPRESSION"), over the pipes
# named in WEB_BRIDGE. `page_bridge.py SITE --accessibility` checks what a screen reader gets.
import functools, http.server, os, subprocess, sys, tempfile, threading
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

OWN = {'folder': '-'}  # a player's own images, served as /own/
PROFILE = tempfile.TemporaryDirectory()  # a fresh browser profile, gone at the end
KEYS = {'Enter': Keys.RETURN, 'Down': Keys.ARROW_DOWN, 'KP2': Keys.NUMPAD2, 'Ins': Keys.INSERT, 'BS': Keys.BACKSPACE,
        'Del': Keys.DELETE, 'Left': Keys.ARROW_LEFT, 'Right': Keys.ARROW_RIGHT, 'Home': Keys.HOME, 'End': Keys.END,
        'PgUp': Keys.PAGE_UP, 'PgDn': Keys.PAGE_DOWN, 'Tab': Keys.TAB, 'Esc': Keys.ESCAPE, 'F10': Keys.F10,
        'Space': Keys.SPACE, 'Ctrl+': Keys.ADD, 'Ctrl-': Keys.SUBTRACT}


class Files(http.server.SimpleHTTPRequestHandler):
    def translate_path(self, path):
        own = path.startswith('/own/')
        return os.path.join(OWN['folder'], os.path.basename(path)) if own else super().translate_path(path)


def browser():
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Files, directory=sys.argv[1]))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for flag in ('headless=new', 'no-sandbox', 'disable-gpu', 'disable-background-networking', 'disable-component-update',
                 'disable-sync', 'no-first-run', 'window-size=1000,800', 'user-data-dir=' + PROFILE.name):
        options.add_argument('--' + flag)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    return driver, 'http://127.0.0.1:%d/' % server.server_address[1]


def act(driver, address, command, arg):
    keys = ActionChains(driver)
    if command == 'get':
        OWN['folder'], _, query = arg.partition(' ')
        driver.get(address + query)
    elif command in ('js', 'poll'):  # poll: the expression's value once it is true, waited for
        run = lambda d: d.execute_script('return ' + arg)
        return str(run(driver) if command == 'js' else WebDriverWait(driver, 10, 0.02).until(run)).replace('\n', '\\n')
    elif command == 'click':
        keys.click(driver.find_element(By.CSS_SELECTOR, arg)).perform()
    elif command == 'key':  # a held key's repeats are key-downs of their own
        name, count = arg.split(' ')
        key = KEYS.get(name, name)
        [keys.key_down(down) for down in [Keys.CONTROL] * name.startswith('Ctrl') + [key] * int(count)]
        keys.key_up(key).key_up(Keys.CONTROL).perform()
    return 'ok'


def serve(driver, address):
    commands, answers = os.pipe(), os.pipe()
    bridge = {'WEB_BRIDGE': '%d %d' % (commands[1], answers[0])}
    harness = subprocess.Popen(sys.argv[2:], pass_fds=(commands[1], answers[0]), env=dict(os.environ, **bridge))
    os.close(commands[1]), os.close(answers[0])
    replies = os.fdopen(answers[1], 'wb')
    for line in os.fdopen(commands[0], 'rb'):
        command, _, arg = line.decode('latin-1').rstrip('\n').partition(' ')
        try:
            said = act(driver, address, command, arg)
        except Exception as error:  # the harness fails the step with it
            said = 'error ' + (str(error).splitlines() or [''])[0]
        replies.write(said.encode('latin-1', 'replace') + b'\n')
        replies.flush()
    return harness.wait()


# Every canvas reaches the tree as an image named as its picture; a scored guess is
# told in the live region, the clocks never are.
def accessibility(driver, address):
    act(driver, address, 'get', '- ?test&secret=1234&start=2026-03-05 10:00:00.000')
    act(driver, address, 'poll', 'Indovina.state().ready')
    [act(driver, address, 'key', key + ' 1') for key in ['1', '2', '4', '3', 'Enter']]
    act(driver, address, 'js', 'Indovina.advance(1000) || Indovina.tick()')
    nodes = {n['nodeId']: n for n in driver.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes']}
    name = lambda node: node.get('name', {}).get('value', '')
    images = [name(n) for n in nodes.values() if n.get('role', {}).get('value') == 'image']
    told = [c for n in nodes.values() for c in n.get('childIds', []) if {'name': 'live', 'value': {'type': 'token', 'value': 'polite'}} in n.get('properties', [])]
    for child in told:
        told += nodes[child].get('childIds', [])
    told = [name(nodes[c]) for c in told]
    labels = driver.execute_script('return Array.from(document.querySelectorAll("canvas"), c => c.ariaLabel)')
    problems = ['canvas "%s" is no image of that name' % label for label in labels if label not in images]
    problems += [] if '2 quadrati, 2 cerchi' in told else ['the answer was not told: %s' % told]
    problems += ['a clock was told: ' + t for t in told if t.startswith('ore ') or 'secondi' in t]
    problems += [] if 'ore 10:00:01, input # 2' in images else ['the clock is not named']
    print('\n'.join(problems) or 'names and announcements as a screen reader should get them')
    return 1 if problems else 0


if __name__ == '__main__':
    driver, address = browser()
    try:
        sys.exit((accessibility if sys.argv[2:] == ['--accessibility'] else serve)(driver, address))
    finally:
        driver.quit()
