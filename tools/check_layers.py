#!/usr/bin/env python3
"""Fails when a product source includes a header of a layer above its own,
or when a layer declares a process-wide object that none of its own sources
uses (it belongs to the layer above that does: declared lower only to pass
the include rule, it would hide who owns it).

The layers, bottom to top; a folder may include its own headers and those of
the layers below it, never those of a layer above or beside it.

    check_layers.py SOURCE_ROOT
"""
import os
import re
import sys

# (folder, level). Folders of one level stand side by side and may not
# include each other.
LAYERS = [
    ("resources", 0),
    ("shared", 0),
    ("saver/log", 1),
    ("saver/settings", 2),
    ("saver/processes", 3),
    ("saver/windows", 4),
    ("saver/session", 5),
    ("saver/dialog", 5),
    ("saver/app", 6),
    ("tray", 1),
    ("samples/framework", 1),
    ("samples/starfield", 2),
    ("samples/plasma", 2),
    ("samples/clock", 2),
]


def layer_of(path):
    best = None
    for folder, level in LAYERS:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best[0]):
                best = (folder, level)
    return best


def sources_of(root, folder):
    found = []
    for directory, _, names in os.walk(os.path.join(root, folder)):
        for name in names:
            if name.endswith((".h", ".cpp")):
                path = os.path.relpath(os.path.join(directory, name), root)
                if layer_of(path)[0] == folder:
                    found.append(path)
    return found


def unused_objects(root, folder):
    """Objects declared extern in the folder's headers that no function of
    the folder uses: only their declaration and definition name them."""
    faults = []
    texts = {}
    for path in sources_of(root, folder):
        with open(os.path.join(root, path), encoding="utf-8") as f:
            texts[path] = f.read()
    for path, text in texts.items():
        if not path.endswith(".h"):
            continue
        for match in re.finditer(r"^extern [^;(]*?\b(\w+)(\[\w*\])?;", text, re.M):
            name = match[1]
            uses = 0
            for other, body in texts.items():
                for line in body.splitlines():
                    if not re.search(r"\b%s\b" % name, line) or line.lstrip().startswith("//"):
                        continue
                    declaration = re.match(r"^(extern )?[\w:<>, *]+?\b%s\b(\[\w*\])?( =.*)?;" % name,
                                           line.strip())
                    if not declaration:
                        uses += 1
            if uses == 0:
                number = text[:match.start()].count("\n") + 1
                faults.append(f"{path}:{number}: {name} is declared in {folder}, "
                              "which never uses it")
    return faults


def main(root):
    faults = []
    for folder, _ in LAYERS:
        faults += unused_objects(root, folder)
    checked = 0
    for folder, _ in LAYERS:
        for directory, _, names in os.walk(os.path.join(root, folder)):
            for name in names:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(directory, name), root)
                own = layer_of(path)
                checked += 1
                with open(os.path.join(root, path), encoding="utf-8") as f:
                    for number, line in enumerate(f, 1):
                        match = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
                        if not match:
                            continue
                        target = os.path.normpath(os.path.join(os.path.dirname(path), match[1]))
                        if not os.path.exists(os.path.join(root, target)):
                            target = os.path.normpath(match[1])
                        if not os.path.exists(os.path.join(root, target)):
                            continue  # generated or system header
                        theirs = layer_of(target)
                        if theirs is None or theirs[0] == own[0] or theirs[1] < own[1]:
                            continue
                        faults.append(f"{path}:{number}: {own[0]} includes {target} of "
                                      f"{theirs[0]}, which is not below it")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} faults of the layers in {checked} files")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
