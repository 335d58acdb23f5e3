#!/usr/bin/env python3
"""Runs every benchmark of bench_store, and of bench_model beside it, in a process of its own
(a fresh database each) and prints the table of our times against their floors and goals.
Given two builds (LABEL=PATH), it runs them in turns and prints both tables and the first
build's figures against the second's.

    report.py BENCH_STORE [REPETITIONS]
    report.py LABEL=BENCH_STORE LABEL=BENCH_STORE [REPETITIONS]
"""
import json
import os
import subprocess
import sys

# work, our benchmark, what it is divided by, goal, whether the goal is an upper bound, and
# for a growth goal the row that measures the same growth of its floor in the same run: the
# floor itself grows faster than linear on these machines, so the goal is also met by growing
# no more than it. A divisor of None means the figure is our own counter (items/s or bytes
# per device), or the one named after "#" (cpu_ms: the CPU time in milliseconds).
ROWS = [
    ("new-device record", "newDeviceOurs", "newDeviceFloor", 1.6, True),
    ("  seed design, same record", "newDeviceSeedDesign", "newDeviceFloor", None, True),
    ("unchanged record (/ new-device floor)", "unchangedRecordOurs", "newDeviceFloor", 0.2, True),
    ("changed record", "changedRecordOurs", "changedRecordFloor", 2.5, True),
    ("load a home map (500)", "loadMapOurs/500", "loadMapFloor/500", 2.0, True),
    ("load at scale (10,000 / 500)", "loadMapOurs/10000", "loadMapOurs/500", 22.0, True,
     "  the floor's own (10,000 / 500)"),
    ("  the floor's own (10,000 / 500)", "loadMapFloor/10000", "loadMapFloor/500", None, True),
    ("connection report (10,000 / 500)", "connectionReportOurs/10000",
     "connectionReportOurs/500", 22.0, True, "  the report's own walk (10,000 / 500)"),
    ("  the report's own walk (10,000 / 500)", "connectionReportWalk/10000",
     "connectionReportWalk/500", None, True),
    ("  the report, caches cold (/ its walk, 10,000)", "connectionReportCold/10000/iterations:100",
     "connectionReportWalkCold/10000/iterations:100", None, True),
    ("enqueue, 1 thread (records/s)", "enqueueOurs/real_time/threads:1", None, 1e6, False),
    ("enqueue, 8 threads (records/s)", "enqueueOurs/real_time/threads:8", None, 0.5e6, False),
    ("memory, 10,000 x 15 (KiB/device)", "memoryOurs/10000/iterations:1", None, 10.0, True),
    ("migrate a first-release store, 10,000 devices (ms, wall)",
     "migrateOurs/10000/iterations:3#wall_ms", None, 2000.0, True),
    ("model: longest stall, 10,000 records (ms)",
     "modelReplay/10000/iterations:1#stall_ms", None, 50.0, True),
    ("  of it, waiting for a processor (ms)",
     "modelReplay/10000/iterations:1#stall_wait_ms", None, None, True),
    ("  the most work between two ticks (ms)",
     "modelReplay/10000/iterations:1#busiest_gap_cpu_ms", None, None, True),
    ("  the last record shown, after the listener (ms)",
     "modelReplay/10000/iterations:1#catch_up_ms", None, None, True),
    ("model: GUI thread per record (ms)",
     "modelReplay/10000/iterations:1#gui_ms_per_record", None, 0.1, True),
    ("model: reset to a 500-device map (ms)", "modelReset#cpu_ms", None, 20.0, True),
]

# Rows that measure the machine rather than the build: how long a thread waited for a processor
# depends on what else runs, and is not compared between builds.
MACHINE_ROWS = {"  of it, waiting for a processor (ms)"}

# The benchmarks of the live item model are in a program of their own, beside bench_store.
MODEL_PROGRAM = "bench_model"


def benchmark_of(name):
    """The benchmark a row names, without the counter it reads."""
    return name.split("#")[0]


