#!/usr/bin/env python3
"""Whole-process timings: `h5kakei diagnose` on a book against the sqlite3 shell
reading the same cash book, each run RUNS times in turn; prints JSON with the
median wall and CPU (user + system) milliseconds and the peak resident memory
(wall and CPU include GNU time's own start, the same for every case).

    process_bench.py H5KAKEI FAMILY_ROOT HUGE_ROOT [RUNS]
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

TODAY = "2002-04-20"
CASH_BOOK = "drive_c/HdmData5/kakeibo/kakeibo1/suitou02.dat"


def run_once(command):
    """(wall ms, CPU ms, peak RSS KiB) of one run; fails on a non-zero exit.

    The command runs under GNU time, which reports its peak memory: a process
    forked from this one would count this interpreter's memory as its own."""
    with tempfile.NamedTemporaryFile("r") as peak:
        start = time.perf_counter()
        child = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", peak.name] + command,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(child.pid, 0)
        wall = (time.perf_counter() - start) * 1000
        error = child.stderr.read().decode(errors="replace")
        child.stderr.close()
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"{' '.join(command)} failed: {error}")
        return wall, (usage.ru_utime + usage.ru_stime) * 1000, int(peak.read().split()[-1])


def measure(cases, runs):
    samples = {name: [] for name in cases}
    for _ in range(runs):  # interleaved, so that load changes hit every case alike
        for name, command in cases.items():
            samples[name].append(run_once(command))
    return {
        name: {
            "wall_ms": statistics.median(s[0] for s in rows),
            "cpu_ms": statistics.median(s[1] for s in rows),
            "peak_rss_kib": max(s[2] for s in rows),
        }
        for name, rows in samples.items()
    }


def main():
    h5kakei, family, huge = sys.argv[1:4]
    runs = int(sys.argv[4]) if len(sys.argv) > 4 else 15
    diagnose = [h5kakei, "diagnose", "--today", TODAY, "--root"]
    cases = {
        "diagnose_huge": diagnose + [huge],
        "sqlite3_read_huge": ["sqlite3", "-readonly", os.path.join(huge, CASH_BOOK),
                              "SELECT sum(length(data)) FROM kakeidb_records"],
        "diagnose_family": diagnose + [family],
        "sqlite3_count_family": ["sqlite3", "-readonly", os.path.join(family, CASH_BOOK),
                                 "SELECT count(*) FROM kakeidb_records"],
    }
    print(json.dumps(measure(cases, runs), indent=1))


if __name__ == "__main__":
    main()
