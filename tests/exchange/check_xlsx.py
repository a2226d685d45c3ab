#!/usr/bin/env python3
"""Reads the workbooks of spreadsheet_samples with openpyxl and compares every
cell with the CSV of the same project: numbers must be numeric cells holding the
same value, texts string cells with the same characters, the heading row bold.
Usage: check_xlsx.py FOLDER"""
import csv
import io
import pathlib
import sys

import openpyxl


def unguarded(text):
    """A text as typed: the export puts an apostrophe before one a spreadsheet
    would compute ("=...", "+49 ...", also behind apostrophes; a lone sign computes nothing)."""
    if not text.startswith("'"):
        return text
    inner = text[1:]
    rest = inner.lstrip("'")
    if not rest or rest[0] not in "=+-@\t\r" or inner in ("+", "-"):
        return text
    return inner


def csv_tables(folder):
    """The project's two CSV files, elements and results, each one table."""
    tables = []
    for name in ("project.csv", "project-ergebnisse.csv"):
        text = (folder / name).read_text(encoding="utf-8-sig")
        tables.append([[unguarded(f) for f in record] for record in csv.reader(io.StringIO(text, newline=""), delimiter=";")])
    return tables


def compare(sheet, rows, faults):
    if sheet.max_row != len(rows):
        faults.append(f"{sheet.title}: {sheet.max_row} rows, CSV has {len(rows)}")
    for r, record in enumerate(rows, 1):
        for c, expected in enumerate(record, 1):
            cell = sheet.cell(row=r, column=c)
            where = f"{sheet.title}!{cell.coordinate}"
            if r == 1:
                if cell.value != expected or not cell.font.b:
                    faults.append(f"{where}: heading {cell.value!r}, bold {cell.font.b}; want {expected!r}")
                continue
            if expected == "":
                if cell.value is not None:
                    faults.append(f"{where}: {cell.value!r}, want an empty cell")
                continue
            try:
                number = float(expected)
            except ValueError:
                number = None
            if number is not None and expected not in ("+", "-"):
                if cell.data_type != "n" or not isinstance(cell.value, (int, float)):
                    faults.append(f"{where}: {cell.value!r} of type {cell.data_type}, want the number {expected}")
                elif abs(cell.value - number) > 1e-12 * max(1.0, abs(number)):
                    faults.append(f"{where}: {cell.value!r}, want {expected}")
            elif cell.data_type != "s" or cell.value != expected:
                faults.append(f"{where}: {cell.value!r} of type {cell.data_type}, want the text {expected!r}")


def main():
    folder = pathlib.Path(sys.argv[1])
    faults = []
    tables = csv_tables(folder)
    project = openpyxl.load_workbook(folder / "project.xlsx")
    elements = openpyxl.load_workbook(folder / "elements.xlsx")
    if project.sheetnames != ["Maßelemente", "Schließmaße"]:
        faults.append(f"project sheets {project.sheetnames}")
    if elements.sheetnames != ["Maßelemente"]:
        faults.append(f"element sheets {elements.sheetnames}")
    for number, table in enumerate(tables, 1):
        if not table or not all(table):
            faults.append(f"CSV file {number} holds an empty line: more than one table")
    for sheet, rows in zip(project.worksheets, tables):
        compare(sheet, rows, faults)
    compare(elements.worksheets[0], tables[0], faults)
    # What a user checks first: the umlauts, the ISO code and the unresolved closing dimension.
    closing = project.worksheets[1]
    if closing["D2"].value != "Spalt äöü":
        faults.append(f"closing text {closing['D2'].value!r}")
    if closing["F3"].value is not None or not closing["N3"].value:
        faults.append("an unresolved closing dimension shows numbers or no error")
    if project.worksheets[0]["G8"].value != "js 12":
        faults.append(f"ISO code of element 7: {project.worksheets[0]['G8'].value!r}")
    if project.worksheets[0]["D2"].number_format != "0.0000":
        faults.append(f"number format {project.worksheets[0]['D2'].number_format!r}")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