def run(binary, name, repetitions):
    """The median of NAME's repetitions: (seconds, counters) from its JSON output."""
    single = name.startswith("memoryOurs")
    if name.startswith("model"):
        binary = os.path.join(os.path.dirname(binary), MODEL_PROGRAM)
    command = [binary, "--benchmark_filter=^%s$" % name,
               "--benchmark_format=json"]
    if not single:
        command += ["--benchmark_repetitions=%d" % repetitions,
                    "--benchmark_report_aggregates_only=true"]
    output = json.loads(subprocess.run(command, check=True, capture_output=True, text=True).stdout)
    for entry in output["benchmarks"]:
        if single or entry.get("aggregate_name") == "median":
            # CPU time: on a shared machine the wall clock also counts the other processes.
            # The threaded enqueue counts records per second of the wall clock.
            seconds = entry["cpu_time"] * {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[
                entry["time_unit"]]
            counters = {key: value for key, value in entry.items()
                        if isinstance(value, (int, float))}
            counters["cpu_ms"] = seconds * 1e3
            return seconds, counters
    raise SystemExit("report.py: no result for " + name)


def show(seconds):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if seconds >= scale:
            return "%.3g %s" % (seconds / scale, unit)
    return "%.3g ns" % (seconds / 1e-9)


def figures(results):
    """Each row's figure (a ratio to its floor, or our own counter) and its table cells."""
    figure_of = {}
    for work, ours, divisor, *_ in ROWS:
        seconds, counters = results[benchmark_of(ours)]
        if divisor:
            figure_of[work] = seconds / results[divisor][0]
        elif "#" in ours:
            figure_of[work] = counters[ours.split("#")[1]]
        elif ours.startswith("memoryOurs"):
            figure_of[work] = counters["bytes_per_device"] / 1024
        else:
            figure_of[work] = counters["items_per_second"]
    rows = []
    for work, ours, divisor, goal, upper, *bound in ROWS:
        seconds, _ = results[benchmark_of(ours)]
        figure = figure_of[work]
        if divisor:
            cells = [show(seconds), show(results[divisor][0]), "%.2fx" % figure]
            goal_text = "" if goal is None else "<= %gx" % goal
            if bound:
                goal = max(goal, figure_of[bound[0]])
                goal_text += " or the floor's growth"
        else:
            cells = ["%.3g" % figure, "", ""]
            goal_text = "" if goal is None else ("<= %g" if upper else ">= %g") % goal
        met = ""
        if goal is not None:
            met = "yes" if (figure <= goal if upper else figure >= goal) else "NO"
        rows.append((work, figure, upper, cells + [goal_text, met]))
    return rows


def quotient(mine, theirs):
    """MINE / THEIRS. A counter can be zero (no wait seen): two zeros are equal, and any figure
    is infinitely more than zero."""
    if theirs == 0:
        return 1.0 if mine == 0 else float("inf")
    return mine / theirs


def main():
    arguments = sys.argv[1:]
    repetitions = 5
    if len(arguments) > 1 and arguments[-1].isdigit():
        repetitions = int(arguments.pop())
    if not arguments:
        raise SystemExit(__doc__)
    builds = [argument.split("=", 1) if "=" in argument else ["ours", argument]
              for argument in arguments]
    # Builds take turns benchmark by benchmark, so a slower spell of the machine falls on both.
    results = {label: {} for label, _ in builds}
    for _, ours, divisor, *_ in ROWS:
        for name in (benchmark_of(ours), divisor):
            for label, binary in builds:
                if name and name not in results[label]:
                    results[label][name] = run(binary, name, repetitions)
    tables = {label: figures(results[label]) for label, _ in builds}
    for label, _ in builds:
        if len(builds) > 1:
            print("\n%s\n" % label)
        print("| work | ours | floor | ratio | goal | met |")
        print("|---|---|---|---|---|---|")
        for work, _, _, cells in tables[label]:
            print("| %s | %s |" % (work, " | ".join(cells)))
    if len(builds) > 1:
        # The first build against the second: a figure more than 10 % worse is flagged.
        (first, _), (second, _) = builds[0], builds[1]
        print("\n| work | %s | %s | %s / %s | within 10 %% |" % (first, second, first, second))
        print("|---|---|---|---|---|")
        for (work, mine, upper, _), (_, theirs, _, _) in zip(tables[first], tables[second]):
            worse = quotient(mine, theirs) if upper else quotient(theirs, mine)
            verdict = "yes" if worse <= 1.10 else "NO"
            if work in MACHINE_ROWS:
                verdict = "(the machine's)"
            print("| %s | %.3g | %.3g | %.2f | %s |"
                  % (work, mine, theirs, quotient(mine, theirs), verdict))


if __name__ == "__main__":
    main()
