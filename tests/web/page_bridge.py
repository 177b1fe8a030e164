#!/usr/bin/python3
# The browser's hands and eyes for the web harness: `page_bridge.py SITE HARNESS ARGS...`
# serves the built site on 127.0.0.1, starts headless Chromium through WebDriver, then
# runs the harness (scenarios_web_test.cpp) and answers its commands, one a line ("get
# QUERY", "key NAME COUNT", "click ELEMENT", "name ELEMENT", "js|poll EXPRESSION", an
# element a JavaScript expression too) over its standard input, a socket, each answer
# ending in a NUL.
import functools, http.server, os, socket, subprocess, sys, tempfile, threading, selenium.webdriver.support.ui as ui
from selenium.webdriver import ActionChains, Chrome, ChromeOptions, Keys, chrome

# Selenium's names of the keys the tables name, where they are not the name in capitals.
KEYS = dict(zip(*[iter('Enter RETURN KP2 NUMPAD2 Ins INSERT BS BACKSPACE Del DELETE PgUp PAGE_UP PgDn PAGE_DOWN '
                       'Esc ESCAPE Ctrl+ ADD Ctrl- SUBTRACT'.split())] * 2))
SERVED = (os.path.abspath(sys.argv[1]) + os.sep, tempfile.gettempdir() + os.sep)


# The site's files and a test's own images in its scratch folder, by their paths, to
# this machine only; nothing else of the file system.
class Files(http.server.SimpleHTTPRequestHandler):
    def translate_path(self, path):
        return full if (full := super().translate_path(path)).startswith(SERVED) else '/-'


def act(command, arg):
    keys, run = ActionChains(driver), lambda d: d.execute_script('return ' + arg)
    if command in ('js', 'poll'):  # poll: the expression's value once it is true, waited for
        return str(run(driver) if command == 'js' else ui.WebDriverWait(driver, 10, 0.02).until(run))
    if command == 'name':  # what a screen reader gets: the element's name in the tree, as long as it is an image
        return found.accessible_name if (found := run(driver)).aria_role == 'image' else 'no image: ' + found.aria_role
    if command == 'get':
        driver.get('http://127.0.0.1:%d%s%s' % (server.server_address[1], SERVED[0], arg))
    if command == 'click':
        keys.click(run(driver)).perform()
    # A key held for COUNT key-downs: chromedriver's second key-down of a key is no
    # repeat (its `repeat` is false), so the repeats are the first one's (`held`, kept by
    # the harness's listener on the page) sent again through DevTools, marked as repeats.
    if command == 'key':
        name, count = arg.split(' ')
        key = getattr(Keys, KEYS.get(name, name.upper()), name)  # a character types itself
        (keys.key_down(Keys.CONTROL) if name.startswith('Ctrl') else keys).key_down(key).perform()
        for _ in range(int(count) - 1):
            driver.execute_cdp_cmd('Input.dispatchKeyEvent', driver.execute_script('return held'))
        keys.key_up(key).key_up(Keys.CONTROL).perform()


server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Files, directory='/'))
threading.Thread(target=server.serve_forever, daemon=True).start()
options = ChromeOptions()  # chromedriver adds a fresh profile, no background networking and no sync
[options.add_argument('--' + flag) for flag in ('headless=new', 'no-sandbox', 'disable-gpu', 'window-size=1000,800')]
bridge, harness_end = socket.socketpair()
with Chrome(service=chrome.service.Service('/usr/bin/chromedriver'), options=options) as driver:
    harness = subprocess.Popen(sys.argv[2:], stdin=harness_end)
    harness_end.close()
    for line in bridge.makefile('rb'):
        try:
            said = act(*line.decode('latin-1').rstrip('\n').split(' ', 1))
        except Exception as error:  # the harness fails the step with it
            said = 'error ' + str(error).split('\n')[0]
        bridge.sendall(str(said).encode('latin-1', 'replace') + b'\0')  # "None" when a command tells nothing
sys.exit(harness.wait())
