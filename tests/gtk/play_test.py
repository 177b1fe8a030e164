#!/usr/bin/python3
"""Plays the GTK build of the game as a player does, keys through the display
server (xdotool), and reads the board back over AT-SPI as a screen reader does.
Run as `dbus-run-session -- /usr/bin/python3 play_test.py path/to/indovina`, on
the screen named by DISPLAY or on an Xvfb of its own. The secret is unknown: each
guess agrees with every answer read so far, so only right answers win the game,
and all of them are then checked against the secret found."""
import itertools
import os
import subprocess
import sys
import time

from gi.repository import Gio, GLib

GAME = os.path.abspath(sys.argv[1])
CAPTION = "Indovina il numero 0.01"
started = []


def wait_for(what, probe, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if found := probe():
            return found
        time.sleep(0.02)
    raise AssertionError(f"no {what} after {seconds} s")


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=10).stdout.split()


def pump():  # hands the AT-SPI events that came in to their listeners
    while GLib.MainContext.default().iteration(False):
        pass


class Game:
    def __init__(self):
        self.process = subprocess.Popen([GAME], cwd="/", stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started.append(self.process)
        self.frame = wait_for("game window over AT-SPI", lambda: self.window(CAPTION))
        self.focus(CAPTION)

    def focus(self, title):  # the server has given the keys to the window once xdotool returns
        pid = str(self.process.pid)
        xdotool("windowfocus", wait_for(title, lambda: xdotool("search", "--all", "--onlyvisible", "--pid", pid,
                                                                "--name", f"^{title}$"))[0])

    def window(self, name):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                return next((w for w in app if w is not None and w.name == name), None)

    def surface_nodes(self):
        """The drawing surfaces in the controls' order: the three panels, then
        field, label and answer box of each row, then the help."""
        def leaves(node):
            if node.getRole() == pyatspi.ROLE_FILLER and node.childCount == 0:
                yield node
            for child in node:
                yield from leaves(child)
        return list(leaves(self.frame))

    def surfaces(self):
        return [node.name for node in self.surface_nodes()]

    def exit_code(self):
        return self.process.wait(timeout=20)


def score(secret, guess):
    squares = sum(a == b for a, b in zip(secret, guess))
    return squares, sum(d in secret for d in guess) - squares


def words(q, c):  # an answer box's name: "2 quadrati, 1 cerchio"
    said = [f"{q} quadrat{'o' if q == 1 else 'i'}"] * (q > 0) + [f"{c} cerch{'io' if c == 1 else 'i'}"] * (c > 0)
    return ", ".join(said) or "nessuna cifra giusta"


MARKS = {words(q, c): (q, c) for q in range(5) for c in range(5 - q)}


def test_a_game_is_won_by_guesses_that_agree_with_every_answer():
    game = Game()
    candidates = ["".join(p) for p in itertools.permutations("0123456789", 4) if p[0] != "0"]
    played = []
    for row in range(1, 15):
        xdotool("type", "--delay", "20", candidates[0])
        xdotool("key", "Return")
        field, label, answer = wait_for(f"answer in row {row}",
                                        lambda: (r := game.surfaces()[3 * row:3 * row + 3])[2] and r)
        assert (field, label) == (f"Tentativo {row:02}: " + " ".join(candidates[0]), f"Tentativo {row:02}"), field
        played.append((candidates[0], MARKS[answer]))
        candidates = [c for c in candidates if score(c, played[-1][0]) == played[-1][1]]
        if played[-1][1] == (4, 0):
            break
        wait_for(f"move to row {row + 1}", lambda: game.surfaces()[1].endswith(f"input # {row + 1}"))
    secret = played[-1][0]
    assert [answer for _, answer in played] == [score(secret, guess) for guess, _ in played], played
    untried = " ".join(d for d in "0123456789" if all(d not in guess for guess, _ in played)) or "nessuna"
    assert game.surfaces()[0].endswith("cifre non provate: " + untried), game.surfaces()[0]
    box = wait_for("end box", lambda: game.window("Indovina il numero"))
    assert "Bravo. Hai indovinato !" in [child.name for child in box[0]], played
    game.focus("Indovina il numero")
    xdotool("key", "Return")
    assert (code := game.exit_code()) == 0, code


def test_the_clocks_keep_their_names_current_without_a_word_and_an_answer_is_told():
    game = Game()
    heard = []  # (who, new name) of every name change told to a reader
    listener = lambda event: heard.append((event.source, event.any_data))
    pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-name")
    try:
        clock, elapsed, _, _, answer = game.surface_nodes()[1:6]
        times = set()
        wait_for("the clock's name to change 3 times", lambda: pump() or times.add(clock.name) or len(times) > 3)
        assert not [h for h in heard if h[0] in (clock, elapsed)], (times, heard)
        xdotool("type", "--delay", "20", "1243")
        xdotool("key", "Return")
        wait_for("the answer of row 1 told", lambda: pump() or (name := answer.name) and (answer, name) in heard)
    finally:
        pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-name")


def test_escape_ends_the_game_at_once_with_exit_code_0():
    game = Game()
    xdotool("key", "Escape")
    assert (code := game.exit_code()) == 0, code


if __name__ == "__main__":
    screen = None
    if not os.environ.get("DISPLAY"):
        ready, write_end = os.pipe()  # Xvfb writes its display number there once it takes clients
        screen = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
                                   "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        os.environ["DISPLAY"] = ":" + os.read(ready, 16).decode().strip()
    # The accessibility bus, started through the session bus before GTK or pyatspi look for it.
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                                    None, None, 0, 10000, None)
    import pyatspi
    tests = [(n, t) for n, t in globals().items() if n.startswith("test_")]
    failed = 0
    for name, test in tests:
        try:
            test()
            print("passed:", name)
        except Exception as error:
            failed += 1
            print("FAILED:", name, repr(error))
        for process in started:
            if process.poll() is None:
                process.kill()
                process.wait()
    if screen:
        screen.terminate()
        screen.wait()
    print(f"{len(tests) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)
