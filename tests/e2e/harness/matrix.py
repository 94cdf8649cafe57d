"""`make matrix`: every row of tests/e2e/matrix.toml, each of its files run under the row's
settings, three at a time on the desktops that `make test` uses (desktops.json); prints and
writes build/matrix/table.txt, configuration by file, and exits 1 when a cell failed. A Ctrl-C
interrupts the running cells, which put the prefix's settings back, starts no other, names the
cells it cut off and exits 130.

    python3 -m harness.matrix [ROW...]    only the named rows
"""

import concurrent.futures
import dataclasses
import json
import os
import queue
import signal
import subprocess
import sys
import threading
import time
import tomllib
import xml.etree.ElementTree as ElementTree

from .configuration import VARIABLES, Configuration
from .paths import ROOT

E2E = ROOT / "tests" / "e2e"
OUT = ROOT / "build" / "matrix"
CELL_SECONDS = 600
OUTCOMES = ("passed", "failed", "skipped", "cut off", "not run")


@dataclasses.dataclass
class Cell:
    row: dict
    build: str
    file: str
    outcome: str = "not run"
    seconds: float = 0.0
    detail: str = ""

    @property
    def configuration(self):
        return self.row["name"] + ("" if self.build == "win64" else " (32-bit)")

    @property
    def settings(self):
        return Configuration(**{key: value for key, value in self.row.items() if key in VARIABLES})

    @property
    def folder(self):
        return OUT / self.configuration.replace(" (32-bit)", "-win32") / self.file

    @property
    def key(self):
        return f"{self.configuration}/{self.file}"

    def line(self, width=22, files=22):
        return (f"{self.configuration:<{width}}{self.file:<{files}}{self.outcome:<10}"
                f"{self.seconds:>6.1f}s  {self.detail}")

    def environment(self, desktop):
        env = dict(os.environ, HOTKEYS_WIN_DIR=str(ROOT / "build" / self.build),
                   HOTKEYS_E2E_ARTIFACTS=str(self.folder), PYTHONPATH=str(E2E),
                   PYTHONDONTWRITEBYTECODE="1", CTEST_RESOURCE_GROUP_0_DESKTOP=f"id:{desktop}")
        for variable in VARIABLES.values():
            env.pop(variable, None)
        return env | self.settings.environment()


def cells_of(names):
    """The cells of the named rows of matrix.toml, or of every row."""
    rows = tomllib.loads((E2E / "matrix.toml").read_text("utf-8"))["row"]
    unknown = set(names) - {row["name"] for row in rows}
    if unknown:
        sys.exit(f"no such row in matrix.toml: {', '.join(sorted(unknown))}")
    return [Cell(row, build, file) for row in rows if not names or row["name"] in names
            for build in (("win64", "win32") if row.get("win32") else ("win64",))
            for file in row["files"]]


def outcome(returncode, report):
    """passed, failed or skipped, and the counts pytest gave, from its exit code and report."""
    try:
        suite = ElementTree.parse(report).getroot().find("testsuite")
        counts = {key: int(suite.get(key)) for key in ("tests", "failures", "errors", "skipped")}
    except (OSError, ElementTree.ParseError, AttributeError):
        return "failed", f"no report (pytest exited {returncode})"
    ran = counts["tests"] - counts["skipped"]
    detail = f"{ran - counts['failures'] - counts['errors']}/{counts['tests']} tests passed"
    if returncode == 0 and ran == 0:
        return "skipped", detail
    return ("passed" if returncode == 0 else "failed"), detail


def finish(process, stopping):
    """pytest's exit code, and whether the run's stop cut the cell off. A cell that overruns or
    is cut off is interrupted the way Ctrl-C interrupts pytest, so that its fixtures still put
    the prefix's settings back."""
    deadline = time.monotonic() + CELL_SECONDS
    while not stopping.is_set() and time.monotonic() < deadline:
        try:
            return process.wait(1.0), False
        except subprocess.TimeoutExpired:
            pass
    process.send_signal(signal.SIGINT)
    return process.wait(), stopping.is_set()


