#!/usr/bin/env python3
"""Kept runs and run links, between the page and the desktop (Chromium through the DevTools
protocol). A short game played in the page, by taps, a touch control and keys, is kept; the Runs
panel lists it with its Watch, Save and Link, and gives no key to the game while it is open; the
page keeps the 20 newest runs; the saved file replays in sync under the desktop's
skiddlewick-replay, and its link plays to its end in the desktop's skiddlewick --play. A recording made on the
desktop, with its checks, plays from its link in the page with every check holding, offline.
The page's own link, opened in a fresh browser profile, shows the run to its end and the title
follows; while a run shows, the first key only brings the sound, and a later click ends it. A
damaged link, one that would inflate without bound, a run from another version and a run that
differs from the game are each one line on the page, then the title.

    web_runs_test.py SKIDDLEWICK SKIDDLEWICK_REPLAY WEB_BUILD REPLAY_DIR
"""

import base64
import json
import os
import subprocess
import sys
import tempfile
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools"))
from devtools import DevTools, DevToolsError  # noqa: E402
from web_page_test import ROAD_SAMPLES, Picture, settled  # noqa: E402
from web_session import WebSession, WebSessionError, wait_for  # noqa: E402

WINDOW = (800, 600)
# Game coordinates: the first menu line.
START_GAME = (320, 24)
# The desktop recording the page shows: a script of the replay tests, with checks added.
DESKTOP_SCRIPT = "hut_and_back.replay"
# The page is showing a run: its program runs, started on the run.
SHOWING = ("!!(window.Module && Module.calledRun && Module.arguments && "
           "Module.arguments[0] === '--play')")
# The longest recording a link may inflate to.
TEXT_LIMIT = 64 * 1024 * 1024
# How long a replay may take on the desktop.
REPLAY_TIMEOUT = 120


class Failed(Exception):
    pass


def fnv1a(text):
    value = 0xcbf29ce484222325
    for byte in text.encode():
        value = ((value ^ byte) * 0x100000001b3) & 0xffffffffffffffff
    return f"{value:016x}"


def link_of(text):
    """The "#run=" hash of a recording, made as a browser's CompressionStream would."""
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    packed = packer.compress(text.encode()) + packer.flush()
    return "#run=" + base64.urlsafe_b64encode(packed).decode().rstrip("=")


def replay(tool, text, session):
    """The desktop's skiddlewick-replay on a recording, on the session's X server: (status,
    trace lines, standard error)."""
    with tempfile.NamedTemporaryFile("w", suffix=".replay", delete=False) as script:
        script.write(text)
    try:
        done = subprocess.run([tool, script.name], capture_output=True, text=True,
                              timeout=REPLAY_TIMEOUT,
                              env=dict(session.env(), ALSOFT_DRIVERS="null"))
    finally:
        os.unlink(script.name)
    lines = [line for line in done.stdout.splitlines() if line.startswith("u=")]
    return done.returncode, lines, done.stderr


def play_on_desktop(program, link, session):
    """The desktop game's --play of a run's link, in a home of its own: its exit status and
    standard error."""
    with tempfile.TemporaryDirectory() as home:
        done = subprocess.run([program, "--play", link], capture_output=True, text=True,
                              timeout=REPLAY_TIMEOUT,
                              env=dict(session.env(), ALSOFT_DRIVERS="null", HOME=home,
                                       XDG_CONFIG_HOME="", XDG_STATE_HOME=""))
    return done.returncode, done.stderr


def with_checks(tool, script, session):
    """The script with a check after each of its steps, from the desktop's own trace: what a
    recording made on the desktop holds."""
    lines = script.splitlines()
    checked = []
    for number, line in enumerate(lines):
        checked.append(line)
        if line.split("#")[0].split()[:1] != ["step"]:
            continue
        status, trace, errors = replay(tool, "\n".join(lines[:number + 1]) + "\n", session)
        if status != 0 or not trace:
            raise Failed(f"the desktop could not replay {DESKTOP_SCRIPT}: {errors.strip()}")
        update = trace[-1].split()[0][len("u="):]
        checked.append(f"check {update} {fnv1a(trace[-1])}")
    return "\n".join(checked) + "\n"


