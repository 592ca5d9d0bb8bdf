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
    print("| Operation | " + " | ".join(COLUMNS) + " | Reference | ours / best peer |")
    print("|---" * (len(COLUMNS) + 3) + "|")
    for operation, row in times.items():
        others = {k: v for k, v in row.items() if k not in COLUMNS}
        reference = ", ".join(f"{k} {show(v)}" for k, v in others.items()) or "-"
        peers = [row[p] for p in PEERS if p in row]
        ratio = f"{row['CZqString'] / min(peers):.2f}x" if peers and "CZqString" in row else "-"
        cells = " | ".join(show(row.get(c)) for c in COLUMNS)
        print(f"| {operation} | {cells} | {reference} | {ratio} |")


if __name__ == "__main__":
    main(sys.argv[1])