def run(cell, desktops, stopping):
    desktop = desktops.get()
    if stopping.is_set():
        desktops.put(desktop)
        return cell
    cell.folder.mkdir(parents=True, exist_ok=True)
    report = cell.folder / "report.xml"
    report.unlink(missing_ok=True)
    started = time.monotonic()
    try:
        with open(cell.folder / "output.txt", "wb") as output:
            process = subprocess.Popen(
                [sys.executable, "-m", "pytest", "-p", "no:cacheprovider", "-q", "-rfE",
                 "-m", "not own_configuration", f"--junitxml={report}", f"{cell.file}.py"],
                cwd=E2E, env=cell.environment(desktop), stdout=output, stderr=subprocess.STDOUT,
                start_new_session=True)  # a Ctrl-C at the terminal reaches the run, not the cell
            returncode, cut_off = finish(process, stopping)
    finally:
        desktops.put(desktop)
    cell.seconds = time.monotonic() - started
    cell.outcome, cell.detail = outcome(returncode, report)
    if cut_off:
        cell.outcome = "cut off"
    return cell


def table(cells, seconds, desktops):
    width = max(len("configuration"), *(len(cell.configuration) for cell in cells)) + 2
    files = max(len(cell.file) for cell in cells) + 2
    lines = [f"{'configuration':<{width}}{'file':<{files}}{'outcome':<10}{'time':>7}  detail"]
    lines += [cell.line(width, files) for cell in cells]
    counts = ", ".join(f"{sum(cell.outcome == kind for cell in cells)} {kind}"
                       for kind in OUTCOMES)
    lines.append(f"{len(cells)} cells: {counts}, in {seconds / 60:.1f} min ({seconds:.0f} s) "
                 f"on {desktops} desktops")
    return "\n".join(lines) + "\n"


def main(names):
    cells = cells_of(names)
    started = time.monotonic()
    try:  # each cell's time in the runs before
        times = json.loads((OUT / "times.json").read_text())
    except (OSError, ValueError):
        times = {}
    # Each locale is generated once, here, before the cells that need it start together.
    for cell in cells:
        cell.settings.made_locales()
    listing = json.loads((E2E / "desktops.json").read_text())
    ids = [desktop["id"] for desktop in listing["local"][0]["desktop"]]
    desktops = queue.Queue()
    for desktop in ids:
        desktops.put(desktop)
    stopping = threading.Event()
    with concurrent.futures.ThreadPoolExecutor(len(ids)) as pool:
        # The order that ends soonest: the longest of the last run first.
        running = [pool.submit(run, cell, desktops, stopping)
                   for cell in sorted(cells, key=lambda cell: -times.get(cell.key, 60.0))]
        try:
            for done in concurrent.futures.as_completed(running):
                cell = done.result()
                print(cell.line(), flush=True)
                if cell.outcome == "failed":
                    print(f"    see {cell.folder / 'output.txt'}", flush=True)
        except KeyboardInterrupt:
            signal.signal(signal.SIGINT, signal.SIG_IGN)
            stopping.set()
            print("\nstopping: the running cells are interrupted and put their settings back",
                  flush=True)
    text = table(cells, time.monotonic() - started, len(ids))
    OUT.mkdir(parents=True, exist_ok=True)
    (OUT / "table.txt").write_text(text)
    times.update({cell.key: round(cell.seconds, 1) for cell in cells
                  if cell.outcome in ("passed", "failed", "skipped")})
    (OUT / "times.json").write_text(json.dumps(times, indent=1) + "\n")
    print(f"\n{text}written to {OUT / 'table.txt'}")
    if stopping.is_set():
        cut = [cell.key for cell in cells if cell.outcome == "cut off"]
        print(f"stopped by Ctrl-C; cut off: {', '.join(cut) or 'none'}")
        return 130
    return 1 if any(cell.outcome == "failed" for cell in cells) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
