"""`make bench`: runs every benchmark of the widget against its floor and writes
build/bench/results.md.

    python3 bench/run.py ROOT

ROOT is the source tree, built for every side (build/native, build/win64, build/win32). The Win32
figures come from keybench.exe under Wine on a private Xvfb, with a Wine prefix of their own in
build/bench so that a concurrent `make test` in the same tree holds no key they need; each program
(64- and 32-bit) is measured against the floor built the same way, by the driver built with it."""

import json
import math
import os
import re
import statistics
import subprocess
import sys
import time

from harness import processes
from harness.display import Display
from layout.geometry import SIZE
from harness.wine import Wine, windows_path

# Short blocks, each round running the widget and the floor once, keep a burst of load from the
# machine's other users from landing on one side only: 2,000 presses each in all.
PRESSES_PER_BLOCK = 25
LATENCY_ROUNDS = 80
# A start takes 60 to 300 ms depending on the machine's other load, which comes in bursts that
# span several starts in a row: thirty rounds keep one burst from deciding the median.
STARTUP_ROUNDS = 30
IDLE_SECONDS = 30
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll",
               "msvcrt.dll", "advapi32.dll", "comctl32.dll", "oleaut32.dll"}


def percentile(values, fraction):
    """Nearest-rank percentile: a value that was actually measured."""
    ordered = sorted(values)
    rank = max(1, math.ceil(fraction * len(ordered)))
    return ordered[rank - 1]


def paint_rows(native):
    out = subprocess.run([os.path.join(native, "paint_bench"), "--benchmark_format=json",
                          "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true"],
                         check=True, capture_output=True, text=True).stdout
    rates = {}
    for entry in json.loads(out)["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            rates[entry["run_name"]] = entry["items_per_second"] / 1e6
    ceiling = rates["MemcpyFrame"]
    return [(f"{what} (Mpixel/s; floor: memcpy of the frame)", f"{rates[name]:.0f}", "",
             f"{ceiling:.0f}", "", f"{ceiling / rates[name]:.1f}", "", "—")
            for name, what in (("PaintWidget", "Paint: three pictures over the button face"),
                               ("BlendBackground", "Paint: blend of the background"))]


def keybench(wine, win64, *args):
    exe = [windows_path(os.path.join(win64, name)) for name in ("HotKeys.exe", "floor.exe")]
    result = subprocess.run(wine.command(os.path.join(win64, "keybench.exe"), args[0], *exe,
                                         *map(str, args[1:])),
                            env=wine.env, capture_output=True, text=True, timeout=1800)
    if result.returncode != 0:
        raise RuntimeError(f"keybench {args[0]} failed: {result.stderr[-2000:]}")
    # Every sample, in the order taken, for a closer look than the table gives.
    raw_name = f"{args[0]}-{os.path.basename(win64)}.txt"
    with open(os.path.join(os.path.dirname(wine.prefix), raw_name), "w") as raw:
        raw.write(result.stdout)
    samples = {}
    for line in result.stdout.splitlines():
        kind, name, *values = line.split()
        samples.setdefault((kind, name), []).append([float(v) for v in values])
    return samples, result.stdout.splitlines()


def count(samples, kind, name):
    return int(sum(v[0] for v in samples.get((kind, name), [])))


def round_ratios(lines):
    """Widget over floor of the block medians, round by round: the two blocks of a round ran
    back to back, so a drift of the machine's load shows in both."""
    blocks = []
    for line in lines:
        kind, name, *values = line.split()
        if kind == "block":
            blocks.append((name, []))
        elif kind == "latency":
            blocks[-1][1].append(float(values[0]))
    ratios = []
    for first, second in zip(blocks[::2], blocks[1::2]):
        medians = {name: statistics.median(values) for name, values in (first, second) if values}
        if len(medians) == 2:
            ratios.append(medians["widget"] / medians["floor"])
    return ratios


def latency_rows(samples, lines):
    widget = [v[0] for v in samples[("latency", "widget")]]
    floor = [v[0] for v in samples[("latency", "floor")]]
    wm, wp, fm, fp = (percentile(widget, 0.5), percentile(widget, 0.99),
                      percentile(floor, 0.5), percentile(floor, 0.99))
    rows = [(f"Latency, F5 injected → WM_KEYDOWN in the target (µs; {len(widget)} and "
             f"{len(floor)} presses, lost {count(samples, 'lost', 'widget')} and "
             f"{count(samples, 'lost', 'floor')})", f"{wm:.0f}", f"{wp:.0f}", f"{fm:.0f}",
             f"{fp:.0f}", f"{wm / fm:.2f}", f"{wp / fp:.2f}", "≤ 1.1 both")]
    ratios = round_ratios(lines)
    rows += ratio_rows(f"Latency, ratio of block medians round by round ({len(ratios)} rounds of "
                       f"{PRESSES_PER_BLOCK} presses each)", ratios)
    return rows


def ratio_rows(figure, ratios):
    """A row with the median and quartiles of round-by-round ratios, when there are enough."""
    if len(ratios) < 4:
        return []
    low, middle, high = statistics.quantiles(ratios, n=4)
    return [(figure, "", "", "", "", f"{middle:.2f} (quartiles {low:.2f}–{high:.2f})", "", "—")]


def startup_round_ratios(lines):
    """Widget over floor of the two starts of each round, which ran back to back."""
    ratios = []
    for first, second in zip(lines[::2], lines[1::2]):
        times = {}
        for line in (first, second):
            kind, name, *values = line.split()
            if kind == "startup":
                times[name] = float(values[0])
        if len(times) == 2:
            ratios.append(times["widget"] / times["floor"])
    return ratios


def startup_rows(samples, lines):
    widget = [v[0] for v in samples.get(("startup", "widget"), [])]
    floor = [v[0] for v in samples.get(("startup", "floor"), [])]
    spoiled = len(samples.get(("spoiled", "widget"), [])) + len(samples.get(("spoiled", "floor"), []))
    wm, fm = statistics.median(widget), statistics.median(floor)
    rows = [(f"Start-up, process start → all keys held and window painted (ms; {len(widget)} and "
             f"{len(floor)} runs, {spoiled} spoiled)", f"{wm:.0f}", "", f"{fm:.0f}", "",
             f"{wm / fm:.2f}", "", "≤ 1.5")]
    ratios = startup_round_ratios(lines)
    rows += ratio_rows(f"Start-up, ratio of the two starts of a round, round by round "
                       f"({len(ratios)} rounds)", ratios)
    return rows


def idle_rows(samples):
    tick = 1000 / os.sysconf("SC_CLK_TCK")
    (w_cpu, w_threads, w_start), = samples[("idle", "widget")]
    (f_cpu, f_threads, f_start), = samples[("idle", "floor")]
    return [(f"Idle CPU time over {IDLE_SECONDS} s with no input (ms; clock resolution "
             f"{tick:.0f} ms)", f"{w_cpu:.0f}", "", f"{f_cpu:.0f}", "", "—", "", "0 ms"),
            ("Idle: threads of the process", f"{w_threads:.0f}", "", f"{f_threads:.0f}", "",
             "—", "", "1"),
            ("CPU time of start-up, the same clock read from outside (ms)", f"{w_start:.0f}", "",
             f"{f_start:.0f}", "", f"{w_start / f_start:.2f}" if f_start else "—", "", "—")]


def size_rows(win64):
    rows = []
    for name in ("HotKeys.exe", "floor.exe"):
        path = os.path.join(win64, name)
        dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], check=True,
                              capture_output=True, text=True).stdout
        dlls = sorted(set(re.findall(r"DLL Name: (\S+)", dump)), key=str.lower)
        foreign = [d for d in dlls if d.lower() not in SYSTEM_DLLS]
        rows.append((os.path.getsize(path), dlls, foreign))
    (w, w_dlls, w_foreign), (f, f_dlls, _) = rows
    return [("Size of the exe (KB)", f"{w / 1024:.0f}", "", f"{f / 1024:.0f}", "", f"{w / f:.2f}",
             "", "≤ 300 KB"),
            ("Imported DLLs", ", ".join(w_dlls), "", ", ".join(f_dlls), "", "", "",
             "system only: " + ("not " + ", ".join(w_foreign) if w_foreign else "yes"))]


