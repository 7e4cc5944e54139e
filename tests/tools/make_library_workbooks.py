#!/usr/bin/env python3
"""Writes library-cases.{xlsx,xls,ods} and library-header.*: one scheme as three Python libraries write it
(openpyxl, xlwt, odfpy). Their formulas carry no computed result; dates and times are
stored as each library does (openpyxl with iso_dates: t="d" ISO text).

Usage: make_library_workbooks.py OUT_DIR
"""
import datetime
import os
import sys

import openpyxl
import xlwt
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableCell, TableRow
from odf.text import P

DATE = datetime.datetime(2024, 1, 31)
TIME = datetime.time(12, 30)
STAMP = datetime.datetime(2024, 1, 31, 18, 0)
ROWS = [
    [None, "GT-A", "GT-B"],
    ["c1", "entry 1", "entry 2"],
    ["=\"id\"&1", "entry 3", "entry 4"],
    ["c3", "entry 5", "=\"entry \"&6"],
    [DATE, "entry 7", "entry 8"],
    [TIME, "entry 9", "entry 10"],
    [STAMP, "entry 11", "entry 12"],
    ["c7", "entry 13", "entry 14"],
]


# The same scheme with a formula in its header: refused as a whole.
HEADER_ROWS = [[None, "GT-A", "=\"GT-\"&\"B\""]] + ROWS[1:]


def xlsx(path, rows):
    book = openpyxl.Workbook()
    book.iso_dates = True
    ws = book.active
    ws.title = "Colors"
    for r, row in enumerate(rows, 1):
        for c, v in enumerate(row, 1):
            if v is not None:
                ws.cell(r, c, v)
    book.create_sheet("Other")["A1"] = "x"
    book.save(path)


def xls(path, rows):
    book = xlwt.Workbook(encoding="utf-8")
    ws = book.add_sheet("Colors")
    formats = {datetime.datetime: "yyyy-mm-dd hh:mm", datetime.time: "hh:mm:ss"}
    for r, row in enumerate(rows):
        for c, v in enumerate(row):
            if isinstance(v, str) and v.startswith("="):
                ws.write(r, c, xlwt.Formula(v[1:]))
            elif isinstance(v, (datetime.datetime, datetime.time)):
                ws.write(r, c, v, xlwt.easyxf(num_format_str=formats[type(v)]))
            elif v is not None:
                ws.write(r, c, v)
    book.add_sheet("Other").write(0, 0, "x")
    book.save(path)


def ods(path, rows):
    doc = OpenDocumentSpreadsheet()
    table = Table(name="Colors")
    for row in rows:
        tr = TableRow()
        for v in row:
            if v is None:
                tr.addElement(TableCell())
            elif isinstance(v, str) and v.startswith("="):
                tr.addElement(TableCell(formula="of:" + v))
            elif isinstance(v, datetime.datetime):
                cell = TableCell(valuetype="date", datevalue=v.isoformat())
                cell.addElement(P(text=str(v)))
                tr.addElement(cell)
            elif isinstance(v, datetime.time):
                cell = TableCell(valuetype="time", timevalue=v.strftime("PT%HH%MM%SS"))
                cell.addElement(P(text=str(v)))
                tr.addElement(cell)
            else:
                cell = TableCell(valuetype="string")
                cell.addElement(P(text=v))
                tr.addElement(cell)
        table.addElement(tr)
    doc.spreadsheet.addElement(table)
    other = Table(name="Other")
    tr = TableRow()
    cell = TableCell(valuetype="string")
    cell.addElement(P(text="x"))
    tr.addElement(cell)
    other.addElement(tr)
    doc.spreadsheet.addElement(other)
    doc.save(path)


def main():
    out = sys.argv[1]
    for name, rows in (("library-cases", ROWS), ("library-header", HEADER_ROWS)):
        xlsx(os.path.join(out, name + ".xlsx"), rows)
        xls(os.path.join(out, name + ".xls"), rows)
        ods(os.path.join(out, name + ".ods"), rows)


if __name__ == "__main__":
    main()
