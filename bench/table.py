#!/usr/bin/env python3
"""Turns the JSON output of benchmark programs into the Markdown tables of
bench/README.md: one row per operation, one column per implementation (median
CPU time of the repetitions), our time over the best peer's, the goals, and
under the table a line saying what the figures were taken with.

    build/bench/bench/CZqStringBench --benchmark_repetitions=5 \\
        --benchmark_report_aggregates_only=true --benchmark_format=json > run.json
    python3 bench/table.py run.json

Several files (one per program of one run) make one table; --only takes a
comma-separated list of operations and prints those rows alone, in that order:

    python3 bench/table.py --only MessageVaried,Trim string.json builder.json

--group LABEL FILE... (once per group) prints ranges instead: each file is
one run of one program, and each cell is the lowest to the highest median
that the group's runs gave (after the median of those, when there are three
or more), for every implementation and for our time over each peer's (taken
within each run, then ranged):

    python3 bench/table.py --only Substring100 \\
        --group cache old-*.json --group "no cache" new-*.json

The line under a table names the commit of the tree that holds the programs
(from the "executable" entry of the context; --commit overrides), the CPU
model (/proc/cpuinfo; --machine overrides), the core count and clock and the
1-minute load average as each program started (from the context), and the
compiler and malloc settings (the "compiler" and "malloc" entries that
bench/BenchContext.cpp adds to every program's context).

Benchmark names are BM_<Operation>_<Implementation>[/<argument>]; an
argument stays in the operation's name (Reverse/16). The builder's and the
integer's benchmarks name ours CZqStringBuilder and CZqInteger and Qt's
QString: they go in the same columns. A peer column that has no figure in
any printed row is left out. Where a program counts the minor page faults per
iteration (its "faults" counter), the cell shows them after the time.
"""
import argparse
import json
import os
import statistics
import subprocess

PEERS = ["U16String", "ICU", "Qt"]
COLUMNS = ["CZqString"] + PEERS
HEADINGS = {"CZqString": "ZarqLang", "U16String": "std::u16string", "ICU": "ICU", "Qt": "Qt"}
# Other names of the columns above.
ALIASES = {"CZqStringBuilder": "CZqString", "CZqInteger": "CZqString", "QString": "Qt",
           "Icu": "ICU"}
UNITS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
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
    "Message": [("U16String", 1.0)],
    "InsertAtFront": [("Memmove", 1.1)],
    "AppendUnit": [("U16String", 1.0), ("Qt", 1.5)],
    "AppendUnit100k": [("U16String", 1.0)],
    "AppendUnitPinned": [("U16String", 1.0)],
    "MessageVaried": [("U16String", 0.8)],
    "Reverse": [("U16String", 0.3)],
    "WordFrequency": [("Qt", 1.0), ("U16String", 1.2)],
    "ParseInt": [("FromChars", 1.5)],
    "ValueOfRelease": [("MakeShared", 1.0)],
    "SplitFields": [("Qt", 1.0)],
    "SplitShortLines": [("Qt", 1.0)],
    "SplitRegex": [("Qt", 0.8)],
    "MatchesMegabyte": [("Qt", 1.0)],
    "ReplaceAllMegabyte": [("Qt", 1.0)],
    "FormatMessage": [("Qt", 1.0), ("FmtUtf8", 1.0)],
    "Join1000": [("Qt", 1.0)],
    "Repeat1000": [("Memcpy", 1.3)],
    "StripPadded": [("Qt", 1.0)],
    "StripUnpadded": [("Qt", 1.0)],
}


def show(ns):
    if ns is None:
        return "-"
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.1f} µs"
    return f"{ns:.1f} ns"


def show_range(values, form):
    """low-high of values; with three or more, their median first."""
    if not values:
        return "-"
    low, high = form(min(values)), form(max(values))
    if low == high:
        return low
    low_figure, _, low_unit = low.partition(" ")
    high_figure, _, high_unit = high.partition(" ")
    if low_unit == high_unit:
        spread = f"{low_figure}-{high_figure}" + (f" {low_unit}" if low_unit else "")
    else:
        spread = f"{low}-{high}"
    if len(values) < 3:
        return spread
    return f"{form(statistics.median(values))} ({spread})"


