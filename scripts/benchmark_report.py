"""Turns Google Benchmark JSON output into docs/benchmarks.md."""
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


def main():
    context, kakeidb = medians(sys.argv[1])
    _, diagnosis = medians(sys.argv[2])
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

    out.append("## Whole diagnosis (start-up + control creation) against the floor\n")
    out.append("The floor reads the current period's cash-book rows once with one prepared "
               "statement over the file's key table.\n")
    out.append("| book | diagnosis wall / CPU (ms) | floor wall / CPU (ms) | ratio wall / CPU |")
    out.append("|---|---:|---:|---:|")
    for name, b in diagnosis.items():
        if not name.startswith("Diagnose/"):
            continue
        case = name.split("/", 1)[1]
        floor = diagnosis.get("Floor/" + case)
        real, cpu = ms(b)
        if floor:
            f_real, f_cpu = ms(floor)
            out.append(f"| {case} | {real:.3f} / {cpu:.3f} | {f_real:.3f} / {f_cpu:.3f} | "
                       f"{real / f_real:.2f}x / {cpu / f_cpu:.2f}x |")
        else:
            out.append(f"| {case} | {real:.3f} / {cpu:.3f} | - | - |")
    retry = diagnosis.get("InactiveRetryLoop")
    if retry:
        real, cpu = ms(retry)
        out.append(f"\nThe 501-attempt retry loop with the record manager inactive "
                   f"(one message box, then the close-all): {real:.3f} ms wall, "
                   f"{cpu:.3f} ms CPU.")
    out.append("\nGoals: control creation under 5 ms on the realistic book; within 1.5x of the "
               "floor on the huge one.")
    print("\n".join(out))


if __name__ == "__main__":
    main()
