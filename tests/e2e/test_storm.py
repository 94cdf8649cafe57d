"""Forwarding under a storm of key presses: nothing lost, nothing extra, nothing out of order,
and no memory kept per press."""

import itertools
import pathlib

from harness.binding import bind
from harness.keys import arrives_as

F_KEYS = [f"f{n}" for n in range(1, 13)]
PRESSES = 2000
# Resident memory that may come and go over the run (allocator and queue slack); measured on
# this bench it stays the same to the kilobyte.
RSS_SLACK_KB = 256


def cycle_of_keys(count, start=0):
    """F1..F12 over and over, so that a lost, repeated or swapped press shows in the order."""
    return list(itertools.islice(itertools.cycle(F_KEYS), start, start + count))


def posted(probe, window, since):
    return [m.wparam for m in probe.received(window)[since:]]


def widget_rss_kb(bench):
    """Resident set of the widget's own Unix process, told apart from other benches' copies by
    the Wine prefix in its environment."""
    found = []
    for proc in pathlib.Path("/proc").iterdir():
        try:
            # Wine names the process after its exe; the launcher only has it among its arguments.
            if (proc / "comm").read_text().strip() != "HotKeys.exe":
                continue
            environ = (proc / "environ").read_bytes().split(b"\0")
            status = (proc / "status").read_text()
        except OSError:
            continue
        if f"WINEPREFIX={bench.wine.prefix}".encode() in environ:
            found += [int(line.split()[1]) for line in status.splitlines()
                      if line.startswith("VmRSS:")]
    assert len(found) == 1, f"expected one widget process, found resident sets {found}"
    return found[0]


def press_batch(tool, probe, window, since, count, start=0):
    keys = cycle_of_keys(count, start)
    tool.keys(*keys)
    probe.wait_received(window, since + count)
    return since + count, keys


def test_every_one_of_2000_presses_arrives_once_in_order_without_memory_growth(
        bench, tool, widget, open_probe):
    probe = open_probe("Storm target", "Typing here")
    target, typing = probe.windows
    seen = bind(tool, probe, target, "alt+n", "f1")
    tool.set_foreground(typing)

    # A first batch warms up whatever the widget allocates once; two equal batches follow.
    seen, _ = press_batch(tool, probe, target, seen, 200)
    start = seen
    before = widget_rss_kb(bench)
    seen, first = press_batch(tool, probe, target, seen, PRESSES // 2)
    middle = widget_rss_kb(bench)
    seen, second = press_batch(tool, probe, target, seen, PRESSES // 2, PRESSES // 2)
    after = widget_rss_kb(bench)

    got = posted(probe, target, start)
    assert len(got) == PRESSES
    assert got == [arrives_as(key) for key in first + second]
    assert probe.received(typing) == []
    assert max(middle, after) - before <= RSS_SLACK_KB, \
        f"resident set {before} -> {middle} -> {after} kB"
    assert widget.running()
