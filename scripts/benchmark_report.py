"""Turns Google Benchmark JSON output and process_bench.py's JSON into docs/benchmarks.md."""
import json
import sys


def medians(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    result = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        name = b.get("run_name", b["name"])
        result[name] = b
    return data["context"], result


def ms(b):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b["real_time"] * scale, b["cpu_time"] * scale


# Cash-book entries in the current period of each diagnosis book.
PERIOD_ENTRIES = {"period_1000_entries": 1000, "period_10000_entries": 10000,
                  "huge_100000_in_period": 100000}


def main():
    context, kakeidb = medians(sys.argv[1])
    _, diagnosis = medians(sys.argv[2])
    with open(sys.argv[3], encoding="utf-8") as f:
        process = json.load(f)
    out = []
    out.append("# Benchmarks\n")
    out.append("Regenerate with `bash scripts/benchmarks.sh` (Release build, median of 3 runs).")
    out.append("Every ratio compares two cases measured in the same run on the same machine.\n")
    load = context.get("load_avg", [])
    out.append(f"Machine: {context.get('num_cpus')} CPUs at {context.get('mhz_per_cpu')} MHz, "
               f"load average {', '.join(f'{x:.2f}' for x in load)}, run {context.get('date')}. "
               "Wall time suffers when other work shares the two cores; CPU time is the "
               "steadier measure there.\n")

    out.append("## Record manager against the raw SQLite floor\n")
    out.append("| case | wall / CPU (ms) | counters |")
    out.append("|---|---:|---|")
    for name, b in sorted(kakeidb.items()):
        real, cpu = ms(b)
        counters = ", ".join(f"{k} {v:.3g}" for k, v in b.items()
                             if k not in ("name", "run_name", "run_type", "repetitions",
                                          "repetition_index", "threads", "iterations",
                                          "real_time", "cpu_time", "time_unit",
                                          "aggregate_name", "aggregate_unit", "family_index",
                                          "per_family_instance_index")
                             and isinstance(v, (int, float)))
        out.append(f"| {name} | {real:.3f} / {cpu:.3f} | {counters} |")
    out.append("")

    out.append("## In-process diagnosis (start-up + control creation) against the floor\n")
    out.append("The floor reads the current period's cash-book records once, in key order, "
               "with one prepared statement.\n")
    out.append("| book | diagnosis wall / CPU (ms) | floor wall / CPU (ms) | ratio wall / CPU |"
               " diagnosis CPU per entry in the period (ns) |")
    out.append("|---|---:|---:|---:|---:|")
    per_entry = {}
    for name, b in diagnosis.items():
        if not name.startswith("Diagnose/"):
            continue
        case = name.split("/", 1)[1]
        floor = diagnosis.get("Floor/" + case)
        real, cpu = ms(b)
        entries = PERIOD_ENTRIES.get(case)
        if entries:
            per_entry[case] = cpu * 1e6 / entries
        each = f"{per_entry[case]:.0f}" if entries else "-"
        if floor:
            f_real, f_cpu = ms(floor)
            out.append(f"| {case} | {real:.3f} / {cpu:.3f} | {f_real:.3f} / {f_cpu:.3f} | "
                       f"{real / f_real:.2f}x / {cpu / f_cpu:.2f}x | {each} |")
        else:
            out.append(f"| {case} | {real:.3f} / {cpu:.3f} | - | - | {each} |")
    retry = diagnosis.get("InactiveRetryLoop")
    if retry:
        real, cpu = ms(retry)
        out.append(f"\nThe 501-attempt retry loop with the record manager inactive "
                   f"(one message box, then the close-all): {real:.3f} ms wall, "
                   f"{cpu:.3f} ms CPU.")
    out.append("")

    out.append("## Whole processes against the sqlite3 shell\n")
    out.append("Median of the runs, each case in turn. The huge book's floor is `sqlite3` "
               "summing the lengths of the cash book's records (the table is in key order); "
               "the family book's is `sqlite3` opening its cash book and counting the "
               "records.\n")
    out.append("| process | wall (ms) | CPU (ms) | peak memory (MiB) |")
    out.append("|---|---:|---:|---:|")
    for name, p in process.items():
        out.append(f"| {name} | {p['wall_ms']:.1f} | {p['cpu_ms']:.1f} | "
                   f"{p['peak_rss_kib'] / 1024:.1f} |")
    out.append("")

    def ratio(a, b, key):
        return process[a][key] / process[b][key]

    huge_wall = ratio("diagnose_huge", "sqlite3_read_huge", "wall_ms")
    huge_cpu = ratio("diagnose_huge", "sqlite3_read_huge", "cpu_ms")
    family_wall = ratio("diagnose_family", "sqlite3_count_family", "wall_ms")
    family_cpu = ratio("diagnose_family", "sqlite3_count_family", "cpu_ms")
    peak = process["diagnose_huge"]["peak_rss_kib"] / 1024
    family_ms = ms(diagnosis["Diagnose/realistic_10_years_5000_a_year"])[1]
    huge_ms = ms(diagnosis["Diagnose/huge_100000_in_period"])[1]
    # Marginal CPU per entry between growing books: constant when the cost is
    # linear, whatever the fixed cost of start-up.
    sizes = sorted(PERIOD_ENTRIES, key=PERIOD_ENTRIES.get)
    times = [ms(diagnosis["Diagnose/" + case])[1] for case in sizes]
    counts = [PERIOD_ENTRIES[case] for case in sizes]
    marginal = [(times[i + 1] - times[i]) * 1e6 / (counts[i + 1] - counts[i])
                for i in range(len(sizes) - 1)]
    growth = marginal[-1] / marginal[0]

    def met(ok):
        return "met" if ok else "**missed**"

    out.append("## Goals\n")
    out.append("| goal | measured | |")
    out.append("|---|---|---|")
    out.append(f"| huge book: `h5kakei diagnose` ≤ 2x the sqlite3 in-order read | "
               f"{huge_wall:.2f}x wall, {huge_cpu:.2f}x CPU | {met(huge_wall <= 2)} |")
    out.append(f"| family book: `h5kakei diagnose` ≤ 2x sqlite3 open + count | "
               f"{family_wall:.2f}x wall, {family_cpu:.2f}x CPU | {met(family_wall <= 2)} |")
    out.append(f"| in-process control creation (with start-up) < 1 ms, family book | "
               f"{family_ms:.3f} ms CPU (huge book: {huge_ms:.1f} ms) | {met(family_ms < 1)} |")
    out.append(f"| peak memory of diagnose on the huge book ≤ 32 MiB | {peak:.1f} MiB | "
               f"{met(peak <= 32)} |")
    out.append(f"| cost linear in entries (CPU per added entry: 1,000 to 10,000 in the period, "
               f"then 10,000 to 100,000) | {marginal[0]:.0f} ns, then {marginal[-1]:.0f} ns "
               f"({growth:.2f}x) | {met(growth <= 1.5)} |")
    print("\n".join(out))


if __name__ == "__main__":
    main()
