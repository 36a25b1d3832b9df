#!/usr/bin/env python3
"""The browser plays the same game: every tests/replay/*.replay gives the same trace, byte for
byte, in the web build's replay page as in the desktop's skiddlewick-replay.

    web_replay_test.py DESKTOP_REPLAY WEB_BUILD REPLAY_DIR
"""

import difflib
import glob
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools"))
from web_replay import run  # noqa: E402
from web_session import WebSessionError  # noqa: E402

TIMEOUT_PER_SCRIPT = 180


def desktop_trace(program, script, display):
    """The desktop tool's trace, or None after saying why there is none."""
    env = dict(os.environ, ALSOFT_DRIVERS="null", DISPLAY=display)
    try:
        with tempfile.TemporaryDirectory() as shots:
            run = subprocess.run([program, "--shots", shots, script], env=env,
                                 capture_output=True, text=True, timeout=TIMEOUT_PER_SCRIPT)
    except subprocess.TimeoutExpired:
        print(f"{script}: the desktop tool did not finish within {TIMEOUT_PER_SCRIPT} s")
        return None
    if run.returncode != 0:
        print(f"{script}: the desktop tool ended with status {run.returncode}\n{run.stderr}")
        return None
    return run.stdout


def main():
    program, web_build, replay_dir = sys.argv[1:4]
    scripts = sorted(glob.glob(os.path.join(replay_dir, "*.replay")))
    if not scripts:
        print(f"no scripts in {replay_dir}")
        return 1
    failures = 0
    try:
        for script, outcome, display in run(web_build, scripts, TIMEOUT_PER_SCRIPT):
            name = os.path.basename(script)
            # On the session's X server, beside the browser running the next script.
            desktop = desktop_trace(program, script, display)
            if desktop is None:
                failures += 1
            elif outcome["status"] != 0:
                print(f"{name}: the page ended with status {outcome['status']}\n"
                      f"{outcome['errors']}")
                failures += 1
            elif outcome["trace"] != desktop:
                diff = difflib.unified_diff(desktop.splitlines(), outcome["trace"].splitlines(),
                                            "desktop", "web", n=0, lineterm="")
                print(f"{name}: the traces differ\n" + "\n".join(list(diff)[:12]))
                failures += 1
            else:
                print(f"{name}: {desktop.count(chr(10))} lines identical "
                      f"(web {outcome['ms'] / 1000:.1f} s)")
    except WebSessionError as error:
        print(f"web replay: {error}")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
