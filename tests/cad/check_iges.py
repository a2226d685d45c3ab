#!/usr/bin/python3
"""Reads every IGES sample with OpenCASCADE (Debian's occt-draw, run headless):
the reader's model check ("data c") must report no failure and no warning about
a text string, it must load exactly the entities the directory section holds,
the geometry it builds must lie on the 160 x 120 mm sheet of the sample (a
wrong scale or coordinate leaves it), and the text of every general note must
be one the drawing layer was asked to write (calls.txt, written beside them)."""

import pathlib
import re
import subprocess
import sys
import tempfile

FOLDER = pathlib.Path(sys.argv[1])


def entity_types(path):
    """The type of every entity of the directory section, in order (entity n is n - 1)."""
    records = path.read_bytes().split(b"\r\n")
    directory = [r for r in records if len(r) == 80 and r[72:73] == b"D"]
    return [int(r[:8]) for r in directory[::2]]


def expected_texts():
    """The texts the drawing layer was asked to write (stored code page, as latin-1)."""
    lines = (FOLDER / "calls.txt").read_bytes().decode("latin-1").splitlines()
    return {line[5:].rsplit(" ", 2)[0] for line in lines if line.startswith("text ")}


def read_with_occt(path, notes):
    dumps = "".join(f"puts [entity {n} 5]\n" for n in notes)
    script = (f"pload DATAEXCHANGE\npload MODELING\nputs [igesbrep {{{path}}} r *]\n"
              "puts \"=== box [bounding r]\"\nputs \"=== check\"\nputs [data c]\n"
              f"puts \"=== notes\"\n{dumps}exit\n")
    with tempfile.NamedTemporaryFile("w", suffix=".tcl", delete=False) as f:
        f.write(script)
    try:
        run = subprocess.run(["occt-draw", "-b", "-f", f.name], capture_output=True, timeout=240)
    finally:
        pathlib.Path(f.name).unlink()
    # Draw prints each byte of a note as the Latin-1 character, in UTF-8.
    return (run.stdout + run.stderr).decode("utf-8", errors="replace")


def check(path):
    types = entity_types(path)
    notes = [n for n, t in enumerate(types, 1) if t == 212]
    output = read_with_occt(path, notes)
    problems = []
    loaded = re.search(r"Total number of loaded entities (\d+)", output)
    written = len(types)
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
    check_list, _, dumps = output.split("=== check", 1)[-1].partition("=== notes")
    problems += [line.strip() for line in check_list.splitlines()
                 if re.match(r"\s*\d+\s+(F:|W:.*(string|hollerith))", line, re.IGNORECASE)]
    read = re.findall(r'^Text : "(.*)"$', dumps, re.MULTILINE)
    if len(read) != len(notes):
        problems.append(f"{len(read)} note texts read, the file holds {len(notes)}")
    expected = expected_texts()
    problems += [f"note text {t!r} was not written" for t in read if t not in expected]
    problems += [f"text {t!r} is not among the notes" for t in sorted(expected - set(read))]
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
