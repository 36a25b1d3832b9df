#!/usr/bin/env python3
"""Input latency in the page: for each control, the animation frames from the key's event (or a
pad's button) to the first frame whose picture differs because of it. 1 is the floor: the frame
drawn right after the update that read the key.

The page is stepped, not left to the browser: a script put before the page's own takes over
requestAnimationFrame and performance.now, so that a frame runs only when the benchmark asks,
with the clock exactly one 60 Hz period further on each time (one update a frame), and every
short timer the frame set going (the loaders' bodies) runs out before the next one, as the
desktop benchmark waits for its loads. Each frame's picture is read back with readPixels in the
same task as the frame's callback, before the browser may clear the drawing buffer, and hashed
with the gains of the page's OpenAL sources: the music key draws nothing, and its frame is the
first after the update that turned the music's gain to 0 (a source's playing state would follow
the audio's own clock, not the frames). Each control runs in a browser of its own from the same
start, a game on the road past its fade; a run without a key from each start gives the frames
the others are compared with, and a second one from the first start must give the same.

What this leaves out is the browser's: the time from the device to the page's key event, and
from the end of the frame's callback to the screen.

    web_input_latency_bench.py WEB_BUILD    (make web-bench, or make bench after make web)
"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../tools"))
from devtools import DevTools, DevToolsError  # noqa: E402
from web_session import (STANDARD_PAD_SCRIPT, WebSession, WebSessionError,  # noqa: E402
                         page_with_script, wait_for)

# Frames watched from the event on; a control that shows nothing within them counts as -1.
WATCHED_FRAMES = 30
# Frames the key or button stays held, from its event on.
HELD_FRAMES = 5

STEPPED_PAGE = """<script>
(function() {
  var clock = 0, period = 1000 / 60;
  var realNow = performance.now.bind(performance);
  performance.now = function() { return clock; };

  var callbacks = new Map(), nextCallback = 1;
  window.requestAnimationFrame = function(callback) {
    callbacks.set(nextCallback, callback);
    return nextCallback++;
  };
  window.cancelAnimationFrame = function(id) { callbacks.delete(id); };

  // Short timers are work a frame set going (a loader's body); long ones are the page's own.
  var nativeSetTimeout = window.setTimeout, nativeClearTimeout = window.clearTimeout;
  var pending = new Set();
  window.setTimeout = function(handler, delay) {
    var args = Array.prototype.slice.call(arguments, 2);
    var id = nativeSetTimeout(function() {
      pending.delete(id);
      if (typeof handler === 'function') handler.apply(null, args);
    }, delay);
    if (!(delay > 50)) pending.add(id);
    return id;
  };
  window.clearTimeout = function(id) {
    pending.delete(id);
    nativeClearTimeout(id);
  };
  function settled() {
    var start = realNow();
    return new Promise(function(resolve, reject) {
      (function look() {
        if (!pending.size) resolve();
        else if (realNow() - start > 20000) reject(new Error('timers still pending'));
        else nativeSetTimeout(look, 1);
      })();
    });
  }

  function picture() {
    var gl = window.Module && Module.ctx;
    var width = gl.drawingBufferWidth, height = gl.drawingBufferHeight;
    var pixels = new Uint8Array(width * height * 4);
    gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    var words = new Uint32Array(pixels.buffer), hash = 2166136261;
    for (var i = 0; i < words.length; ++i) hash = Math.imul(hash ^ words[i], 16777619);
    var sound = '';
    if (window.AL && AL.currentCtx)
      for (var id in AL.currentCtx.sources)
        sound += id + ':' + AL.currentCtx.sources[id].gain.gain.value + ';';
    return width + 'x' + height + ':' + (hash >>> 0).toString(16) + ':' + sound;
  }

  function frame() {
    clock += period;
    var due = Array.from(callbacks.values());
    callbacks.clear();
    due.forEach(function(callback) { callback(clock); });
  }

  // A standard pad, shown to the page when asked, whose buttons the benchmark holds.
  var pad = standardPad('Stepped pad (STANDARD GAMEPAD)');

  window.steppedPage = {
    ready: function() { return callbacks.size > 0 && !!(window.Module && Module.ctx); },
    // `count` frames, each after the work of the one before; the pictures when `watched`.
    step: async function(count, watched) {
      var pictures = [];
      for (var i = 0; i < count; ++i) {
        await settled();
        frame();
        if (watched) pictures.push(picture());
      }
      await settled();
      return pictures;
    },
    showPad: function() { pad.show(); },
    holdButton: function(button, held) {
      pad.hold(button, held, clock);
      // As a browser does, a pad the page has not seen shows at its first press.
      if (held && !pad.shown()) pad.show();
    },
  };
})();
</script>
"""

# (name, key, code, Windows virtual key code) of the keys played.
KEYS = {
    "enter": ("Enter", "Enter", 13),
    "q": ("q", "KeyQ", 81),
    "z": ("z", "KeyZ", 90),
    "i": ("i", "KeyI", 73),
    "p": ("p", "KeyP", 80),
    "h": ("h", "KeyH", 72),
    "m": ("m", "KeyM", 77),
    "escape": ("Escape", "Escape", 27),
}
# Standard pad buttons: Start and the D-pad's down.
PAD_START, PAD_DOWN = 9, 13

# Where a control is measured from: the walker standing at the top of the road facing up, so
# that down, left and right each turn it, or walking down into the road, so that up turns it;
# the pad shown to the page on the title, or first shown by the press measured.
STARTS = {
    "standing": {"walking_down": False, "pad_shown": True},
    "walking_down": {"walking_down": True, "pad_shown": True},
    "standing_pad_unseen": {"walking_down": False, "pad_shown": False},
}

# (counter, the start it is measured from, ("key", name) or ("pad", button)).
CONTROLS = [
    ("up", "walking_down", ("key", "q")),
    ("down", "standing", ("key", "z")),
    ("left", "standing", ("key", "i")),
    ("right", "standing", ("key", "p")),
    ("pause", "standing", ("key", "h")),
    ("music", "standing", ("key", "m")),
    ("escape", "standing", ("key", "escape")),
    ("pad_start", "standing", ("pad", PAD_START)),
    ("pad_down", "standing", ("pad", PAD_DOWN)),
    ("pad_start_first_press", "standing_pad_unseen", ("pad", PAD_START)),
    ("pad_down_first_press", "standing_pad_unseen", ("pad", PAD_DOWN)),
]


class SteppedPage:
    def __init__(self, devtools):
        self._devtools = devtools

    def step(self, count, watched=False):
        return self._devtools.evaluate(
            f"steppedPage.step({count}, {'true' if watched else 'false'})")

    def key(self, name, down):
        key, code, virtual = KEYS[name]
        self._devtools.call("Input.dispatchKeyEvent", type="rawKeyDown" if down else "keyUp",
                            key=key, code=code, windowsVirtualKeyCode=virtual,
                            nativeVirtualKeyCode=virtual)

    def tap(self, name, frames):
        self.key(name, True)
        self.step(1)
        self.key(name, False)
        self.step(frames)

    def control(self, control, held):
        kind, what = control
        if kind == "key":
            self.key(what, held)
        else:
            held = "true" if held else "false"
            self._devtools.evaluate(f"steppedPage.holdButton({what}, {held})")


def play_frames(web_build, start, control):
    """The pictures from the control's event on (or from the same frame with no control)."""
    with WebSession(web_build, devtools=True) as session:
        session.open("index.html")
        devtools = DevTools(session.profile_dir)
        try:
            # The page's focus, whatever the X server's window manager (none) does with it.
            devtools.call("Emulation.setFocusEmulationEnabled", enabled=True)
            wait_for(lambda: devtools.evaluate(
                "!!window.steppedPage && steppedPage.ready()"), 60, "the game's first frame")
            page = SteppedPage(devtools)
            page.step(120)
            if STARTS[start]["pad_shown"]:
                devtools.evaluate("steppedPage.showPad()")
            page.step(60)
            page.tap("enter", 0)
            # The road, past its fade; the walker turned up, which at the top keeps it still.
            page.step(180)
            page.tap("q", 30)
            if STARTS[start]["walking_down"]:
                page.tap("z", 6)
            if control:
                page.control(control, True)
            frames = page.step(HELD_FRAMES, watched=True)
            if control:
                page.control(control, False)
            return frames + page.step(WATCHED_FRAMES - HELD_FRAMES, watched=True)
        finally:
            devtools.close()


def latency(without, with_control):
    for index, (a, b) in enumerate(zip(without, with_control)):
        if a != b:
            return index + 1
    return -1


def main():
    if len(sys.argv) != 2:
        print("usage: web_input_latency_bench.py WEB_BUILD")
        return 2
    folder = tempfile.mkdtemp(prefix="skiddlewick-latency.")
    try:
        page_with_script(sys.argv[1], folder, STANDARD_PAD_SCRIPT + STEPPED_PAGE)
        without = {start: play_frames(folder, start, None) for start in STARTS}
        if play_frames(folder, "standing", None) != without["standing"]:
            print("web input latency: the page without a key did not play the same twice")
            return 1
        counts = {}
        for name, start, control in CONTROLS:
            counts[name] = latency(without[start], play_frames(folder, start, control))
            print(f"{name:<22} {counts[name]} frame(s)", flush=True)
        shown_nothing = [name for name, count in counts.items() if count < 0]
        if shown_nothing:
            print(f"web input latency: nothing shown within {WATCHED_FRAMES} frames by "
                  + ", ".join(shown_nothing))
            return 1
        return 0
    except (WebSessionError, DevToolsError) as error:
        print(f"web input latency: {error}")
        return 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
