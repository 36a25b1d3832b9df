#!/usr/bin/env python3
"""Runs replay scripts in the browser (the web build's replay.html) and prints their traces.

    tools/web_replay.py [--web-build DIR] [--timeout SECONDS] [--out DIR] [--shots DIR] SCRIPT...

One script (- for standard input): its trace on standard output, the tool's messages on standard error, and the
replay's exit status. Several scripts run one after another in the same browser, each trace
written to DIR/NAME.trace (--out is then required). A page that does not finish within the
time-out (per script) ends the run with status 3 and a message saying so. With --shots, the PNGs
the scripts' `shot` commands wrote in the page are saved in DIR under their base names.
"""

import argparse
import base64
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from web_session import WebSession, WebSessionError  # noqa: E402

# The desktop tool's status for a script it cannot read; and a page that never finished.
CANNOT_READ = 2
TIMED_OUT = 3


def read_script(path):
    if path == "-":
        return sys.stdin.read()
    with open(path, encoding="utf-8") as script:
        return script.read()


def save_shots(folder, shots):
    """Writes the page's shots ({file name: base64}) into folder, each under its base name, as new
    files (as the desktop tool does, a picture already there is never replaced). False when one
    was there."""
    os.makedirs(folder, exist_ok=True)
    saved = True
    for name, data in shots.items():
        path = os.path.join(folder, os.path.basename(name))
        try:
            with open(path, "xb") as png:
                png.write(base64.b64decode(data))
        except FileExistsError:
            print(f"web-replay: shot: cannot write '{path}': File exists", file=sys.stderr)
            saved = False
    return saved


def run(web_build, scripts, timeout):
    """Yields (script, outcome, display): the page's report (status, trace, errors, ms, shots) and the
    session's X server, on which the next script is already running."""
    texts = [read_script(path) for path in scripts]
    with WebSession(web_build) as session:
        urls = [f"replay.html?script={session.add_file(text)}&report=/report" for text in texts]
        for url in urls[1:]:
            session.then_open(url)
        session.open(urls[0])
        for path in scripts:
            yield path, json.loads(session.wait_report(timeout)), session.display


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--web-build", default=os.path.join(
        os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "build-web"))
    parser.add_argument("--timeout", type=float, default=120)
    parser.add_argument("--out", help="folder for NAME.trace, one per script")
    parser.add_argument("--shots", help="folder for the PNGs the scripts' shot commands wrote")
    parser.add_argument("scripts", nargs="+")
    args = parser.parse_args()
    if len(args.scripts) > 1 and not args.out:
        parser.error("several scripts need --out")

    worst = 0
    try:
        for path, outcome, _ in run(args.web_build, args.scripts, args.timeout):
            if outcome["errors"]:
                print(outcome["errors"], file=sys.stderr)
            if args.shots and not save_shots(args.shots, outcome.get("shots", {})):
                worst = max(worst, 1)
            if args.out:
                name = os.path.splitext(os.path.basename(path))[0] + ".trace"
                with open(os.path.join(args.out, name), "w", encoding="utf-8") as trace:
                    trace.write(outcome["trace"])
                print(f"web-replay: {path}: status {outcome['status']}, "
                      f"{outcome['ms'] / 1000:.1f} s", file=sys.stderr)
            else:
                sys.stdout.write(outcome["trace"])
            worst = max(worst, outcome["status"])
    except OSError as error:
        print(f"web-replay: cannot read '{error.filename}': {error.strerror}", file=sys.stderr)
        return CANNOT_READ
    except WebSessionError as error:
        print(f"web-replay: {error}", file=sys.stderr)
        return TIMED_OUT
    return worst


if __name__ == "__main__":
    sys.exit(main())
