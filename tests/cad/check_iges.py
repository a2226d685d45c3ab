#!/usr/bin/python3
"""Reads every IGES sample with OpenCASCADE (Debian's occt-draw, run headless):
the reader's model check must report no failure, it must load exactly the
entities the directory section holds, and the geometry it builds must lie on
the 160 x 120 mm sheet of the sample (a wrong scale or coordinate leaves it)."""

import pathlib
import re
import subprocess
import sys
import tempfile

FOLDER = pathlib.Path(sys.argv[1])


def written_entities(path):
    records = path.read_bytes().split(b"\r\n")
    return sum(1 for r in records if len(r) == 80 and r[72:73] == b"D") // 2


def read_with_occt(path):
    script = (f"pload DATAEXCHANGE\npload MODELING\nputs [igesbrep {{{path}}} r *]\n"
              "puts \"=== box [bounding r]\"\nputs \"=== check\"\nputs [data c]\nexit\n")
    with tempfile.NamedTemporaryFile("w", suffix=".tcl", delete=False) as f:
        f.write(script)
    try:
        run = subprocess.run(["occt-draw", "-b", "-f", f.name], capture_output=True, text=True,
                             errors="replace", timeout=240)
    finally:
        pathlib.Path(f.name).unlink()
    return run.stdout + run.stderr


def check(path):
    output = read_with_occt(path)
    problems = []
    loaded = re.search(r"Total number of loaded entities (\d+)", output)
    written = written_entities(path)
    if not loaded:
        problems.append("no entity count from the reader:\n" + output)
    elif int(loaded.group(1)) != written:
        problems.append(f"loaded {loaded.group(1)} entities, the file holds {written}")
    box = re.search(r"=== box (\S+) (\S+) \S+ (\S+) (\S+) \S+", output)
    if not box:
        problems.append("no bounding box from the reader")
    else:
        xmin, ymin, xmax, ymax = (float(v) for v in box.groups())
        if xmin < -1e-3 or ymin < -1e-3 or xmax > 160.001 or ymax > 120.001 or xmax - xmin < 100:
            problems.append(f"geometry {xmin:.3f} {ymin:.3f} - {xmax:.3f} {ymax:.3f} is not on the sheet")
    check_list = output.split("=== check", 1)[-1]
    problems += [line.strip() for line in check_list.splitlines() if re.match(r"\s*\d+\s+F:", line)]
    return written, problems


def main():
    failed = False
    samples = sorted(FOLDER.glob("*.igs"))
    if not samples:
        print("no IGES samples in", FOLDER)
        return 1
    for path in samples:
        written, problems = check(path)
        print(f"{path.name}: {'OK' if not problems else 'FAILED'} ({written} entities)")
        for p in problems:
            print("  " + p)
        failed |= bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
