#!/usr/bin/env python3
"""The game's page on a landscape phone with a touch screen (Chromium, touches sent through the
DevTools protocol), played by touch alone: the page declares an installable app whose manifest
names its icons; the on-screen controls stay hidden until the first touch and then sit beside
the picture, labelled and finger-sized; a tap on START GAME reaches the road; holding Down walks
the walker down, and a second finger on Pause meanwhile pauses the game; Pause again resumes it;
Back returns to the title; and with the server stopped, a reload still reaches the title.

    web_touch_test.py WEB_BUILD
"""

import json
import os
import sys
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools"))
from devtools import DevTools, DevToolsError  # noqa: E402
from web_page_test import (NOTE_SHADE, PAUSED_SAMPLES, ROAD_SAMPLES, TITLE_GREY,  # noqa: E402
                           Picture, settled)
from web_session import WebSession, WebSessionError, wait_for  # noqa: E402

PHONE = (844, 390)
CONTROLS = ["Up", "Down", "Left", "Right", "Pause", "Back"]
FINGER_SIZE = 44
ICON_SIZES = {"192x192", "512x512"}
# Game coordinates: the first menu line.
START_GAME = (320, 24)


class Failed(Exception):
    pass


def control_boxes(devtools):
    """Each control's (left, top, width, height) in the window, None when the page has none."""
    return devtools.evaluate("%s.map(label => { const b = document.querySelector("
                             "`button[aria-label=\"${label}\"]`); if (!b) return null; "
                             "const r = b.getBoundingClientRect(); "
                             "return [r.left, r.top, r.width, r.height]; })" % json.dumps(CONTROLS))


def check_controls(devtools, picture_box):
    """Every control is there, finger-sized and clear of the picture."""
    left, top, right, bottom = picture_box
    for label, box in zip(CONTROLS, control_boxes(devtools)):
        if box is None:
            raise Failed(f"no control labelled {label!r}")
        x, y, width, height = box
        if min(width, height) < FINGER_SIZE:
            raise Failed(f"{label}: {width:g} x {height:g} pixels, smaller than a finger")
        if x < right and left < x + width and y < bottom and top < y + height:
            raise Failed(f"{label} at {box} covers the picture at {picture_box}")


def check_manifest(devtools):
    """The manifest the page links parses without complaint, and names its two icons, which
    load at their sizes."""
    answer = devtools.call("Page.getAppManifest")
    if not answer.get("data"):
        raise Failed("the page links no app manifest")
    if answer.get("errors"):
        raise Failed(f"the manifest has errors: {answer['errors']}")
    manifest = json.loads(answer["data"])
    wanted = {"name": str, "start_url": str, "theme_color": str, "background_color": str}
    for field, kind in wanted.items():
        if not isinstance(manifest.get(field), kind):
            raise Failed(f"the manifest has no {field}")
    if manifest.get("display") not in ("standalone", "fullscreen"):
        raise Failed(f"the manifest's display is {manifest.get('display')!r}")
    if manifest.get("orientation") != "landscape":
        raise Failed(f"the manifest's orientation is {manifest.get('orientation')!r}")
    icons = {icon.get("sizes"): icon.get("src") for icon in manifest.get("icons", [])}
    if not ICON_SIZES <= icons.keys():
        raise Failed(f"the manifest's icons are {sorted(icons)}, not {sorted(ICON_SIZES)}")
    for sizes in ICON_SIZES:
        url = urllib.parse.urljoin(answer["url"], icons[sizes])
        loaded = devtools.evaluate("new Promise(done => { const i = new Image(); "
                                   "i.onload = () => done(`${i.naturalWidth}x${i.naturalHeight}`);"
                                   " i.onerror = () => done(null); i.src = %s; })" % json.dumps(url))
        if loaded != sizes:
            raise Failed(f"the icon {url} is {loaded}, not {sizes}")


def play(session, devtools):
    shot = lambda box=None: Picture(session.screenshot(), box)  # noqa: E731

    def centre(label):
        x, y, width, height = control_boxes(devtools)[CONTROLS.index(label)]
        return x + width / 2, y + height / 2

    def game_point(box, x, y):
        left, top, right, bottom = box
        return left + x * (right - left) / 640, top + y * (bottom - top) / 480

    def walker_on_pavement():
        return shot(box).walker_x() is not None

    wait_for(lambda: devtools.evaluate("!!(window.Module && Module.calledRun)"), 90,
             "the program running")
    if any(box[2] for box in control_boxes(devtools)):
        raise Failed("the touch controls show before any touch")
    # The first touch takes the page's note away and brings the controls.
    devtools.tap(PHONE[0] / 2, PHONE[1] / 2)
    box = wait_for(settled(lambda: shot().grey_box()), 30, "the title's picture")
    wait_for(lambda: shot(box).is_title(), 10, "the title's name")
    check_controls(devtools, box)
    check_manifest(devtools)

    devtools.tap(*game_point(box, *START_GAME))
    wait_for(lambda: shot(box).matches(ROAD_SAMPLES), 30, "the road after a tap on START GAME")
    wait_for(walker_on_pavement, 10, "the walker on the pavement")
    down, pause = centre("Down"), centre("Pause")
    devtools.touch("touchStart", {1: down})
    wait_for(lambda: not walker_on_pavement(), 10, "the walker walking down off the pavement")
    devtools.touch("touchStart", {1: down, 2: pause})
    wait_for(lambda: shot(box).matches(PAUSED_SAMPLES), 10, "the pause with Down held")
    devtools.touch("touchEnd", {})
    devtools.tap(*pause)
    wait_for(lambda: not shot(box).matches(PAUSED_SAMPLES), 10, "the game going on")
    devtools.tap(*centre("Back"))
    wait_for(lambda: shot(box).is_title(), 20, "the title after Back")

    # Offline: once the service worker has kept the build, a reload needs no server.
    wait_for(lambda: devtools.evaluate(
        "Promise.race([navigator.serviceWorker.ready.then(r => r.active && r.active.state),"
        " new Promise(done => setTimeout(done, 1000, null))])") == "activated",
        30, "the service worker's copy of the page")
    session.stop_server()
    devtools.call("Page.reload")
    dimmed = tuple(round(c * (1 - NOTE_SHADE)) for c in TITLE_GREY)
    wait_for(lambda: shot(box).near((20, 200), dimmed), 60, "the title after an offline reload")
    devtools.tap(PHONE[0] / 2, PHONE[1] / 2)
    wait_for(lambda: shot(box).is_title(), 10, "the title's name after an offline reload")


def main():
    web_build = sys.argv[1]
    try:
        with WebSession(web_build, window_size=PHONE, devtools=True) as session:
            session.open("index.html")
            devtools = DevTools(session.profile_dir)
            try:
                devtools.emulate_phone(*PHONE)
                play(session, devtools)
            finally:
                devtools.close()
    except (WebSessionError, DevToolsError, Failed) as error:
        print(f"web page by touch: {error}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
