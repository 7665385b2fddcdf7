#!/usr/bin/env python3
"""Reads the month file that the month window saved for the computed 3 x 4
rota after R was typed over nurse 2's day 2, as a spreadsheet would: Python's
csv module, UTF-8 with its byte order mark. Checks the head, the day columns,
each nurse's cells (the hand-set one with its "*") and, where written, her
counts.

    check_month_file.py MONTH.csv [NAME ...]
"""

import csv
import sys

SHIFTS = "DNR"


def expected_cells(nurse, days):
    cells = [SHIFTS[(nurse + 2 * day) % 3] for day in range(days)]
    if nurse == 1:
        cells[1] = "R*"
    return cells


def main():
    path, names = sys.argv[1], sys.argv[2:] or ["护士01", "护士02", "护士03"]
    with open(path, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f))
    problems = []
    if not rows or rows[0][:1] != ["排班表"]:
        problems.append("first line is not 排班表: %r" % rows[:1])
    head = next((r for r in rows if r[:1] == ["姓名"]), None)
    if head is None or head[3:7] != ["1", "2", "3", "4"]:
        problems.append("head row: %r" % head)
    by_name = {r[0]: r for r in rows if r}
    for nurse, name in enumerate(names):
        row = by_name.get(name)
        if row is None:
            problems.append("no row for " + name)
            continue
        cells = expected_cells(nurse, 4)
        if row[3:7] != cells:
            problems.append("%s: %r, expected %r" % (name, row[3:7], cells))
        if len(row) >= 11:
            letters = [c.rstrip("*") for c in cells]
            counts = [str(letters.count(s)) for s in ("D", "N", "R", "假")]
            if row[7:11] != counts:
                problems.append("%s counts: %r, expected %r" % (name, row[7:11], counts))
    for problem in problems:
        print(problem)
    print("%s: %d rows, %d problems" % (path, len(rows), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
