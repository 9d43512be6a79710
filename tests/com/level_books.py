#!/usr/bin/env python3
"""Prints a book (JSON, for `h5kakei book build`) holding one account book per
tile level for the day given (YYYY-MM-DD, default today), under
C:\\H5Levels: book N grades N for N = 1..5, book 0 has a budget but no
spending (level 0), book 6 no budget for the month (level 6); book 7 does not
exist (level 7). The book year starts on the first of this month, so the
current period is this calendar month and its budget is month 1's."""
import datetime
import json
import sys

day = datetime.date.fromisoformat(sys.argv[1]) if len(sys.argv) > 1 else datetime.date.today()
first = day.replace(day=1)


def month_start(offset):
    y, m = divmod(first.month - 1 + offset, 12)
    return datetime.date(first.year + y, m + 1, 1)


yy = f"{first.year % 100:02d}"
days = (month_start(1) - first).days
elapsed = (day - first).days + 1
spending = 100_000
# Target ratios in the middle of each level's band (0-50-80-100-140-).
targets = {1: 25, 2: 65, 3: 90, 4: 120, 5: 200}

periods = [{"Year": month_start(i).year, "Month": month_start(i).month,
            "StartDay": month_start(i).isoformat(),
            "EndDay": (month_start(i + 1) - datetime.timedelta(days=1)).isoformat()}
           for i in range(12)]
data = {}
for book in range(7):
    folder = f"C:\\H5Levels\\HdmData5\\kakeibo\\kakeibo{book}\\"
    files = {
        f"start{yy}.dat": ("start", [{"Year": first.year, "Month": first.month, "Day": 1}]),
        f"Kikan{yy}.dat": ("period", periods),
        "Himoku.dat": ("category", [{"majorCode": 20, "name": "食費"}]),
        f"suitou{yy}.dat": ("cashbook", [] if book == 0 else [
            {"entryKind": 1, "entryDate": first.isoformat(), "categoryCode": 20,
             "amount": spending}]),
    }
    budget = []
    if book in targets:
        amount = -(-targets[book] * spending * days // (elapsed * 100))
        budget = [{"month": 1, "budgetKind": 1, "itemCode1": 20, "amount": amount}]
    elif book == 0:
        budget = [{"month": 1, "budgetKind": 1, "itemCode1": 20, "amount": 50_000}]
    files[f"Yosan{yy}.dat"] = ("budget", budget)
    for name, (layout, records) in files.items():
        data[folder + name] = {"layout": layout, "records": records}

json.dump({
    "ini": {
        "C:\\H5Levels\\Hidamari5\\DirName.ini":
            {"DirName": {"datapath": "H5Levels\\HdmData5", "kakeiPath": "kakeibo"}},
        "C:\\H5Levels\\HdmData5\\kakeibo\\Kakei.ini": {"賞味期限": {"家計簿": "1"}},
    },
    "data": data,
}, sys.stdout, ensure_ascii=False, indent=1)
