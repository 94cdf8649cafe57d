"""Thousands of presses across both slots while both are rebound every 250 presses: each
forwarded key arrives once, in order, at the window bound when it was pressed, whether the binding
was confirmed first or pressed in the same burst as the keys behind it, and the widget keeps no
memory per press. And a thousand rebindings between windows with different titles leave the
widget's GDI objects as they were. `make stress` presses many more keys (the Makefile's
STRESS_PRESSES)."""

import os
import random

from harness.binding import bind
from harness.keys import VK_F
from harness.poll import settled

PRESSES = int(os.environ.get("HOTKEYS_KEY_STORM_PRESSES", "2000"))
ROUND = 250  # presses between two rebindings of both slots
REBINDS = 1000
SLOT1_KEYS = {f"f{n}": VK_F[n] for n in range(1, 13)}
SLOT2_KEYS = {str(n): VK_F[n] for n in range(1, 6)}
TITLES = ["Ed", "A window with a long title", "Mixed Case 123", "W" * 40, "x"]
# Resident memory that may come and go over the run (allocator and queue slack); measured on
# this bench it stays the same to the kilobyte.
RSS_SLACK_KB = 256


def interleaved_presses(count, seed):
    """Keys of both slots in a fixed random order, so a lost, repeated or swapped press shows."""
    chooser = random.Random(seed)
    keys = list(SLOT1_KEYS) + list(SLOT2_KEYS)
    return [chooser.choice(keys) for _ in range(count)]


def test_every_press_across_both_slots_arrives_once_in_order_while_rebinding_keeping_no_memory(
        tool, widget, open_probe):
    probe = open_probe("Slot one even", "Slot one odd", "Slot two even", "Slot two odd",
                       "Typing here")
    *targets, typing = probe.windows
    slot1, slot2 = targets[:2], targets[2:]
    expected = {window: [] for window in targets}
    resident = []  # kB after each round

    for number, first in enumerate(range(0, PRESSES, ROUND)):
        one, two = slot1[number % 2], slot2[number % 2]
        bind(tool, probe, two, "alt+m", "1")
        expected[two].append(VK_F[1])
        presses = interleaved_presses(min(ROUND, PRESSES - first), number)
        if number % 2 == 0:
            # Bound and confirmed first, then pressed with another window in front.
            bind(tool, probe, one, "alt+n", "f1")
            expected[one].append(VK_F[1])
            tool.set_foreground(typing)
            tool.keys(*presses)
        else:
            # Alt+N binds the window in front, and the presses right behind it follow it there;
            # that window sees the keys only as the widget posts them.
            tool.set_foreground(one)
            tool.keys("alt+n", *presses)
        expected[one] += [SLOT1_KEYS[key] for key in presses if key in SLOT1_KEYS]
        expected[two] += [SLOT2_KEYS[key] for key in presses if key in SLOT2_KEYS]
        for window in (one, two):
            probe.wait_received(window, len(expected[window]))
        resident.append(tool.memory_kb(widget.pid))

    for window in targets:
        got = [m.wparam for m in probe.received(window)]
        assert got == expected[window], f"window {window:#x}: {len(got)} keys, " \
                                        f"{len(expected[window])} expected"
    assert probe.received(typing) == []
    # The first two rounds, which bind each window once, warm up what the widget allocates once.
    assert max(resident[1:]) - resident[1] <= RSS_SLACK_KB, f"resident set by round: {resident} kB"
    assert widget.running()


def test_a_thousand_rebinds_between_differently_titled_windows_keep_the_gdi_objects(
        tool, widget):
    def count():
        return settled(lambda: tool.gdi_objects(widget.pid), "the widget's GDI objects to settle")

    tool.rebind(len(TITLES) * 2, *TITLES)  # whatever is made once is made now
    before = count()
    tool.rebind(REBINDS, *TITLES)
    after = count()
    assert after == before, f"{before} GDI objects before {REBINDS} rebinds, {after} after"
    assert widget.running()
