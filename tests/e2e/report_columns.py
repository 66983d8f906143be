"""Prints the number and name columns (A and B) of a report's data rows as a
JSON list of [number, name] pairs. A record spread over two merged rows (a
two-wave partial record) counts once.

Usage: report_columns.py FILE
"""
import json
import sys

import openpyxl


def main():
    sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
    rows = []
    for row in sheet.iter_rows(min_row=2, max_col=2):
        number, name = row[0].value, row[1].value
        if number is None:
            continue
        rows.append([str(number), "" if name is None else str(name)])
    print(json.dumps(rows, ensure_ascii=False))


if __name__ == "__main__":
    main()
