#!/usr/bin/env python3
"""Fails when a folder of src/ includes a header from a folder of a higher tier.

The tiers are written once, here, lowest first. A folder may include its own headers and those of
any lower tier; within one tier, folders may include each other only where the tier says so.
tests/, tools/, bench/ and fuzz/ stand outside the rule: they may include anything.

Also fails when a file of src/ outside host/ includes GLFW: the host alone speaks to the window
system, and the layers below and above it see game key codes, axes, buttons and sizes.
"""

import pathlib
import re
import sys

# (folders, whether they may include each other)
TIERS = [
    (["runtime"], False),
    (["files", "input", "markup"], False),
    (["host"], False),
    (["graphics", "audio"], False),
    (["loading"], False),
    (["collision", "persist", "text"], False),
    # The game itself: the application and its screens hand the player to one another.
    (["game", "screens", "road", "ski"], True),
    # Recording and replaying games, which watch the whole game from above.
    (["replay"], False),
]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"', re.MULTILINE)
GLFW_INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]GLFW/', re.MULTILINE)
GLFW_FOLDER = "host"


def tier_of(folder):
    for index, (folders, _) in enumerate(TIERS):
        if folder in folders:
            return index
    return None


def violations(src):
    found = []
    for folder in sorted(p.name for p in src.iterdir() if p.is_dir()):
        if tier_of(folder) is None:
            found.append(f"src/{folder}/: not placed in a tier of tools/check_layers.py")
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(src).parts[0]
        own = tier_of(folder)
        if own is None:
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        if folder != GLFW_FOLDER:
            for match in GLFW_INCLUDE.finditer(text):
                line = text.count("\n", 0, match.start()) + 1
                found.append(f"{path.relative_to(src.parent)}:{line}: GLFW outside {GLFW_FOLDER}/")
        for match in INCLUDE.finditer(text):
            target = match.group(1)
            other = tier_of(target)
            if other is None or target == folder:
                continue
            line = text.count("\n", 0, match.start()) + 1
            where = f"{path.relative_to(src.parent)}:{line}"
            if other > own:
                found.append(f"{where}: {folder}/ includes the higher {target}/")
            elif other == own and not TIERS[own][1]:
                found.append(f"{where}: {folder}/ includes {target}/ of its own tier")
    return found


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    found = violations(root / "src")
    for message in found:
        print(message)
    if found:
        order = " <- ".join(", ".join(folders) for folders, _ in TIERS)
        print(f"layer order (lowest first): {order}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
