#!/usr/bin/python3
"""Reads every golden DXF file of the diagrams with ezdxf (Debian's
python3-ezdxf): the audit must find nothing to complain about or to fix, every
entity must stand on a layer of the layer table, the drawing must show
something, and the project drawing must insert its frame block. Every arrowhead
(SOLID) must fill an area, and the texts must read back by the code page the
header names with no other letters than a German drawing uses."""

import pathlib
import sys

import ezdxf

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "cad"))
from dxf_reading import empty_solids, read  # noqa: E402

# Beyond ASCII the example's texts use these; a text read by the wrong code page
# shows others ("Maáelemente", "Geh„use", "ñ0.175").
GERMAN = set("ÄÖÜäöüß±°")


def check(path):
    doc, codepage = read(path)
    auditor = doc.audit()
    problems = [f"audit: {e.message}" for e in auditor.errors] + [f"audit fix: {f.message}" for f in auditor.fixes]
    if codepage is None:
        problems.append("no $DWGCODEPAGE: readers take the texts for Windows-1252")
    layers = {layer.dxf.name for layer in doc.layers}
    entities = list(doc.modelspace())
    for block in doc.blocks:
        if not block.name.startswith("*"):
            entities += list(block)
    if not any(e.dxftype() != "INSERT" for e in entities):
        problems.append("nothing is drawn")
    for e in entities:
        if e.dxf.layer not in layers:
            problems.append(f"{e.dxftype()} on layer {e.dxf.layer}, which the table lacks")
            break
    empty = empty_solids(entities)
    if empty:
        solids = sum(1 for e in entities if e.dxftype() == "SOLID")
        problems.append(f"{len(empty)} of {solids} SOLIDs fill nothing, the first at {empty[0].dxf.vtx0}")
    texts = [e.dxf.text for e in entities if e.dxftype() == "TEXT"]
    strange = sorted({c for t in texts for c in t if ord(c) > 127 and c not in GERMAN})
    if strange:
        problems.append(f"texts read with {''.join(strange)!r}: {[t for t in texts if set(t) & set(strange)][:3]}")
    if path.stem == "drawing" and "Maßelemente" not in texts:
        problems.append("no text 'Maßelemente'")
    if path.stem == "drawing":
        frame = doc.blocks.get("FRAME_1")
        if frame is None or len(frame) == 0:
            problems.append("no frame block")
        if not any(e.dxftype() == "INSERT" and e.dxf.name == "FRAME_1" for e in doc.modelspace()):
            problems.append("the frame is not inserted")
    return len(entities), problems


def main():
    folder = pathlib.Path(sys.argv[1])
    files = sorted(folder.glob("*.dxf"))
    if not files:
        print(f"no DXF files in {folder}")
        return 1
    failed = False
    for path in files:
        count, problems = check(path)
        print(f"{path.name}: {'OK' if not problems else 'FAILED'} ({count} entities, ezdxf {ezdxf.__version__})")
        for p in problems:
            print("  " + p)
        failed |= bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
