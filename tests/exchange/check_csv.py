#!/usr/bin/env python3
"""Reads the CSV files of spreadsheet_samples as other programs read them and
compares every cell with the workbook of the same project (openpyxl):

  pandas       read_csv with ";" and the file's decimal mark: one table a file,
               numbers as numbers, texts as typed; every number in the file is the
               shortest text that reads back to its double (Python's repr).
  libreoffice  soffice --convert-to xlsx under the locale each file is meant for
               (decimal point: en_US, decimal comma: de_DE); numbers must arrive as
               numbers, the guarded formula as text. Exits 77 (skipped) without soffice.

Usage: check_csv.py pandas|libreoffice FOLDER"""
import csv
import decimal
import io
import math
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

import openpyxl

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from check_xlsx import unguarded  # noqa: E402

BOM = b"\xef\xbb\xbf"
FILES = ("project.csv", "project-ergebnisse.csv")  # the workbook's first and second sheet
# (folder below FOLDER, decimal mark, locale of a spreadsheet program that reads it as numbers)
SETS = (("", ".", "en_US.UTF-8"), ("komma", ",", "de_DE.UTF-8"))


def is_number(value):
    return isinstance(value, (int, float)) and not isinstance(value, bool)


def same_number(got, want, digits):
    """`digits`: the significant digits the reader's own file keeps (our workbook 16;
    LibreOffice 7.4 saves 15 into the .xlsx it converts to)."""
    return is_number(got) and math.isclose(got, want, rel_tol=10.0 ** (1 - digits), abs_tol=1e-300)


def workbook_tables(folder):
    book = openpyxl.load_workbook(folder / "project.xlsx")
    return [list(sheet.iter_rows(values_only=True)) for sheet in book.worksheets]


def check_raw(path, mark, table, faults):
    """The bytes as any CSV reader meets them: a byte-order mark, one table, shortest numbers."""
    raw = path.read_bytes()
    if not raw.startswith(BOM):
        faults.append(f"{path.name}: no byte-order mark")
    records = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline=""), delimiter=";"))
    width = len(records[0]) if records else 0
    for number, record in enumerate(records, 1):
        if len(record) != width:
            faults.append(f"{path.name} line {number}: {len(record)} fields, the heading has {width}")
    for record, row in zip(records[1:], table[1:]):
        for text, want in zip(record, row):
            if not is_number(want):
                continue
            plain = text.replace(mark, ".") if mark != "." else text
            if "e" in plain.lower() or (mark != "." and "." in text):
                faults.append(f"{path.name}: number {text!r} not in the form promised")
                continue
            shortest = repr(float(plain))
            if decimal.Decimal(plain) != decimal.Decimal(shortest):
                faults.append(f"{path.name}: {text!r} is not the shortest form {shortest!r}")


def compare_cells(where, got_rows, table, number_column, faults, digits=16):
    """got_rows: the cells a reader made of the file, heading row first."""
    if len(got_rows) != len(table):
        faults.append(f"{where}: {len(got_rows)} rows, the workbook has {len(table)}")
    for r, (got_row, row) in enumerate(zip(got_rows, table), 1):
        for c, want in enumerate(row):
            got = got_row[c] if c < len(got_row) else None
            cell = f"{where} row {r} column {c + 1}"
            if want is None:
                if not (got is None or (isinstance(got, float) and math.isnan(got))):
                    faults.append(f"{cell}: {got!r}, want an empty cell")
            elif is_number(want) and r > 1:
                if not number_column(c) or not same_number(got, want, digits):
                    faults.append(f"{cell}: {got!r} ({type(got).__name__}), want the number {want!r}")
            elif not isinstance(got, str) or unguarded(got) != want:
                faults.append(f"{cell}: {got!r}, want the text {want!r}")


def check_pandas(folder, tables, faults):
    import pandas

    for sub, mark, _ in SETS:
        for name, table in zip(FILES, tables):
            path = folder / sub / name
            check_raw(path, mark, table, faults)
            try:
                frame = pandas.read_csv(path, sep=";", decimal=mark, encoding="utf-8-sig",
                                        keep_default_na=False, na_values=[""])
            except Exception as error:  # what a user of pandas would see
                faults.append(f"{sub}/{name}: pandas refuses it: {error}")
                continue
            rows = [list(frame.columns)] + [list(row) for row in frame.itertuples(index=False)]
            rows = [[v.item() if hasattr(v, "item") else v for v in row] for row in rows]
            numeric = [frame.dtypes.iloc[c].kind in "if" for c in range(len(frame.columns))]
            compare_cells(f"pandas {sub or '.'}/{name}", rows, table, lambda c: numeric[c], faults)
            print(f"pandas {sub or '.'}/{name}: {len(frame)} rows, {sum(numeric)} numeric columns")


def check_libreoffice(folder, tables, faults):
    soffice = shutil.which("soffice")
    if soffice is None:
        print("SKIPPED: soffice (Debian libreoffice-calc-nogui) is not installed")
        return 77
    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        for sub, mark, locale in SETS:
            out = work / locale
            env = dict(os.environ, LC_ALL=locale, LANG=locale, LANGUAGE=locale.split(".")[0])
            command = [soffice, f"-env:UserInstallation=file://{work}/profile-{locale}", "--headless",
                       "--infilter=CSV:59,34,76,1", "--convert-to", "xlsx", "--outdir", str(out)]
            command += [str(folder / sub / name) for name in FILES]
            run = subprocess.run(command, env=env, capture_output=True, text=True, timeout=240)
            for name, table in zip(FILES, tables):
                converted = out / (pathlib.Path(name).stem + ".xlsx")
                if not converted.exists():
                    faults.append(f"LibreOffice {locale}: {name} not converted: {run.stdout} {run.stderr}")
                    continue
                sheet = openpyxl.load_workbook(converted).active
                rows = [list(row) for row in sheet.iter_rows(values_only=True)]
                types = {(r, c): cell.data_type for r, row in enumerate(sheet.iter_rows(), 1) for c, cell in enumerate(row)}
                numbers = lambda c: all(types.get((r, c)) == "n" or rows[r - 1][c] is None for r in range(2, len(rows) + 1))
                compare_cells(f"LibreOffice {locale} {sub or '.'}/{name}", rows, table, numbers, faults, 15)
                print(f"LibreOffice {locale} {sub or '.'}/{name}: {len(rows)} rows")
    return 0


def main():
    reader, folder = sys.argv[1], pathlib.Path(sys.argv[2])
    tables = workbook_tables(folder)
    faults = []
    if reader == "pandas":
        check_pandas(folder, tables, faults)
    elif check_libreoffice(folder, tables, faults) == 77:
        return 77
    for fault in faults:
        print(fault)
    print(f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