def ratio(x):
    return f"{x:.2f}x"


def read_run(path):
    """The run's context and its medians: operation -> implementation -> ns."""
    with open(path) as f:
        run = json.load(f)
    times = {}
    faults = {}
    # The operations and implementations in the order the program registers
    # them, whatever order random interleaving ran them in.
    benchmarks = sorted(run["benchmarks"], key=lambda b: (b.get("family_index", 0),
                                                          b.get("per_family_instance_index", 0)))
    for b in benchmarks:
        if b.get("error_occurred"):
            continue
        if b.get("aggregate_name", "median") != "median":
            continue
        name, _, argument = b.get("run_name", b["name"]).partition("/")
        _, operation, implementation = name.split("_", 2)
        if argument:
            operation += "/" + argument.split("/")[0]
        implementation = ALIASES.get(implementation, implementation)
        times.setdefault(operation, {})[implementation] = (
            b["cpu_time"] * UNITS[b["time_unit"]])
        if "faults" in b:
            faults.setdefault(operation, {})[implementation] = b["faults"]
    return run["context"], times, faults


def git_commit(directory):
    """The short commit of the tree at directory, and a note when files that
    go into the programs (anything but .md and .py files) differ from it."""
    def git(*words):
        return subprocess.run(["git", "-C", directory, *words],
                              capture_output=True, text=True, check=True).stdout
    try:
        commit = git("rev-parse", "--short", "HEAD").strip()
        changed = [line[3:] for line in git("status", "--porcelain").splitlines()
                   if not line[3:].endswith((".md", ".py"))]
    except (OSError, subprocess.CalledProcessError):
        return None
    return f"{commit} with uncommitted changes" if changed else commit


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


def distinct(values):
    seen = []
    for v in values:
        if v is not None and v not in seen:
            seen.append(v)
    return seen


def stamp(contexts, args):
    """One line: commit, machine, load, compiler, malloc."""
    commits = [args.commit] if args.commit else distinct(
        git_commit(os.path.dirname(os.path.abspath(c["executable"])))
        for c in contexts if "executable" in c)
    if not commits:
        commits = distinct([git_commit(os.path.dirname(os.path.abspath(__file__)))])
    machine = args.machine or cpu_model()
    cores = distinct(c.get("num_cpus") for c in contexts)
    mhz = distinct(c.get("mhz_per_cpu") for c in contexts)
    loads = [c["load_avg"][0] for c in contexts if c.get("load_avg")]
    compilers = distinct(c.get("compiler") for c in contexts)
    mallocs = distinct(c.get("malloc") for c in contexts)
    parts = ["commit " + ", ".join(f"`{c}`" for c in commits or ["unknown"])]
    where = machine
    if cores:
        where += ", " + "/".join(str(c) for c in cores) + " cores"
    if mhz:
        where += " at " + "/".join(str(m) for m in mhz) + " MHz"
    parts.append(where)
    if loads:
        parts.append("load " + show_range(loads, lambda x: f"{x:.2f}") +
                     " (1-minute average as each program started)")
    parts.append("compiler: " + ("; ".join(compilers) or "not recorded"))
    parts.append("malloc: " + ("; ".join(mallocs) or "not recorded"))
    return "Taken at " + "; ".join(parts) + "."


def goals_of(operation, row, times, best):
    ours = row.get("CZqString")
    goals = []
    for against, limit in TARGETS.get(operation.split("/")[0], []):
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
    return goals


def page_faults(faults, operation, implementation):
    """The minor page faults per iteration, where the program counts them."""
    count = faults.get(operation, {}).get(implementation)
    return "" if count is None else f" ({count:.0f} faults)"


def best_peer(operation, row):
    peers = [row[p] for p in PEERS
             if p in row and (operation.split("/")[0], p) not in NOT_SAME_WORK]
    return min(peers) if peers else None


