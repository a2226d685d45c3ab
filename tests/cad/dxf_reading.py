"""What a CAD reader makes of our DXF files, through ezdxf (Debian's
python3-ezdxf): the area each SOLID fills. Shared by the DXF checks of
tests/cad and tests/diagrams."""


def filled_area(solid):
    """The area a reader fills for a SOLID, its corners taken in ezdxf's own
    drawing order (1, 2, 4, 3; a triangle repeats its third corner)."""
    corners = solid.vertices()
    twice = sum(a.x * b.y - b.x * a.y for a, b in zip(corners, corners[1:] + corners[:1]))
    return abs(twice) / 2


def empty_solids(entities):
    """The SOLIDs among `entities` that fill nothing."""
    return [e for e in entities if e.dxftype() == "SOLID" and filled_area(e) < 1e-9]
