#!/usr/bin/env python3
"""The game's page played with a pad alone: a pad in the browsers' standard mapping goes from
the title to the options with its D-pad and A and back with Back, starts a game with A, walks
with its D-pad, pauses with Start and leaves the road with Back.

The browser has no pad of its own here: a copy of the page answers navigator.getGamepads itself
with a scripted standard pad, whose buttons the test holds through keys the page keeps from the
game. Checked by pixels, as the page test does.

    web_pad_test.py WEB_BUILD
"""

import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools"))
from web_session import (STANDARD_PAD_SCRIPT, WebSession, WebSessionError,  # noqa: E402
                         page_with_script, wait_for)
from web_page_test import (PAUSED_SAMPLES, ROAD_SAMPLES, Picture,  # noqa: E402
                           dismiss_note, settled, steady_line)

# The page's pad: 17 buttons and 4 axes, shown to the page (gamepadconnected) at its first
# press, as browsers do. Keys 1 to 6 hold its D-pad down, left and right, A, Start and Back
# (standard buttons 13, 14, 15, 0, 9, 8) and never reach the game.
PAD_SCRIPT = STANDARD_PAD_SCRIPT + """<script>
(function() {
  var pad = standardPad("Scripted pad (STANDARD GAMEPAD)");
  var keys = {"1": 13, "2": 14, "3": 15, "4": 0, "5": 9, "6": 8};
  function hold(event, held) {
    var button = keys[event.key];
    if (button === undefined) return;
    event.stopImmediatePropagation();
    event.preventDefault();
    pad.hold(button, held, performance.now());
    if (held && !pad.shown()) pad.show();
  }
  window.addEventListener("keydown", function(e) { hold(e, true); }, true);
  window.addEventListener("keyup", function(e) { hold(e, false); }, true);
})();
</script>
"""
DOWN, LEFT, RIGHT, A, START, BACK = "1", "2", "3", "4", "5", "6"
SCREEN_WAIT = 20
# The title menu's first line, START GAME, which flashes while it is selected.
START_GAME_LINE = (64, 16)


def press_until(session, key, condition, what):
    """Holds the button until the picture shows what it does: the page reads the pad once a
    frame, and a loaded machine's browser can go longer than any fixed press between frames."""
    session.xdotool("keydown", key)
    try:
        wait_for(condition, SCREEN_WAIT, what)
    finally:
        session.xdotool("keyup", key)


def walker_still(shot, box, seconds):
    """Whether the walker stays where he is for `seconds`."""
    before = wait_for(lambda: shot(box).walker_x(), 10, "the walker")
    time.sleep(seconds)
    return shot(box).walker_x() == before


def play(session, shot):
    session.open("index.html")
    dismiss_note(session, shot)
    box = wait_for(settled(lambda: shot().grey_box()), 30, "the title's picture")
    wait_for(lambda: shot(box).is_title(), 10, "the title's name")

    # The menu moves on a button's press alone, however long it is held.
    press_until(session, DOWN, lambda: steady_line(shot, box, START_GAME_LINE),
                "START GAME unselected after D-pad down")
    press_until(session, A, lambda: shot(box).is_options(),
                "the options screen after D-pad down and A")
    press_until(session, BACK, lambda: shot(box).is_title(), "the title after Back")

    press_until(session, A, lambda: shot(box).matches(ROAD_SAMPLES), "the road after A")
    start = wait_for(lambda: shot(box).walker_x(), 10, "the walker")
    session.xdotool("keydown", LEFT)
    time.sleep(1.0)
    session.xdotool("keyup", LEFT)
    walked = shot(box).walker_x()
    print(f"walker from x {start:.0f} to x {walked}")
    if walked is None or walked > start - 16:
        print("the walker did not walk left with the D-pad")
        return 1

    # Paused, he stands still with the D-pad held right; going on, he walks right, away from the
    # left edge he may have reached.
    paused = lambda: shot(box).matches(PAUSED_SAMPLES)  # noqa: E731
    press_until(session, START, paused, "the pause after Start")
    session.xdotool("keydown", RIGHT)
    if not walker_still(shot, box, 1.0):
        print("Start did not pause the road")
        return 1
    press_until(session, START, lambda: not paused(), "the road going on after Start again")
    if walker_still(shot, box, 1.0):
        print("Start again did not go on")
        return 1
    session.xdotool("keyup", RIGHT)
    press_until(session, BACK, lambda: shot(box).is_title(), "the title after Back on the road")
    return 0


def main():
    folder = tempfile.mkdtemp(prefix="skiddlewick-pad.")
    try:
        page_with_script(sys.argv[1], folder, PAD_SCRIPT)
        with WebSession(folder, window_size=(800, 600)) as session:
            return play(session, lambda box=None: Picture(session.screenshot(), box))
    except WebSessionError as error:
        print(f"web pad: {error}")
        return 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
