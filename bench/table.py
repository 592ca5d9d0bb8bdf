#!/usr/bin/env python3
"""Turns the JSON output of a benchmark program into the Markdown table of
bench/README.md: one row per operation, one column per implementation (median
CPU time of the repetitions), and our time over the best peer's.

    build/bench/bench/CZqStringBench --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true --benchmark_format=json > run.json
    python3 bench/table.py run.json
"""
import json
import sys

PEERS = ["U16String", "ICU", "Qt"]
COLUMNS = ["CZqString"] + PEERS
UNITS = {"ns": 1.0, "us": 1e3, "ms": 1e6}
# ICU's hashCode samples at most a few dozen units of a long text: not the
# same work, so it is shown but not taken as the best peer.
NOT_SAME_WORK = {("HashCode", "ICU")}
# The goals: ours / that column must be at most the figure. "Op:Impl" names
# a column of another row.
TARGETS = {
    "IndexOfUnit": [("best peer", 0.6), ("Sse2Loop", 1.5)],
    "IndexOfNeedle": [("best peer", 0.6), ("Sse2Loop", 1.5)],
    "Equals": [("best peer", 0.6), ("Sse2Loop", 1.5)],
    "CompareTo": [("best peer", 0.6), ("Equals:Sse2Loop", 1.5)],
    "HashCode": [("ScalarLoop", 0.5)],
    "Substring100": [("Qt", 1.5)],
    "Copy1000": [("Qt", 0.2)],
    "ToLowerCase": [("Qt", 1.0)],
    "IntToText": [("Qt", 1.0), ("Ostringstream", 0.2)],
    "DoubleToText": [("Qt", 1.0)],
    "UnicodeLowerAscii": [("ToLowerCase:CZqString", 1.0)],
    "UnicodeLower": [("ICU", 0.5)],
    "UnicodeUpper": [("ICU", 0.5)],
}


def show(ns):
    if ns is None:
        return "-"
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.1f} µs"
    return f"{ns:.1f} ns"


def main(path):
    with open(path) as f:
        run = json.load(f)
    times = {}  # operation -> implementation -> ns
    for b in run["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        name = b.get("run_name", b["name"]).split("/")[0]
        _, operation, implementation = name.split("_", 2)
        times.setdefault(operation, {})[implementation] = b["cpu_time"] * UNITS[b["time_unit"]]
    print("malloc:", run["context"].get("malloc", "not reported"))
    print()
    print("| Operation | " + " | ".join(COLUMNS) + " | Reference | ours / best peer | goals |")
    print("|---" * (len(COLUMNS) + 4) + "|")
    for operation, row in times.items():
        others = {k: v for k, v in row.items() if k not in COLUMNS}
        reference = ", ".join(f"{k} {show(v)}" for k, v in others.items()) or "-"
        peers = [row[p] for p in PEERS if p in row and (operation, p) not in NOT_SAME_WORK]
        best = min(peers) if peers else None
        ours = row.get("CZqString")
        ratio = f"{ours / best:.2f}x" if best and ours else "-"
        goals = []
        for against, limit in TARGETS.get(operation, []):
            if against == "best peer":
                base = best
            elif ":" in against:
                op, impl = against.split(":")
                base = times.get(op, {}).get(impl)
            else:
                base = row.get(against)
            if base and ours:
                verdict = "met" if ours / base <= limit else "NOT met"
                goals.append(f"vs {against} {ours / base:.2f}x (<= {limit}x, {verdict})")
        cells = " | ".join(show(row.get(c)) for c in COLUMNS)
        print(f"| {operation} | {cells} | {reference} | {ratio} | {'; '.join(goals) or '-'} |")

if __name__ == "__main__":
    main(sys.argv[1])
