#!/usr/bin/env python3
"""The layer check on small made-up trees: what it reports, and its exit code."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import check_layers  # noqa: E402

# (name, files of the tree below core/, the faults printed in that order)
CASES = [
    ("layers kept", {
        "text/a.h": "#pragma once\n",
        "model/b.h": '#include "core/text/a.h"\n',
        "app/c.cpp": '#include "core/model/b.h"\n#include "core/text/a.h"\n',
    }, []),
    ("an include reaching up", {
        "text/a.cpp": '#include <string>\n#include "core/model/b.h"\n',
        "model/b.h": "",
    }, ["core/text/a.cpp:2: includes core/model, a layer above"]),
    ("spaces around the hash and a folder of its own", {
        "graphics/a.cpp": '#include "core/graphics/a.h"\n  #  include "core/cad/w.h"\n',
        "cad/w.h": "",
    }, ["core/graphics/a.cpp:2: includes core/cad, a layer above"]),
    ("a commented include is none", {
        "text/a.cpp": '// #include "core/app/x.h"\n/* #include "core/app/x.h" */\n',
        "app/x.h": "",
    }, []),
    ("two folders of one layer including each other", {
        "files/x.cpp": '#include "core/graphics/y.h"\n',
        "files/x.h": "",
        "graphics/y.h": "",
        "graphics/y.cpp": '#include "core/text/t.h"\n#include "core/files/x.h"\n',
        "text/t.h": "",
    }, ["core/files, core/graphics include each other: "
        "core/files/x.cpp:1 includes core/graphics; core/graphics/y.cpp:2 includes core/files"]),
    ("a ring of three in one layer", {
        "files/a.h": '#include "core/graphics/b.h"\n',
        "graphics/b.h": '#include "core/messages/c.h"\n',
        "messages/c.h": '#include "core/files/a.h"\n',
    }, ["core/files, core/graphics, core/messages include each other: "
        "core/files/a.h:1 includes core/graphics; core/graphics/b.h:1 includes core/messages; "
        "core/messages/c.h:1 includes core/files"]),
    ("one way within a layer", {
        "files/a.h": '#include "core/graphics/b.h"\n',
        "graphics/b.h": '#include "core/session/s.h"\n',
        "session/s.h": "",
    }, []),
    ("a pair across layers is reported both ways", {
        "text/a.h": '#include "core/model/b.h"\n',
        "model/b.h": '#include "core/text/a.h"\n',
    }, ["core/text/a.h:1: includes core/model, a layer above",
        "core/model, core/text include each other: core/model/b.h:1 includes core/text; core/text/a.h:1 includes core/model"]),
    ("a folder without a layer", {
        "widgets/w.cpp": '#include "core/app/x.h"\n',
        "text/t.cpp": '#include "core/widgets/w.h"\n',
    }, ["core/widgets: a folder without a layer",
        "core/text/t.cpp:1: includes core/widgets, a layer above"]),
    ("a file in a subfolder belongs to its top folder", {
        "graphics/deep/x.cpp": '#include "core/editors/e.h"\n',
        "editors/e.h": "",
    }, ["core/graphics/deep/x.cpp:1: includes core/editors, a layer above"]),
]


def make_tree(root: pathlib.Path, files):
    core = root / "core"
    core.mkdir()
    for name, text in files.items():
        path = core / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, encoding="utf-8")
    return core


class CheckLayers(unittest.TestCase):
    def test_cases(self):
        for name, files, expected in CASES:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                core = make_tree(pathlib.Path(root), files)
                self.assertEqual(check_layers.check(core), expected)

    def test_the_command_fails_only_on_a_fault(self):
        rows = [(files, expected) for name, files, expected in CASES if name in ("layers kept", "an include reaching up")]
        for files, expected in rows:
            with tempfile.TemporaryDirectory() as root:
                core = make_tree(pathlib.Path(root), files)
                run = subprocess.run([sys.executable, str(HERE / "check_layers.py"), str(core)],
                                     capture_output=True, text=True, timeout=30)
                self.assertEqual(run.returncode, 1 if expected else 0)
                self.assertEqual(run.stdout.splitlines(), expected + [f"{len(expected)} includes against the layers"])

    def test_no_folder_stands_in_two_layers(self):
        folders = [f for layer in check_layers.LAYERS for f in layer]
        self.assertEqual(sorted(folders), sorted(set(folders)))

if __name__ == "__main__":
    unittest.main()