def labelled(label, rows):
    return [(f"{label}: {row[0]}", *row[1:]) for row in rows]


def win32_rows(wine, tree):
    """Latency, start-up, idle and size of one build of the program against its floor."""
    return (latency_rows(*keybench(wine, tree, "latency", PRESSES_PER_BLOCK, LATENCY_ROUNDS))
            + startup_rows(*keybench(wine, tree, "startup", STARTUP_ROUNDS))
            + idle_rows(keybench(wine, tree, "idle", IDLE_SECONDS)[0]) + size_rows(tree))


def write(path, rows, started):
    lines = [f"# Benchmarks against the floor ({started})", "",
             "| Figure | Widget median | Widget p99 | Floor median | Floor p99 | Ratio median "
             "| Ratio p99 | Goal |",
             "|---|---|---|---|---|---|---|---|"]
    lines += ["| " + " | ".join(row) + " |" for row in rows]
    lines += ["", "Ratios are widget over floor, except for paint, where they are memcpy's rate "
              f"over the figure's (rates count window pixels, {SIZE[0]} × {SIZE[1]}). Latency and "
              "start-up alternate the widget and the floor in blocks within one run; the floor is "
              "bench/floor/floor.cpp. Every sample is in latency-<build>.txt, startup-<build>.txt "
              "and idle-<build>.txt beside this file, for the builds win64 and win32."]
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")


def main(root):
    native = os.path.join(root, "build", "native")
    out_dir = os.path.join(root, "build", "bench")
    os.makedirs(out_dir, exist_ok=True)
    started = time.strftime("%Y-%m-%d %H:%M")
    rows = []
    display = Display()
    wine = Wine(os.path.join(out_dir, "wineprefix"), display.name)
    try:
        wine.ensure_prefix()
        wine.start_server()
        for label, tree in (("64-bit", "win64"), ("32-bit", "win32")):
            rows += labelled(label, win32_rows(wine, os.path.join(root, "build", tree)))
        rows += paint_rows(native)
    finally:
        processes.stop_remaining()
        wine.stop_server()
        display.stop()
    path = os.path.join(out_dir, "results.md")
    write(path, rows, started)
    print(open(path).read())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.getcwd())
