#!/usr/bin/env python3
"""The folders of the core stand in layers; a folder includes only its own layer
and the layers below it, and no folders include each other, not even within one
layer. Prints every include that reaches up and every ring of folders that
include each other, and fails on one.
Usage: check_layers.py CORE_FOLDER"""
import pathlib
import re
import sys

# From the ground up; folders on one line share a layer.
LAYERS = [
    ["text", "platform"],
    ["model", "standards", "config", "lang", "records"],
    ["session"],
    ["files", "messages", "graphics"],
    ["cad", "report"],
    ["analysis", "exchange"],
    ["editors"],
    ["app"],
]
INCLUDE = re.compile(r'^\s*#\s*include\s*"core/([a-z_]+)/')


def levels(layers):
    return {folder: level for level, folders in enumerate(layers) for folder in folders}


def includes(core: pathlib.Path):
    """Every include of another core folder: (folder, included folder, where)."""
    found = []
    for path in sorted(core.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(core).parts[0]
        if folder == path.name:
            continue  # a file directly in core/ belongs to no folder
        text = path.read_text(encoding="utf-8", errors="replace")
        for number, line in enumerate(text.splitlines(), 1):
            match = INCLUDE.match(line)
            if match and match.group(1) != folder:
                found.append((folder, match.group(1), f"{path.relative_to(core.parent)}:{number}"))
    return found


def rings(edges):
    """The groups of folders that reach each other through includes (Tarjan's
    strongly connected components), each sorted, largest ring first."""
    graph = {}
    for a, b in edges:
        graph.setdefault(a, set()).add(b)
        graph.setdefault(b, set())
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(graph[node]):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                found.append(sorted(group))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return sorted(found, key=lambda g: (-len(g), g))


def check(core: pathlib.Path, layers=LAYERS):
    """The faults of the tree under `core`, one line each."""
    level = levels(layers)
    faults = []
    for folder in sorted(p.name for p in core.iterdir() if p.is_dir()):
        if folder not in level:
            faults.append(f"core/{folder}: a folder without a layer")
    found = includes(core)
    first = {}
    for folder, target, where in found:
        first.setdefault((folder, target), where)
        if folder in level and level.get(target, len(layers)) > level[folder]:
            faults.append(f"{where}: includes core/{target}, a layer above")
    for group in rings(first):
        members = set(group)
        places = [f"{where} includes core/{b}" for (a, b), where in sorted(first.items()) if a in members and b in members]
        names = ", ".join(f"core/{g}" for g in group)
        faults.append(f"{names} include each other: " + "; ".join(places))
    return faults


def main() -> int:
    faults = check(pathlib.Path(sys.argv[1]))
    for fault in faults:
        print(fault)
    print(f"{len(faults)} includes against the layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
