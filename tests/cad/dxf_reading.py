"""What a CAD reader makes of our DXF files, through ezdxf (Debian's
python3-ezdxf): the texts decoded by the code page the header names, and the
area each SOLID fills. Shared by the DXF checks of tests/cad and tests/diagrams."""

import pathlib

import ezdxf
from ezdxf import recover
from ezdxf.tools.codepage import toencoding


def python_encoding(codepage):
    """The Python codec of a $DWGCODEPAGE name. ezdxf knows only the ANSI_ names
    and takes any other for Windows-1252; AutoCAD and libdxfrw read DOS850 as
    CP850, so the DOS names are mapped here."""
    if codepage.upper().startswith("DOS"):
        return "cp" + codepage[3:]
    return toencoding(codepage)


def read(path):
    """The document and the code page its header names (None without one); the
    texts are decoded by that code page, and "\\U+XXXX" escapes (CAD text mode 4)
    as ezdxf's recover reader decodes them; its plain reader leaves them as written."""
    if b"\\U+" in pathlib.Path(path).read_bytes():
        doc, loading = recover.readfile(str(path))
        if loading.has_errors:
            raise AssertionError(f"{path}: {[e.message for e in loading.errors]}")
        return doc, doc.header.get("$DWGCODEPAGE")
    doc = ezdxf.readfile(str(path))
    codepage = doc.header.get("$DWGCODEPAGE")
    if codepage and python_encoding(codepage) != toencoding(codepage):
        doc = ezdxf.readfile(str(path), encoding=python_encoding(codepage))
    return doc, codepage


def filled_area(solid):
    """The area a reader fills for a SOLID, its corners taken in ezdxf's own
    drawing order (1, 2, 4, 3; a triangle repeats its third corner)."""
    corners = solid.vertices()
    twice = sum(a.x * b.y - b.x * a.y for a, b in zip(corners, corners[1:] + corners[:1]))
    return abs(twice) / 2


def empty_solids(entities):
    """The SOLIDs among `entities` that fill nothing."""
    return [e for e in entities if e.dxftype() == "SOLID" and filled_area(e) < 1e-9]
