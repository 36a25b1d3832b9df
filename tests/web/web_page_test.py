#!/usr/bin/env python3
"""The game's page in Chromium: it loads and shows the title, Enter starts a game on the road,
the walker walks, and a difficulty chosen on the options screen is still there after a reload.
Checked by pixels of the X screen at known places of the game's picture, which the page
letterboxes into its canvas (found as the title's grey background).

    web_page_test.py WEB_BUILD
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools"))
from web_session import WebSession, WebSessionError, wait_for  # noqa: E402

TITLE_GREY = (170, 170, 170)
# (x, y) in the game's 640 x 480 picture, and the colour the desktop draws there. The title
# cycles the colour of its name and hills: the name's first letter is checked as not grey.
TITLE_SAMPLES = [((20, 200), TITLE_GREY), ((620, 300), TITLE_GREY), ((320, 5), TITLE_GREY)]
TITLE_NAME_S = (85, 78)
ROAD_SAMPLES = [((20, 200), (0, 170, 0)), ((320, 130), (0, 0, 0)), ((100, 80), TITLE_GREY)]
# The two spaces of "*** PAUSED ***" on its white bar, which stay white while the text flashes.
PAUSED_SAMPLES = [((262, 240), (255, 255, 255)), ((374, 240), (255, 255, 255))]
# The options screen: its grey page and yellow heading bar; the first line, DIFFICULTY, at
# (64, 112) and 32 characters of 16 pixels wide.
OPTIONS_SAMPLES = [((20, 200), TITLE_GREY), ((204, 66), (170, 170, 0)), ((436, 78), (170, 170, 0))]
DIFFICULTY_LINE = (64, 112)
# Between two keys sent to a menu: time for a loaded machine's browser to take each.
KEY_GAP = 0.5
# The pavement the walk starts on, above the road.
WALK_BAND = (64, 96)
TOLERANCE = 40
# How dark the page's "click or press a key" note makes the picture beneath it.
NOTE_SHADE = 0.35


class Picture:
    """One screenshot, read in the game's coordinates once the letterbox is known."""

    def __init__(self, shot, box=None):
        self.width, self.height, self.pixels = shot
        self.box = box

    def at(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.pixels[offset:offset + 3])

    def game(self, x, y):
        left, top, right, bottom = self.box
        return self.at(left + x * (right - left) // 640, top + y * (bottom - top) // 480)

    def matches(self, samples):
        return all(self.near(where, colour) for where, colour in samples)

    def near(self, where, colour):
        return max(abs(a - b) for a, b in zip(self.game(*where), colour)) <= TOLERANCE

    def is_options(self):
        return self.matches(OPTIONS_SAMPLES) and self.near(TITLE_NAME_S, TITLE_GREY)

    def is_title(self):
        return self.matches(TITLE_SAMPLES) and not self.near(TITLE_NAME_S, TITLE_GREY)

    def grey_box(self):
        """The bounding box of the title's grey, when it is big enough to be the picture."""
        grey = bytes(TITLE_GREY)
        rows = [y for y in range(self.height) if self._aligned(y, grey)]
        if not rows:
            return None
        columns = [self._aligned(y, grey) for y in rows]
        left = min(c[0] for c in columns)
        right = max(c[1] for c in columns) + 1
        box = (left, rows[0], right, rows[-1] + 1)
        width, height = right - left, box[3] - box[1]
        return box if width >= 320 and abs(width * 3 - height * 4) <= width // 25 else None

    def _aligned(self, y, colour):
        """The first and last x of row y where the pixel is `colour`, or None."""
        row = self.pixels[y * self.width * 3:(y + 1) * self.width * 3]
        first = row.find(colour)
        while first >= 0 and first % 3:
            first = row.find(colour, first + 1)
        if first < 0:
            return None
        last = row.rfind(colour)
        while last % 3:
            last = row.rfind(colour, 0, last + 2)
        return first // 3, last // 3

    def walker_x(self):
        """The mean x of the colourful pixels (the walker) on the walk's pavement."""
        xs = []
        for y in range(*WALK_BAND, 2):
            for x in range(64, 576):
                r, g, b = self.game(x, y)
                if max(r, g, b) - min(r, g, b) > 80:
                    xs.append(x)
        return sum(xs) / len(xs) if xs else None


def settled(read):
    """A condition for wait_for: the value `read` gives twice running, once it is not None."""
    last = []

    def condition():
        value = read()
        same = last == [value]
        last[:] = [value]
        return value if same else None

    return condition


def difficulty_line(picture, corner=DIFFICULTY_LINE):
    """A menu's line from its top-left `corner` (by default the options screen's first line,
    DIFFICULTY), sampled every other game pixel."""
    return [picture.game(x, y) for y in range(corner[1], corner[1] + 16, 2)
            for x in range(corner[0], corner[0] + 512, 2)]


def same_line(a, b):
    return all(max(abs(p - q) for p, q in zip(u, v)) <= TOLERANCE for u, v in zip(a, b))


def dismiss_note(session, shot):
    """The page's note dims the picture until the first click takes it away (and lets sound
    start); the title's corner is grey under the note. The window has the picture's shape, so
    the picture's corner is the window's. The pointer then moves below the menus (a menu selects
    the line it hovers over) but stays inside the window: outside it, with no window manager,
    the keyboard's focus would leave the page, and the game pauses when it loses the focus."""
    dimmed = tuple(round(c * (1 - NOTE_SHADE)) for c in TITLE_GREY)
    wait_for(lambda: max(abs(a - b) for a, b in zip(shot().at(4, 4), dimmed)) <= 8,
             90, "the title under the page's note")
    session.xdotool("mousemove", "400", "300", "click", "1", "mousemove", "400", "590")


def open_options(session, shot, box):
    """From the title (START GAME selected): down to OPTIONS and in. The options screen selects
    BACK on entry, so DIFFICULTY shows unselected."""
    wait_for(lambda: shot(box).is_title(), 20, "the title")
    session.xdotool("key", "Down")
    time.sleep(KEY_GAP)
    session.xdotool("key", "Return")
    wait_for(settled(lambda: shot(box).is_options() or None), 20, "the options screen")


def type_until(session, shot, box, key, condition, what):
    """Types `key` until `condition` holds; its value. A key is typed again only after 10 s
    without its effect, so a slow browser does not get it twice."""
    for attempt in (1, 2):
        session.xdotool("key", key)
        try:
            return wait_for(condition, 10, what)
        except WebSessionError:
            if attempt == 2:
                now = shot(box)
                print(f"on the options screen: {now.is_options()}, on the title: {now.is_title()}")
                raise


def line_unlike(shot, box, looks):
    """A condition: the DIFFICULTY line shows a look unlike each of `looks`."""
    def unlike():
        line = difficulty_line(shot(box))
        return None if any(same_line(line, look) for look in looks) else line
    return unlike


def steady_line(shot, box, corner=DIFFICULTY_LINE):
    """The DIFFICULTY line (or the line at `corner`) once it stops flashing: the same over four
    shots, longer than the flash's two phases."""
    lines = [difficulty_line(shot(box), corner) for _ in range(4)]
    return lines[0] if all(same_line(lines[0], line) for line in lines[1:]) else None


def settings_survive_reload(session, shot, box):
    """Escape back to the title, change the difficulty on the options screen, leave it (which
    saves), reload the page: the options screen shows the changed difficulty."""
    session.xdotool("key", "Escape")
    open_options(session, shot, box)
    before = difficulty_line(shot(box))
    # Down round from BACK to DIFFICULTY (a selected line flashes), change it, and down again so
    # that the line is read unselected, as it shows after the reload. Each key is seen to act.
    flashed = type_until(session, shot, box, "Down", line_unlike(shot, box, [before]),
                         "DIFFICULTY selected")
    type_until(session, shot, box, "Return", line_unlike(shot, box, [before, flashed]),
               "the difficulty changed")

    def changed_and_steady():
        line = steady_line(shot, box)
        return line if line and not same_line(line, before) else None
    changed = type_until(session, shot, box, "Down", changed_and_steady,
                         "the changed difficulty unselected")
    session.xdotool("key", "Escape")
    wait_for(lambda: shot(box).is_title(), 20, "the title after the options")
    session.xdotool("key", "F5")
    time.sleep(1.0)
    dismiss_note(session, shot)
    open_options(session, shot, box)
    if not same_line(difficulty_line(shot(box)), changed):
        print("the difficulty chosen before the reload was not there after it")
        return 1
    return 0


def main():
    web_build = sys.argv[1]
    try:
        with WebSession(web_build, window_size=(800, 600)) as session:
            shot = lambda box=None: Picture(session.screenshot(), box)  # noqa: E731
            session.open("index.html")
            started = time.monotonic()
            dismiss_note(session, shot)

            # The canvas takes the tab's size once the program runs: a box seen twice is final.
            box = wait_for(settled(lambda: shot().grey_box()), 30, "the title's picture")
            print(f"title after {time.monotonic() - started:.1f} s, picture at {box}")
            wait_for(lambda: shot(box).is_title(), 10, "the title's name")

            session.xdotool("key", "Return")
            wait_for(lambda: shot(box).matches(ROAD_SAMPLES), 30, "the road after Enter")
            # Left alone the walker walks on the way he faces (right, at first): the left key
            # must turn him round.
            start = wait_for(lambda: shot(box).walker_x(), 10, "the walker")
            session.xdotool("keydown", "i")
            time.sleep(1.0)
            session.xdotool("keyup", "i")
            walked = shot(box).walker_x()
            print(f"walker from x {start:.0f} to x {walked}")
            if walked is None or walked > start - 16:
                print("the walker did not walk left with the left key (I)")
                return 1
            return settings_survive_reload(session, shot, box)
    except WebSessionError as error:
        print(f"web page: {error}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
