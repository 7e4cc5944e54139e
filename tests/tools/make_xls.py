#!/usr/bin/env python3
"""Writes an .xls workbook (BIFF8) from a JSON description, for the tests.

Usage: make_xls.py DESCRIPTION.json OUT.xls
DESCRIPTION: {"sheets": [{"name": "Colors", "rows": [[cell, ...], ...]}, ...]}
A cell is null (left empty), a string, a number, or {"formula": "100+1"} (xlwt stores
formulas without a computed result); rows[0] is row 1, cell 0 column A.
"""
import json
import sys

import xlwt


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        description = json.load(f)
    book = xlwt.Workbook(encoding="utf-8")
    for sheet in description["sheets"]:
        ws = book.add_sheet(sheet["name"])
        for r, row in enumerate(sheet["rows"]):
            for c, cell in enumerate(row):
                if isinstance(cell, dict):
                    ws.write(r, c, xlwt.Formula(cell["formula"]))
                elif cell is not None:
                    ws.write(r, c, cell)
    book.save(sys.argv[2])


if __name__ == "__main__":
    main()