class Page:
    """The page in one browser session, seen through its protocol connection."""

    def __init__(self, session):
        self.session = session
        self.devtools = DevTools(session.profile_dir)

    def evaluate(self, expression):
        return self.devtools.evaluate(expression)

    def probe(self, expression):
        """The expression's value, or None while the page is between two documents."""
        try:
            return self.devtools.evaluate(expression)
        except DevToolsError:
            return None

    def shot(self, box=None):
        return Picture(self.session.screenshot(), box)

    def running(self, timeout=90):
        wait_for(lambda: self.evaluate("!!(window.Module && Module.calledRun)"), timeout,
                 "the program running")

    def title_box(self):
        """The title's picture, once the page's note (which dims it) has had its first input."""
        if self.evaluate("getComputedStyle(document.getElementById('start')).display !== 'none'"):
            self.click(WINDOW[0] / 2, WINDOW[1] / 2)
        box = wait_for(settled(lambda: self.shot().grey_box()), 30, "the title's picture")
        wait_for(lambda: self.shot(box).is_title(), 10, "the title's name")
        return box

    def key(self, key, code, key_code, down=True):
        self.devtools.call("Input.dispatchKeyEvent", type="keyDown" if down else "keyUp",
                           key=key, code=code, windowsVirtualKeyCode=key_code)

    def press(self, key, code, key_code):
        self.key(key, code, key_code)
        self.key(key, code, key_code, down=False)

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.devtools.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                               clickCount=1)

    def centre(self, selector):
        box = self.evaluate("(() => { const r = document.querySelector(%s)"
                            ".getBoundingClientRect(); return [r.left, r.top, r.width, r.height];"
                            " })()" % json.dumps(selector))
        return box[0] + box[2] / 2, box[1] + box[3] / 2

    def shown(self):
        """How the last showing in this tab ended, once the title has followed it."""
        return wait_for(lambda: self.probe("location.hash === '' && !!(window.Module && "
                                           "Module.calledRun) && window.skiddlewickShown"),
                        90, "the title after the showing")

    def close(self):
        self.devtools.close()


def game_point(box, x, y):
    left, top, right, bottom = box
    return left + x * (right - left) / 640, top + y * (bottom - top) / 480


def play_a_game(page):
    """From the first touch to the title again: a tap on START GAME, the walker walked down by
    keys, and the Back touch control. Returns the picture's box and the kept run's summary as
    the page stored it."""
    page.devtools.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
    page.running()
    page.devtools.tap(WINDOW[0] / 2, WINDOW[1] / 2)
    box = page.title_box()
    page.devtools.tap(*game_point(box, *START_GAME))
    wait_for(lambda: page.shot(box).matches(ROAD_SAMPLES), 30, "the road after a tap")
    wait_for(lambda: page.shot(box).walker_x() is not None, 10, "the walker on the pavement")
    page.key("z", "KeyZ", 90)
    wait_for(lambda: page.shot(box).walker_x() is None, 10, "the walker walking down")
    page.key("z", "KeyZ", 90, down=False)
    page.devtools.tap(*page.centre('button[aria-label="Back"]'))
    wait_for(lambda: page.shot(box).is_title(), 20, "the title after Back")
    return box, wait_for(lambda: page.evaluate("skiddlewickRuns.listRuns().then(runs => runs.length"
                                          " && runs[0].ended && {name: runs[0].name, score: "
                                          "runs[0].score, updates: runs[0].updates})"),
                    20, "the game kept in the page's storage")


def read_runs_panel(page, kept, box):
    """Opens Runs with the mouse, finds the kept game, reads its Link and fetches its Save file;
    Escape closes the panel, Enter on the Runs button opens it again and Escape closes it, and
    neither key reaches the game on its title. Returns (link, saved text)."""
    page.click(*page.centre('button[aria-label="Runs"]'))
    entry = wait_for(lambda: page.evaluate(
        "(() => { const li = document.querySelector('#runs-list li'); if (!li) return null;"
        " const link = li.querySelector('a.link'), save = li.querySelector('a[download]');"
        " return link.getAttribute('href') && {text: li.textContent, link: link.href,"
        " save: save.href, name: save.download, watch: !!li.querySelector('button'),"
        " covered: Module.pageCovered, focused: document.activeElement.closest('#runs') !== null"
        "}; })()"), 10, "the kept game in the Runs panel")
    if entry["name"] != kept["name"] or f"score {kept['score']}" not in entry["text"]:
        raise Failed(f"the panel's first run is {entry}, not the game kept as {kept}")
    if not entry["watch"] or not entry["covered"] or not entry["focused"]:
        raise Failed(f"the panel has no Watch, or does not hold the game and the keys: {entry}")
    saved = page.evaluate("fetch(%s).then(r => r.text())" % json.dumps(entry["save"]))
    panel_hidden = "document.getElementById('runs').hidden"
    page.press("Escape", "Escape", 27)
    wait_for(lambda: page.evaluate(panel_hidden), 10, "the panel closed by Escape")
    page.press("Enter", "Enter", 13)
    wait_for(lambda: not page.evaluate(panel_hidden), 10, "the panel opened by Enter")
    page.press("Escape", "Escape", 27)
    wait_for(lambda: page.evaluate(panel_hidden), 10, "the panel closed by Escape again")
    # Enter would have started a game, Escape left the title, had either reached the game.
    try:
        wait_for(lambda: page.shot(box).is_title(), 10, "the title")
    except WebSessionError:
        raise Failed("a key meant for the panel reached the game") from None
    return entry["link"], saved


