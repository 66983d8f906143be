"""Prints what a report workbook holds as JSON, for the report tests.

Usage: dump_xlsx.py FILE
Output: {"sheets": [...], "active": name, "merges": ["A2:A3", ...],
         "cells": {"A1": {"value": ..., "type": "str"|"int"|"float",
                          "fill": "RRGGBB"|null, "thin": bool,
                          "h": str|null, "v": str|null}, ...}}
Only the first sheet's cells are listed; merged-over cells are left out.
"""
import json
import sys

import openpyxl
from openpyxl.cell.cell import MergedCell


def fill_of(cell):
    fill = cell.fill
    if fill is None or fill.fill_type != "solid":
        return None
    rgb = fill.fgColor.rgb
    if not isinstance(rgb, str):
        return None
    return rgb[-6:].upper()


def thin_all_round(cell):
    border = cell.border
    return all(getattr(border, side).style == "thin" for side in ("left", "right", "top", "bottom"))


def main():
    book = openpyxl.load_workbook(sys.argv[1])
    sheet = book.worksheets[0]
    cells = {}
    for row in sheet.iter_rows():
        for cell in row:
            if isinstance(cell, MergedCell):
                continue
            if cell.value is None and not cell.has_style:
                continue
            cells[cell.coordinate] = {
                "value": cell.value,
                "type": type(cell.value).__name__ if cell.value is not None else None,
                "fill": fill_of(cell),
                "thin": thin_all_round(cell),
                "h": cell.alignment.horizontal,
                "v": cell.alignment.vertical,
            }
    print(json.dumps({
        "sheets": book.sheetnames,
        "active": book.active.title,
        "merges": sorted(str(r) for r in sheet.merged_cells.ranges),
        "cells": cells,
    }, ensure_ascii=False))


if __name__ == "__main__":
    main()
