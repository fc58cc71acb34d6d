#!/usr/bin/python3
"""Writes the workbook fixtures of the import tests into this folder.

Run with Debian's python3 (python3-openpyxl, python3-xlwt): /usr/bin/python3 make_fixtures.py
Each case is written as .xlsx (openpyxl) and, where the format allows, as .xls (xlwt), so that
both readers are held to the same expected lines (see the tests in tests/app/workbook/).
"""
import datetime
import io
import os
import re
import zipfile

import openpyxl
import xlwt
from openpyxl.utils.datetime import CALENDAR_MAC_1904

HERE = os.path.dirname(os.path.abspath(__file__))


def path(name):
    return os.path.join(HERE, name)


def xlsx(name, fill, active=0, epoch=None):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "第一页"
    if epoch:
        wb.epoch = epoch
    fill(wb, ws)
    wb.active = active
    wb.save(path(name))


def xls(name, fill, active=0, dates_1904=False):
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("第一页")
    wb.dates_1904 = dates_1904  # before the cells: xlwt turns dates into serials as they are written
    fill(wb, ws)
    wb.active_sheet = active
    wb.get_sheet(active).set_selected(True)
    if active:
        wb.get_sheet(0).set_selected(False)
    wb.save(path(name))


# 3 rows x 2 columns from A1.
GRID = [["甲", "乙"], ["丙", "丁"], ["戊", "己"]]


def grid_xlsx(wb, ws, top=1, left=1):
    for r, row in enumerate(GRID):
        for c, text in enumerate(row):
            ws.cell(row=top + r, column=left + c, value=text)


def grid_xls(wb, ws, top=0, left=0):
    for r, row in enumerate(GRID):
        for c, text in enumerate(row):
            ws.write(top + r, left + c, text)


xlsx("grid_3x2.xlsx", grid_xlsx)
xls("grid_3x2.xls", grid_xls)
xlsx("range_c3.xlsx", lambda wb, ws: grid_xlsx(wb, ws, top=3, left=3))
xls("range_c3.xls", lambda wb, ws: grid_xls(wb, ws, top=2, left=2))

# Texts: Chinese, several lines, outside code page 936, and enough distinct strings that the
# .xls shared-string table runs over several records (one string across a record boundary).
TEXTS = ["中文文本", "第一行\n第二行", "한국어 ÄÖ € 😀", "", "plain"]
MANY = ["字符串%04d号" % i + "长" * (i % 7) for i in range(1500)]


def texts_xlsx(wb, ws):
    for r, text in enumerate(TEXTS + MANY):
        ws.cell(row=r + 1, column=1, value=text if text != "" else None)


def texts_xls(wb, ws):
    for r, text in enumerate(TEXTS + MANY):
        if text != "":
            ws.write(r, 0, text)


xlsx("texts.xlsx", texts_xlsx)
xls("texts.xls", texts_xls)

# Values: numbers, dates, date with time, booleans, errors, and an empty cell inside the range.
NUMBERS = [42, -7, 0.1, 1 / 3, 2.5e20, 1.5e-7, 123456789012345, 0.30000000000000004, 100000.5]
DATE = datetime.datetime(2024, 1, 5)
DATETIME = datetime.datetime(2024, 1, 5, 13, 45, 0)


def values_xlsx(wb, ws):
    for r, n in enumerate(NUMBERS):
        ws.cell(row=r + 1, column=1, value=n)
    ws.cell(row=1, column=2, value=DATE).number_format = "yyyy-mm-dd"
    ws.cell(row=2, column=2, value=DATETIME).number_format = "yyyy/m/d h:mm:ss"
    ws.cell(row=3, column=2, value=True)
    ws.cell(row=4, column=2, value=False)
    ws.cell(row=5, column=2, value="#N/A").data_type = "e"
    ws.cell(row=6, column=2, value="#DIV/0!").data_type = "e"
    # row 7 column 2 stays empty
    ws.cell(row=8, column=2, value=45000).number_format = '"¥"#,##0.00'  # a number format, not a date
    ws.cell(row=9, column=2, value=0.5).number_format = "h:mm:ss"