def check_kept_twenty(page, kept):
    """The page keeps the 20 newest runs, newest by the program's names: a later copy of the same
    second ("-2") is the newer."""
    older = [f"20000101-{second:06d}.replay" for second in range(1, 20)]
    older.append("20000101-000001-2.replay")
    page.evaluate("(() => { const files = Module.FS; try { files.mkdir('/runs'); } catch (e) {}"
                  " for (const name of %s) { files.writeFile('/runs/' + name, 'version 2.1\\n');"
                  " Module.skiddlewickRunKept('/runs/' + name, true, 0, 1, 60); } })()"
                  % json.dumps(older))
    wanted = [kept["name"]] + sorted(older[1:-1], reverse=True) + [older[-1]]
    names = "skiddlewickRuns.listRuns().then(runs => runs.map(run => run.name))"
    try:
        wait_for(lambda: page.evaluate(names) == wanted, 10, "the 20 newest runs")
    except WebSessionError:
        raise Failed(f"the page keeps {page.evaluate(names)}, not {wanted}") from None


def go_offline(page):
    wait_for(lambda: page.evaluate(
        "Promise.race([navigator.serviceWorker.ready.then(r => r.active && r.active.state),"
        " new Promise(done => setTimeout(done, 1000, null))])") == "activated",
        30, "the service worker's copy of the page")
    page.session.stop_server()


def show(page, url):
    """Opens a run's address in the page and waits until the title follows the showing."""
    page.devtools.call("Page.navigate", url=url)
    return page.shown()


def sound_then_stop(page, url):
    """Opens a run's address: the first key only brings the sound (the run goes on), a later
    click ends the showing before the run's end."""
    page.devtools.call("Page.navigate", url=url)
    showing = SHOWING
    wait_for(lambda: page.probe(showing), 60, "the run showing")
    page.press("a", "KeyA", 65)
    started = time.monotonic()
    while time.monotonic() - started < 1.5:
        if not page.probe(showing):
            raise Failed("the first key, which only brings the sound, ended the showing")
        time.sleep(0.2)
    page.click(WINDOW[0] / 2, WINDOW[1] / 2)
    return page.shown()


def check_shown(what, shown, status=0, line=None):
    if shown.get("status") != status or (line or "") not in (shown.get("line") or ""):
        raise Failed(f"{what}: the showing ended as {shown}")


def differing(recording):
    """The recording with its first check's hash made wrong."""
    lines = recording.splitlines()
    first = next(n for n, line in enumerate(lines) if line.startswith("check "))
    lines[first] = " ".join(lines[first].split()[:2] + ["0" * 16])
    return "\n".join(lines) + "\n"


def main():
    program, tool, web_build, replay_dir = sys.argv[1:5]
    with open(os.path.join(replay_dir, DESKTOP_SCRIPT)) as script:
        desktop_script = script.read()
    try:
        with WebSession(web_build, window_size=WINDOW, devtools=True) as session:
            desktop_recording = with_checks(tool, desktop_script, session)
            session.open("index.html")
            page = Page(session)
            try:
                box, kept = play_a_game(page)
                link, saved = read_runs_panel(page, kept, box)
                check_kept_twenty(page, kept)
                status, _, errors = replay(tool, saved, session)
                if status != 0:
                    raise Failed(f"the page's saved run replays on the desktop with status "
                                 f"{status}: {errors.strip()}")
                status, errors = play_on_desktop(program, link, session)
                if status != 0:
                    raise Failed(f"the page's link plays on the desktop with status {status}: "
                                 f"{errors.strip()}")
                go_offline(page)
                base = session.base_url + "index.html"
                check_shown("the desktop's recording, offline",
                            show(page, base + link_of(desktop_recording)))
            finally:
                page.close()
        with WebSession(web_build, window_size=WINDOW, devtools=True) as session:
            base = session.base_url + "index.html"
            session.open("index.html" + link[link.index("#"):])
            page = Page(session)
            try:
                wait_for(lambda: page.probe(SHOWING),
                         90, "the page's link showing in a fresh profile")
                check_shown("the page's link in a fresh profile", page.shown())
                page.title_box()
                check_shown("a run stopped by a click after its first key",
                            sound_then_stop(page, base + link_of(desktop_recording)))
                check_shown("a damaged link", show(page, base + "#run=AAAA-_x"), 2,
                            "This link is damaged")
                # A short link that would inflate past the longest recording stops there.
                check_shown("a link inflating past 64 MiB",
                            show(page, base + link_of("\n" * (TEXT_LIMIT + 1))), 2, "too long")
                check_shown("a run from another version",
                            show(page, base + link_of("version 0.1\n" + desktop_recording)), 2,
                            "recorded by skiddlewick 0.1")
                check_shown("a run that differs",
                            show(page, base + link_of(differing(desktop_recording))), 3,
                            "differs from the recording")
                if not page.evaluate("document.getElementById('message').textContent"):
                    raise Failed("the page shows no line about the run that differs")
            finally:
                page.close()
    except (WebSessionError, DevToolsError, Failed) as error:
        print(f"web runs: {error}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
