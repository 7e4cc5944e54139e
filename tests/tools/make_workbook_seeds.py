#!/usr/bin/env python3
"""Writes the seed corpus of the workbook fuzz target: one small colour scheme as .xls
(python3-xlwt), .xlsx and .ods (zip archives written here), plus the less common forms:
.xlsx without r attributes and with a phonetic run, .ods with repeated cells and <text:s>.

Usage: make_workbook_seeds.py OUT_DIR
"""
import os
import sys
import zipfile

import xlwt

ROWS = [["", "GT-A", "GT-B"], ["Фон", "entry 12", 3], ["Текст", "entry 0", "entry -1"]]


def col(c):
    return "ABC"[c]


def xls(path):
    book = xlwt.Workbook(encoding="utf-8")
    ws = book.add_sheet("Colors")
    for r, row in enumerate(ROWS):
        for c, v in enumerate(row):
            if v != "":
                ws.write(r, c, v)
    book.add_sheet("Other").write(0, 0, "x")
    book.save(path)


def xlsx(path, refs=True):
    cells = []
    for r, row in enumerate(ROWS):
        cs = []
        for c, v in enumerate(row):
            ref = f' r="{col(c)}{r + 1}"' if refs else ""
            if isinstance(v, int):
                cs.append(f'<c{ref}><v>{v}</v></c>')
            elif v:
                phonetic = "" if refs else '<rPh sb="0" eb="1"><t>ふぉん</t></rPh>'
                cs.append(f'<c{ref} t="inlineStr"><is><t>{v}</t>{phonetic}</is></c>')
            elif not refs:
                cs.append("<c/>")
        row_ref = f' r="{r + 1}"' if refs else ""
        cells.append(f'<row{row_ref}>{"".join(cs)}</row>')
    ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("xl/workbook.xml", f'<workbook {ns} xmlns:r="{rel}"><sheets>'
                   '<sheet name="Colors" sheetId="1" r:id="rId1"/></sheets></workbook>')
        z.writestr("xl/_rels/workbook.xml.rels",
                   '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                   f'<Relationship Id="rId1" Type="{rel}/worksheet" Target="worksheets/sheet1.xml"/>'
                   '</Relationships>')
        z.writestr("xl/worksheets/sheet1.xml", f'<worksheet {ns}><sheetData>{"".join(cells)}</sheetData></worksheet>')


def ods(path, repeats=False):
    rows = []
    for row in ROWS:
        cs = []
        for v in row:
            if repeats and isinstance(v, str) and v:
                # As LibreOffice writes it: two equal cells as one, blanks after the first as <text:s>.
                text = v.replace(" ", ' <text:s text:c="2"/>', 1)
                cs.append('<table:table-cell table:number-columns-repeated="2" office:value-type="string">'
                          f'<text:p>{text}</text:p></table:table-cell>')
            elif isinstance(v, int):
                cs.append(f'<table:table-cell office:value-type="float" office:value="{v}"><text:p>{v}</text:p></table:table-cell>')
            elif v:
                cs.append(f'<table:table-cell office:value-type="string"><text:p>{v}</text:p></table:table-cell>')
            else:
                cs.append('<table:table-cell/>')
        rows.append(f'<table:table-row>{"".join(cs)}</table:table-row>')
    content = ('<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
               'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
               'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>'
               f'<table:table table:name="Colors">{"".join(rows)}'
               '<table:table-row table:number-rows-repeated="1000"><table:table-cell/></table:table-row>'
               '</table:table></office:spreadsheet></office:body></office:document-content>')
    with zipfile.ZipFile(path, "w") as z:
        z.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet", zipfile.ZIP_STORED)
        z.writestr("content.xml", content, zipfile.ZIP_DEFLATED)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    xls(os.path.join(out, "scheme.xls"))
    xlsx(os.path.join(out, "scheme.xlsx"))
    ods(os.path.join(out, "scheme.ods"))
    xlsx(os.path.join(out, "scheme-norefs.xlsx"), refs=False)
    ods(os.path.join(out, "scheme-repeats.ods"), repeats=True)


if __name__ == "__main__":
    main()