def values_xls(wb, ws):
    date = xlwt.easyxf(num_format_str="yyyy-mm-dd")
    datetime_style = xlwt.easyxf(num_format_str="yyyy/m/d h:mm:ss")
    money = xlwt.easyxf(num_format_str='"¥"#,##0.00')
    time_style = xlwt.easyxf(num_format_str="h:mm:ss")
    for r, n in enumerate(NUMBERS):
        ws.write(r, 0, n)
    ws.write(0, 1, DATE, date)
    ws.write(1, 1, DATETIME, datetime_style)
    ws.write(2, 1, True)
    ws.write(3, 1, False)
    ws.row(4).set_cell_error(1, 0x2A)  # #N/A by its code
    ws.row(5).set_cell_error(1, 0x07)  # #DIV/0!
    ws.write(7, 1, 45000, money)
    ws.write(8, 1, 0.5, time_style)


xlsx("values.xlsx", values_xlsx)
xls("values.xls", values_xls)

# Dates counted from 1904.
xlsx("dates_1904.xlsx", lambda wb, ws: setattr(ws.cell(row=1, column=1, value=DATE), "number_format", "yyyy/m/d"),
     epoch=CALENDAR_MAC_1904)
xls("dates_1904.xls", lambda wb, ws: ws.write(0, 0, DATE, xlwt.easyxf(num_format_str="yyyy/m/d")), dates_1904=True)


# The second sheet is the active one.
def two_sheets_xlsx(wb, ws):
    ws["A1"] = "第一页的数据"
    second = wb.create_sheet("第二页")
    second["A1"] = "第二页的数据"
    second["B2"] = 2


def two_sheets_xls(wb, ws):
    ws.write(0, 0, "第一页的数据")
    second = wb.add_sheet("第二页")
    second.write(0, 0, "第二页的数据")
    second.write(1, 1, 2)


xlsx("second_active.xlsx", two_sheets_xlsx, active=1)
xls("second_active.xls", two_sheets_xls, active=1)


# Cached formula results (openpyxl writes no results: they are put in as a spreadsheet program would).
def formulas_xlsx(wb, ws):
    ws["A1"] = 1
    ws["A2"] = 2
    ws["B1"] = "=A1+A2"
    ws["B2"] = '="文"&"字"'
    ws["B3"] = "=A1>A2"
    ws["B4"] = "=1/0"


xlsx("formulas.xlsx", formulas_xlsx)
RESULTS = {"A1+A2": ("", "3"), '"&#25991;"&amp;"&#23383;"': (' t="str"', "文&#23383;"), "A1&gt;A2": (' t="b"', "0"),
           "1/0": (' t="e"', "#DIV/0!")}
with zipfile.ZipFile(path("formulas.xlsx")) as z:
    parts = {n: z.read(n) for n in z.namelist()}
sheet = parts["xl/worksheets/sheet1.xml"].decode("utf-8")
for formula, (kind, value) in RESULTS.items():
    sheet, count = re.subn(r'(<c r="B\d")( t="\w+")?(><f>' + re.escape(formula) + r"</f>)(<v></v>|<v\s*/>)?",
                           lambda m: m.group(1) + kind + m.group(3) + "<v>" + value + "</v>", sheet)
    assert count == 1, formula
parts["xl/worksheets/sheet1.xml"] = sheet.encode("utf-8")
with zipfile.ZipFile(path("formulas.xlsx"), "w", zipfile.ZIP_DEFLATED) as z:
    for n, data in parts.items():
        z.writestr(n, data)

# Two cells a million rows apart: the used range is too big to import.
xlsx("million_rows.xlsx", lambda wb, ws: (ws.cell(row=1, column=1, value="top"),
                                          ws.cell(row=1000000, column=1, value="bottom")))

# Not workbooks this reader takes: an OpenDocument spreadsheet and a CSV file.
with zipfile.ZipFile(path("sheet.ods"), "w") as z:
    z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet")
    z.writestr("content.xml", "<office:document-content/>")
with open(path("table.csv"), "w", encoding="utf-8") as f:
    f.write("a,b\r\n1,2\r\n")
