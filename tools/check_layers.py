#!/usr/bin/env python3
"""Fails when a folder of src/ includes a header from a folder of a higher tier.

The tiers are written once, here, lowest first. A folder may include its own headers and those of
any lower tier; within one tier, folders may include each other only where the tier says so.
tests/, tools/, bench/ and fuzz/ stand outside the rule: they may include anything. The program's
entry, host/main.cpp, is the one file of src/ that may know every tier: it hands the higher ones
to the lower.

Also fails when a file of src/ outside host/ includes GLFW: the host alone speaks to the window
system, and the layers below and above it see game key codes, axes, buttons and sizes.

With --objects LIST (a file naming the compiled objects of src/, one a line), it checks the links
instead, which no include shows: a function declared low and defined high. Every symbol an
object uses must be defined by its own folder, a lower tier, or a folder of its tier that the tier
lets it include; symbols no object of src/ defines (the C++ and system libraries) are not judged.
The objects need a build: `make check` runs the include check alone, and the test LayerLinks runs
this one on the build's objects.
"""

import argparse
import pathlib
import re
import subprocess
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
# The program's entry, relative to src/.
ENTRY = "host/main.cpp"


def tier_of(folder):
    for index, (folders, _) in enumerate(TIERS):
        if folder in folders:
            return index
    return None


def may_use(folder, other):
    """Whether code of `folder` may include or call into `other`."""
    own, theirs = tier_of(folder), tier_of(other)
    if own is None or theirs is None or folder == other:
        return True
    return theirs < own or (theirs == own and TIERS[own][1])


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
        if path.relative_to(src).as_posix() == ENTRY:
            continue
        for match in INCLUDE.finditer(text):
            target = match.group(1)
            if may_use(folder, target):
                continue
            line = text.count("\n", 0, match.start()) + 1
            where = f"{path.relative_to(src.parent)}:{line}"
            if tier_of(target) > own:
                found.append(f"{where}: {folder}/ includes the higher {target}/")
            else:
                found.append(f"{where}: {folder}/ includes {target}/ of its own tier")
    return found


def source_of(object_path):
    """The path under src/ of the source an object was compiled from (CMake names an object
    after its source: .../src/host/app.cpp.o), or None for an object from elsewhere."""
    parts = pathlib.PurePosixPath(object_path).parts
    if "src" not in parts or not object_path.endswith(".o"):
        return None
    start = len(parts) - 1 - parts[::-1].index("src")
    return pathlib.PurePosixPath(*parts[start + 1 :]).as_posix()[: -len(".o")]


# nm's letters: the upper-case ones are global definitions; U, and the lower-case v and w (weak),
# are uses of a symbol defined elsewhere.
UNDEFINED = {"U", "v", "w"}


def symbols(objects):
    """{object: (defined, used)} for each object, as nm reports them."""
    table = {obj: (set(), set()) for obj in objects}
    if not objects:
        return table
    out = subprocess.run(
        ["nm", "-A", "-P", *objects], check=True, capture_output=True, text=True
    ).stdout
    for line in out.splitlines():
        name_part, _, rest = line.rpartition(": ")
        fields = rest.split()
        if name_part not in table or len(fields) < 2:
            continue
        symbol, kind = fields[0], fields[1]
        if kind in UNDEFINED:
            table[name_part][1].add(symbol)
        elif kind.isupper():
            table[name_part][0].add(symbol)
    return table


def demangle(symbol):
    result = subprocess.run(["c++filt", symbol], capture_output=True, text=True)
    return result.stdout.strip() or symbol


def link_violations(objects):
    """One line for each symbol an object of src/ uses that only a folder it may not reach
    defines."""
    placed = {}
    for obj in objects:
        source = source_of(obj)
        if source is not None and tier_of(source.split("/")[0]) is not None:
            placed[obj] = source
    missing = [obj for obj in sorted(placed) if not pathlib.Path(obj).is_file()]
    if missing:
        return [f"{obj}: not built (build the program and the tests first)" for obj in missing]
    table = symbols(sorted(placed))
    definers = {}
    for obj, (defined, _) in table.items():
        folder = placed[obj].split("/")[0]
        for symbol in defined:
            definers.setdefault(symbol, set()).add(folder)
    found = []
    for obj, (_, used) in sorted(table.items(), key=lambda item: placed[item[0]]):
        source = placed[obj]
        if source == ENTRY:
            continue
        folder = source.split("/")[0]
        for symbol in sorted(used):
            folders = definers.get(symbol)
            if not folders or any(may_use(folder, other) for other in folders):
                continue
            where = ", ".join(f"{other}/" for other in sorted(folders))
            found.append(f"src/{source}: uses {demangle(symbol)}, defined in {where}")
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--objects", type=pathlib.Path, help="a file listing the objects of src/")
    arguments = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parent.parent
    if arguments.objects:
        listed = arguments.objects.read_text(encoding="utf-8").split("\n")
        found = link_violations([line.strip() for line in listed if line.strip()])
    else:
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
