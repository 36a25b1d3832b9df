#!/usr/bin/env python3
"""The link check of tools/check_layers.py on objects compiled for it (tests/layers/fixture/src/):
files/ calling a function that only game/ defines fails the check, with one line naming the
object, the function and the folder; host/main.cpp making the same call is the one exemption.

usage: check_links_test.py CHECKER OBJECT_LIST
"""

import subprocess
import sys


def main():
    checker, objects = sys.argv[1], sys.argv[2]
    result = subprocess.run(
        [sys.executable, checker, "--objects", objects], capture_output=True, text=True
    )
    expected = ["src/files/calls_up.cpp: uses fixture_DefinedAbove(), defined in game/"]
    found = result.stdout.splitlines()
    if result.returncode != 1 or found != expected:
        print(f"status {result.returncode}, lines {found}; expected 1, {expected}")
        print(result.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
