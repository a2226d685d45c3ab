#!/usr/bin/env python3
"""The folders of the core stand in layers; a folder includes only its own layer
and the layers below it. Prints every include that reaches up and fails on one.
Usage: check_layers.py CORE_FOLDER"""
import pathlib
import re
import sys

# From the ground up; folders on one line share a layer.
LAYERS = [
    ["text", "platform"],
    ["model", "standards", "config", "lang", "records"],
    ["session"],
    ["files", "report", "messages", "graphics", "cad", "analysis", "editors", "exchange"],
    ["app"],
]
LEVEL = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s*"core/([a-z_]+)/')


def main() -> int:
    core = pathlib.Path(sys.argv[1])
    faults = []
    folders = sorted(p.name for p in core.iterdir() if p.is_dir())
    for folder in folders:
        if folder not in LEVEL:
            faults.append(f"core/{folder}: a folder without a layer")
    for path in sorted(core.rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.parent.name not in LEVEL:
            continue
        own = LEVEL[path.parent.name]
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if match and LEVEL.get(match.group(1), 99) > own:
                faults.append(f"{path.relative_to(core.parent)}:{number}: includes core/{match.group(1)}, a layer above")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} includes against the layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
