#!/usr/bin/python3
"""Reads every DXF sample with ezdxf (Debian's python3-ezdxf): the audit must
find nothing, and the entities, their layers, coordinates and texts must be the
ones the drawing layer was asked to draw (calls.txt, written beside them). The
texts must read back as typed, umlauts and "±" included, by the code page the
header names (mode 4: by their "\\U+XXXX" escapes, the file pure ASCII); every
SOLID must fill an area."""

import pathlib
import sys

import ezdxf

from dxf_reading import empty_solids, read

FOLDER = pathlib.Path(sys.argv[1])
TWO_LETTER = {0x81: b"ue", 0x84: b"ae", 0x94: b"oe", 0x9A: b"Ue", 0x8E: b"Ae", 0x99: b"Oe", 0xE1: b"ss"}
# file: (CAD text mode, coordinate tolerance; calls.txt has four decimals)
SAMPLES = {"mode1.dxf": (1, 1e-4), "mode2.dxf": (2, 1e-4), "mode3.dxf": (3, 1e-4), "mode4.dxf": (4, 1e-4),
           "comma.dxf": (1, 1e-3)}
CODEPAGES = {1: "DOS850", 2: "ANSI_1252", 3: "DOS850", 4: "ANSI_1252"}
# Texts of the sample as the user typed them, by CAD text mode.
TYPED = {
    1: ["Größtmaß Übergänge", "Maßelemente, Gehäuse innen: ±0,175 mm, Kanten gebrochen 0,5 x 45°"],
    2: ["Größtmaß Übergänge", "Maßelemente, Gehäuse innen: ±0,175 mm, Kanten gebrochen 0,5 x 45°"],
    3: ["Groesstmass Uebergaenge", "Masselemente, Gehaeuse innen: ±0,175 mm, Kanten gebrochen 0,5 x 45°"],
    4: ["Größtmaß Übergänge", "Maßelemente, Gehäuse innen: ±0,175 mm, Kanten gebrochen 0,5 x 45°"],
}
TABLE_LAYERS = {"0", "1", "2", "3", "4", "5"} | {str(n) for n in range(16, 32)}


def full_circle(a1, a2):
    near = lambda a, b: abs(a - b) < 1e-5
    return near(a1, a2) or (near(a1, 0) and near(a2, 360)) or (near(a1, 360) and near(a2, 0))


def expected_calls():
    """Entities per block name ('*' for the drawing) in call order:
    (dxf type, layer, numbers, text or block name)."""
    out = {"*": []}
    layer, where = "0", "*"
    for line in (FOLDER / "calls.txt").read_bytes().decode("latin-1").splitlines():
        word, _, rest = line.partition(" ")
        if word == "layer":
            layer = rest
        elif word == "block":
            where = rest
            out[where] = []
        elif word.startswith("endblock"):
            where = "*"
        elif word == "text":
            parts = rest.rsplit(" ", 2)
            out[where].append(("TEXT", layer, [float(v) for v in parts[1:]], parts[0]))
        elif word == "insert":
            name, *numbers = rest.split(" ")
            out[where].append(("INSERT", layer, [float(v) for v in numbers], name))
        elif word in ("line", "circle", "arc", "solid"):
            numbers = [float(v) for v in rest.split(" ")]
            kind = word.upper()
            if kind == "ARC" and full_circle(numbers[2], numbers[3]):
                kind, numbers = "CIRCLE", numbers[:2] + numbers[4:]
            out[where].append((kind, layer, numbers, None))
    return out


def actual_numbers(e):
    t = e.dxftype()
    d = e.dxf
    if t == "LINE":
        return [d.start.x, d.start.y, d.end.x, d.end.y]
    if t == "CIRCLE":
        return [d.center.x, d.center.y, d.radius]
    if t == "ARC":
        return [d.center.x, d.center.y, d.start_angle, d.end_angle, d.radius]
    if t == "SOLID":
        return [c for v in (d.vtx0, d.vtx1, d.vtx2, d.vtx3) for c in (v.x, v.y)]
    if t == "TEXT":
        return [d.insert.x, d.insert.y]
    if t == "INSERT":
        return [d.insert.x, d.insert.y, d.rotation, d.xscale, d.yscale]
    raise AssertionError("unexpected entity " + t)


def typed_text(oem, mode):
    """The text of calls.txt (stored code page) as the user saw it, after the mode."""
    raw = oem.encode("latin-1")
    if mode == 3:
        raw = b"".join(TWO_LETTER.get(b, bytes([b])) for b in raw)
    return raw.decode("cp850")


def compare(name, entities, expected, mode, tolerance):
    problems = []
    if len(entities) != len(expected):
        return [f"{name}: {len(entities)} entities, expected {len(expected)}"]
    for i, (e, (kind, layer, numbers, extra)) in enumerate(zip(entities, expected)):
        where = f"{name} entity {i} ({kind})"
        if e.dxftype() != kind:
            problems.append(f"{where}: is {e.dxftype()}")
            continue
        if e.dxf.layer != layer:
            problems.append(f"{where}: layer {e.dxf.layer}, expected {layer}")
        got = actual_numbers(e)
        if any(abs(a - b) > tolerance for a, b in zip(got, numbers)) or len(got) != len(numbers):
            problems.append(f"{where}: {got} != {numbers}")
        if kind == "TEXT" and e.dxf.text != typed_text(extra, mode):
            problems.append(f"{where}: text {e.dxf.text!r}")
        if kind == "INSERT" and e.dxf.name != extra:
            problems.append(f"{where}: block {e.dxf.name}")
    return problems


def check(path, mode, tolerance, expected):
    if mode == 4 and max(pathlib.Path(path).read_bytes()) > 127:
        return ["mode 4 wrote a byte outside ASCII"]
    doc, codepage = read(path)
    auditor = doc.audit()
    problems = [f"audit: {e.message}" for e in auditor.errors] + [f"audit fix: {f.message}" for f in auditor.fixes]
    if codepage != CODEPAGES[mode]:
        problems.append(f"$DWGCODEPAGE is {codepage}, expected {CODEPAGES[mode]}")
    missing = TABLE_LAYERS - {layer.dxf.name for layer in doc.layers}
    if missing:
        problems.append(f"layer table lacks {sorted(missing)}")
    texts = {e.dxf.text for e in doc.modelspace() if e.dxftype() == "TEXT"}
    problems += [f"no text {t!r} among {sorted(texts)}" for t in TYPED[mode] if t not in texts]
    problems += [f"a SOLID fills nothing: {[tuple(v) for v in e.vertices()]}" for e in empty_solids(doc.modelspace())]
    problems += compare("drawing", list(doc.modelspace()), expected["*"], mode, tolerance)
    for block, entities in expected.items():
        if block == "*":
            continue
        if block not in doc.blocks:
            problems.append(f"block {block} is missing")
            continue
        problems += compare(block, list(doc.blocks.get(block)), entities, mode, tolerance)
    return problems


def main():
    expected = expected_calls()
    failed = False
    for name, (mode, tolerance) in SAMPLES.items():
        problems = check(str(FOLDER / name), mode, tolerance, expected)
        count = len(expected["*"])
        print(f"{name}: {'OK' if not problems else 'FAILED'} ({count} entities, ezdxf {ezdxf.__version__})")
        for p in problems:
            print("  " + p)
        failed |= bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
