#!/usr/bin/python3
"""The example's drawings written in CAD text mode 4 (every character outside
ASCII as "\\U+XXXX") as today's DXF readers see them, against the golden files
of the same drawings (mode 1, DOS850):

  ezdxf     the file is pure ASCII and names ANSI_1252; ezdxf's recover reader (the
            one its documentation names for files from other programs) loads it
            with nothing to fix, the audit finds nothing, and every text reads back
            as the golden file's text decoded by CP850: the project's umlauts, "ß",
            "±" and "°".
  librecad  LibreCAD's dxf2pdf prints the file exactly as it prints the same
            drawing saved as a UTF-8 DXF (R2007); the golden DOS850 file prints
            differently, which shows the comparison can fail. LibreCAD draws texts
            with its own stroke fonts, so the PDF holds no text for pdftotext: the
            pages are compared as pictures (pdftoppm). Exits 77 (skipped) without librecad.

Usage: check_unicode_dxf.py ezdxf|librecad FOLDER GOLDEN_FOLDER"""

import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

ESCAPE = re.compile(r"\\U\+([0-9A-Fa-f]{4})")


def drawings(folder, golden):
    return [(folder / path.name, path) for path in sorted(golden.glob("*.dxf"))]


def texts(doc):
    """Every TEXT of the drawing and of its blocks, in file order."""
    found = [e.dxf.text for e in doc.modelspace() if e.dxftype() == "TEXT"]
    for block in doc.blocks:
        if not block.name.startswith("*"):
            found += [e.dxf.text for e in block if e.dxftype() == "TEXT"]
    return found


def check_ezdxf(folder, golden):
    import ezdxf
    from ezdxf import recover

    sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "cad"))
    from dxf_reading import read

    faults = []
    for path, reference in drawings(folder, golden):
        raw = path.read_bytes()
        if max(raw) > 127:
            faults.append(f"{path.name}: a byte outside ASCII")
        doc, loading = recover.readfile(str(path))
        faults += [f"{path.name}: loading: {e.message}" for e in loading.errors + loading.fixes]
        audit = doc.audit()
        faults += [f"{path.name}: audit: {e.message}" for e in audit.errors + audit.fixes]
        if doc.header.get("$DWGCODEPAGE") != "ANSI_1252":
            faults.append(f"{path.name}: $DWGCODEPAGE {doc.header.get('$DWGCODEPAGE')}")
        got, want = texts(doc), texts(read(reference)[0])
        if got != want:
            wrong = [(g, w) for g, w in zip(got, want) if g != w][:3]
            faults.append(f"{path.name}: {len(got)} texts, golden {len(want)}; first differences {wrong}")
        special = "".join(sorted({c for t in got for c in t if ord(c) > 127}))
        print(f"{path.name}: {len(got)} texts, beyond ASCII {special!r} (ezdxf {ezdxf.__version__})")
    return faults


def utf8_copy(path, target):
    """The same drawing as a UTF-8 DXF of R2007, which every reader decodes as UTF-8."""
    text = path.read_bytes().decode("ascii")
    text = text.replace("  2\r\nHEADER\r\n", "  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\nAC1021\r\n", 1)
    target.write_bytes(ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), text).encode("utf-8"))


def picture(pdf):
    """The first page as grey pixels (pdftoppm's PGM, without its header)."""
    subprocess.run(["pdftoppm", "-r", "100", "-gray", "-singlefile", str(pdf), str(pdf.with_suffix(""))], check=True)
    data = pdf.with_suffix(".pgm").read_bytes()
    header = data.split(b"\n", 3)  # "P5", width height, maximum, pixels
    return header[1], header[3]


def check_librecad(folder, golden):
    librecad = shutil.which("librecad")
    if librecad is None:
        print("SKIPPED: librecad (Debian package librecad) is not installed")
        return None
    faults = []
    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        names = []
        for path, reference in drawings(folder, golden):
            stem = path.stem
            shutil.copy(path, work / f"{stem}-mode4.dxf")
            shutil.copy(reference, work / f"{stem}-dos850.dxf")
            utf8_copy(path, work / f"{stem}-utf8.dxf")
            names += [f"{stem}-mode4.dxf", f"{stem}-dos850.dxf", f"{stem}-utf8.dxf"]
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=str(work), HOME=str(work))
        run = subprocess.run([librecad, "dxf2pdf", "-a", "-t", str(work)] + names, cwd=work, env=env,
                             capture_output=True, text=True, timeout=240)
        for path, _ in drawings(folder, golden):
            stem = path.stem
            pdfs = [work / f"{stem}-{kind}.pdf" for kind in ("mode4", "utf8", "dos850")]
            if not all(p.exists() for p in pdfs):
                faults.append(f"{stem}: dxf2pdf wrote no PDF: {run.stdout[-300:]} {run.stderr[-300:]}")
                continue
            mode4, utf8, dos850 = (picture(p) for p in pdfs)
            if mode4 != utf8:
                differing = sum(a != b for a, b in zip(mode4[1], utf8[1]))
                faults.append(f"{stem}: LibreCAD prints mode 4 unlike UTF-8 ({differing} pixels differ)")
            if dos850 == utf8:
                faults.append(f"{stem}: the DOS850 file prints like UTF-8: the comparison shows nothing")
            print(f"{stem}: LibreCAD prints mode 4 {'as' if mode4 == utf8 else 'UNLIKE'} UTF-8")
    return faults


def main():
    reader, folder, golden = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    faults = check_ezdxf(folder, golden) if reader == "ezdxf" else check_librecad(folder, golden)
    if faults is None:
        return 77
    for fault in faults:
        print(fault)
    print(f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