def print_table(paths, args):
    contexts = []
    times = {}
    faults = {}
    for path in paths:
        context, run, run_faults = read_run(path)
        contexts.append(context)
        for operation, row in run.items():
            times.setdefault(operation, {}).update(row)
        for operation, row in run_faults.items():
            faults.setdefault(operation, {}).update(row)
    operations = list(times)
    if args.only:
        operations = [op for op in args.only.split(",") if op in times]
    peers = [p for p in PEERS if any(p in times[op] for op in operations)]
    headings = ["Operation"] + [HEADINGS[c] for c in ["CZqString"] + peers]
    print("| " + " | ".join(headings + ["Reference", "ours / best peer", "goals"]) + " |")
    print("|---" * (len(peers) + 5) + "|")
    for operation in operations:
        row = times[operation]
        others = {k: v for k, v in row.items() if k not in COLUMNS}
        reference = ", ".join(f"{k} {show(v)}" for k, v in others.items()) or "-"
        best = best_peer(operation, row)
        ours = row.get("CZqString")
        mine = f"{ours / best:.2f}x" if best and ours else "-"
        goals = goals_of(operation, row, times, best)
        cells = " | ".join(show(row.get(c)) + page_faults(faults, operation, c)
                           for c in ["CZqString"] + peers)
        print(f"| {operation} | {cells} | {reference} | {mine} | {'; '.join(goals) or '-'} |")
    print()
    print(stamp(contexts, args))


def print_ranges(groups, args):
    """groups: [(label, [path, ...])]; each path is one run of one program."""
    runs = []  # (group index, context, times)
    for index, (_, paths) in enumerate(groups):
        for path in paths:
            context, times, _ = read_run(path)
            runs.append((index, context, times))
    operations = []
    for _, _, times in runs:
        operations += [op for op in times if op not in operations]
    if args.only:
        operations = [op for op in args.only.split(",") if op in operations]
    print("| Operation | Figure | " + " | ".join(label for label, _ in groups) + " |")
    print("|---" * (len(groups) + 2) + "|")
    for operation in operations:
        implementations = []
        for _, _, times in runs:
            implementations += [i for i in times.get(operation, {}) if i not in implementations]
        ordered = ([c for c in COLUMNS if c in implementations] +
                   [i for i in implementations if i not in COLUMNS])
        lines = []
        for implementation in ordered:
            cells = [show_range([t[operation][implementation] for g, _, t in runs
                                 if g == index and implementation in t.get(operation, {})], show)
                     for index in range(len(groups))]
            lines.append((HEADINGS.get(implementation, implementation), cells))
        for peer in [p for p in PEERS if p in implementations]:
            cells = []
            for index in range(len(groups)):
                ratios = [t[operation]["CZqString"] / t[operation][peer]
                          for g, _, t in runs if g == index
                          and "CZqString" in t.get(operation, {}) and peer in t[operation]]
                cells.append(show_range(ratios, ratio))
            lines.append((f"ZarqLang / {HEADINGS[peer]}", cells))
        for figure, cells in lines:
            print(f"| {operation} | {figure} | " + " | ".join(cells) + " |")
    print()
    for index, (label, _) in enumerate(groups):
        print(f"{label}: " + stamp([c for g, c, _ in runs if g == index], args))
        print()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("runs", nargs="*", help="JSON output of benchmark programs")
    parser.add_argument("--only", help="comma-separated operations: print these rows alone")
    parser.add_argument("--group", nargs="+", action="append", metavar=("LABEL", "FILE"),
                        help="a label and the runs of one group: print ranges over the runs")
    parser.add_argument("--commit", help="the commit to name under the table")
    parser.add_argument("--machine", help="the machine to name under the table")
    args = parser.parse_args()
    if args.group:
        if any(len(g) < 2 for g in args.group):
            parser.error("--group takes a label and at least one file")
        print_ranges([(g[0], g[1:]) for g in args.group], args)
    elif args.runs:
        print_table(args.runs, args)
    else:
        parser.error("no runs given")


if __name__ == "__main__":
    main()
