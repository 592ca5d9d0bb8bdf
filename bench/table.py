#!/usr/bin/env python3
"""Turns the JSON output of benchmark programs into the Markdown table of
bench/README.md: one row per operation, one column per implementation (median
CPU time of the repetitions), and our time over the best peer's.

    build/bench/bench/CZqStringBench --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true --benchmark_format=json > run.json
    python3 bench/table.py run.json

Several files (one per program of one run) make one table; --only takes a
comma-separated list of operations and prints those rows alone, in that order:

    python3 bench/table.py --only MessageVaried,Trim string.json builder.json

Benchmark names are BM_<Operation>_<Implementation>[/<argument>]; an
argument stays in the operation's name (Reverse/16). The builder's and the
integer's benchmarks name ours CZqStringBuilder and CZqInteger and Qt's
QString: they go in the same columns.
"""
import argparse
import json

PEERS = ["U16String", "ICU", "Qt"]
COLUMNS = ["CZqString"] + PEERS
# Other names of the columns above.
ALIASES = {"CZqStringBuilder": "CZqString", "CZqInteger": "CZqString", "QString": "Qt"}
UNITS = {"ns": 1.0, "us": 1e3, "ms": 1e6}
# ICU's hashCode samples at most a few dozen units of a long text: not the
# same work, so it is shown but not taken as the best peer.
NOT_SAME_WORK = {("HashCode", "ICU")}
# The goals: ours / that column must be at most the figure. "Op:Impl" names
# a column of another row.
TARGETS = {
    "IndexOfUnit": [("best peer", 0.6), ("Sse2Loop", 1.5)],
    "IndexOfNeedle": [("best peer", 0.6), ("Sse2Loop", 1.2)],
    "Equals": [("best peer", 0.6), ("Sse2Loop", 1.5)],
    "CompareTo": [("best peer", 0.6), ("Equals:Sse2Loop", 1.5)],
    "HashCode": [("ScalarLoop", 0.5)],
    "Substring100": [("Qt", 1.0), ("U16String", 1.0)],
    "Copy1000": [("Qt", 0.2)],
    "ToLowerCase": [("Qt", 1.0)],
    "IntToText": [("Qt", 0.5), ("Ostringstream", 0.2)],
    "IntToHex": [("Qt", 0.7)],
    "IntToRadix36": [("Qt", 0.7)],
    "Trim": [("Qt", 1.0)],
    "DoubleToText": [("Qt", 1.0)],
    "UnicodeLowerAscii": [("ToLowerCase:CZqString", 1.0)],
    "UnicodeLower": [("ICU", 0.5)],
    "UnicodeUpper": [("ICU", 0.5)],
    "AppendUnit100k": [("U16String", 1.0)],
    "AppendUnitPinned": [("U16String", 1.0)],
    "MessageVaried": [("U16String", 0.8)],
    "WordFrequency": [("Qt", 1.0), ("U16String", 1.2)],
}


def show(ns):
    if ns is None:
        return "-"
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.1f} µs"
    return f"{ns:.1f} ns"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("runs", nargs="+", help="JSON output of benchmark programs")
    parser.add_argument("--only", help="comma-separated operations: print these rows alone")
    args = parser.parse_args()
    times = {}  # operation -> implementation -> ns
    for path in args.runs:
        with open(path) as f:
            run = json.load(f)
        for b in run["benchmarks"]:
            if b.get("aggregate_name", "median") != "median":
                continue
            name, _, argument = b.get("run_name", b["name"]).partition("/")
            _, operation, implementation = name.split("_", 2)
            if argument:
                operation += "/" + argument.split("/")[0]
            implementation = ALIASES.get(implementation, implementation)
            times.setdefault(operation, {})[implementation] = (
                b["cpu_time"] * UNITS[b["time_unit"]])
        if "malloc" in run["context"]:
            print(f"{path}: malloc:", run["context"]["malloc"])
    print()
    operations = list(times)
    if args.only:
        operations = [op for op in args.only.split(",") if op in times]
    print("| Operation | ZarqLang | " + " | ".join(PEERS) +
          " | Reference | ours / best peer | goals |")
    print("|---" * (len(COLUMNS) + 4) + "|")
    for operation in operations:
        row = times[operation]
        base_operation = operation.split("/")[0]
        others = {k: v for k, v in row.items() if k not in COLUMNS}
        reference = ", ".join(f"{k} {show(v)}" for k, v in others.items()) or "-"
        peers = [row[p] for p in PEERS
                 if p in row and (base_operation, p) not in NOT_SAME_WORK]
        best = min(peers) if peers else None
        ours = row.get("CZqString")
        ratio = f"{ours / best:.2f}x" if best and ours else "-"
        goals = []
        for against, limit in TARGETS.get(base_operation, []):
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
    main()
