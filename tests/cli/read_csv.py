"""Reads a CSV export back with Python's csv module, as a script would.

Usage: read_csv.py FILE
Output: {"bom": bool, "crlf": bool, "rows": [[field, ...], ...]} (header first)
"""
import csv
import json
import sys


def main():
    raw = open(sys.argv[1], "rb").read()
    bom = raw.startswith(b"\xef\xbb\xbf")
    text = raw.decode("utf-8-sig")
    rows = list(csv.reader(text.splitlines(keepends=True)))
    print(json.dumps({"bom": bom, "crlf": b"\r\n" in raw, "rows": rows}))


if __name__ == "__main__":
    main()
