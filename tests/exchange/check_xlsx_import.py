#!/usr/bin/env python3
"""The .xlsx import against a real reader and writer, openpyxl: the workbook the
import tests build in LibreOffice's shape must open in openpyxl with the cell
types meant, and a workbook openpyxl writes must import with the values it holds.
Usage: check_xlsx_import.py FOLDER PROBE"""
import pathlib
import subprocess
import sys

import openpyxl

HEADINGS = ["El.Nr.", "Vorg.el.", "+/-", "Nennmaß", "ob.Tol.", "unt.Tol.", "ISO-Tol.", "Text", "Info"]


def main():
    folder, probe = pathlib.Path(sys.argv[1]), sys.argv[2]
    faults = []
    subprocess.run([probe, "write", str(folder)], check=True)
    sheet = openpyxl.load_workbook(folder / "inline.xlsx", data_only=True).worksheets[0]
    expected = {"A1": "El.Nr.", "D1": "Nennmaß", "A2": 1, "C2": True, "D2": 25.5, "E2": 0.021, "G2": "H 7",
                "H2": "Welle", "C3": False, "E3": None, "F3": -0.1, "H3": "Nabe", "I3": 4711}
    for ref, want in expected.items():
        got = sheet[ref].value
        if got != want or type(got) is not type(want):
            faults.append(f"inline.xlsx {ref}: {got!r}, want {want!r}")

    book = openpyxl.Workbook()
    written = book.active
    written.title = "Maßelemente"
    written.append(HEADINGS)
    written.append([1, 0, "+", 25.5, 0.021, 0, "H 7", "Welle", None])
    written.append([2, 1, False, 10, 0, -0.1, None, 4711, 1e-3])
    written.append([3, 2, "-", 12.625, 1e-7, -1e-7, "js 12", "Gehäuse", "Bemerkung"])
    book.save(folder / "openpyxl.xlsx")
    out = subprocess.run([probe, "read", str(folder / "openpyxl.xlsx")], check=True, capture_output=True,
                         encoding="utf-8").stdout.splitlines()
    want = ["1; 0; +; 25.5; 0.021; 0; H 7; Welle; ",
            "2; 1; -; 10; 0; -0.1; ; 4711; 0.001",
            "3; 2; -; 12.625; 0.0000001; -0.0000001; js 12; Gehäuse; Bemerkung"]
    if out != want:
        faults.append(f"openpyxl.xlsx imported as {out!r}, want {want!r}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
