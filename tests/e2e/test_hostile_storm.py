"""Messages from another program. Creation and destruction messages and window data forged by
it: whatever they carry, the widget's windows stay bound to the widget, which forwards, shows its
captions and closes. Random messages it posts to both of the widget's windows: afterwards the
widget still runs, holds all 19 hotkeys and forwards on both slots.

Everything is posted except what asks a window to close, the session to end or the program to
quit, and two things after which Wine's own default handling waits for input that never comes
(see tests/e2e/README.md). The sequence follows from the seed alone; every message is logged
among the run's artifacts, and the driver's `storm SEED FIRST COUNT LOG HWND...` replays any
stretch of it. `make stress` runs many more (the Makefile's STRESS_MESSAGES)."""

import os
import time

from harness.binding import bind
from harness.driver import GWLP_USERDATA, WM_CREATE, WM_DESTROY, WM_NCCREATE, WM_NCDESTROY
from harness.keys import VK_F, WIDGET_COMBOS
from harness.onscreen import ORIGIN, on_screen
from harness.paths import ARTIFACTS
from harness.pointer import Pointer
from harness.poll import Timeout
from layout.expected import Expected
from layout.look import wait_for_look

SEED = int(os.environ.get("HOTKEYS_STORM_SEED", "20261207"))
MESSAGES = int(os.environ.get("HOTKEYS_STORM_MESSAGES", "20000"))
STRETCH = 5000  # messages between two checks that the loop still takes posted messages
WM_LBUTTONUP = 0x0202
# WM_LBUTTONDOWN to WM_XBUTTONDBLCLK, but for the releases between them
BUTTON_PRESSES = {0x0201, 0x0203, 0x0204, 0x0206, 0x0207, 0x0209, 0x020B, 0x020D}


def test_forged_creation_and_destruction_messages_and_window_data_leave_the_widget_working(
        bench, form, western, open_probe):
    widget = western.start(bench.exe)
    tool = western.tool
    probe = open_probe("Slot one", "Slot two")
    one, two = probe.windows
    bind(tool, probe, one, "alt+n", "f1")
    bind(tool, probe, two, "alt+m", "1")
    captions = {"Label2": b"Slot one+", "Label1": b"Slot two+"}
    look = Expected(form, western.layout, western.layout.button_face(), "cp1252",
                    captions=captions)
    wait_for_look(bench.tool, widget, look, "both slots bound")
    titles = (widget.app_facts().title, widget.form_facts().title)

    forged = [(window, message, kind) for window in (widget.app, widget.form)
              for message in (WM_NCCREATE, WM_CREATE)
              for kind in ("none", "null", "garbage", "image")]
    answered = tool.create("Forged title", *forged)
    # Wine refuses to send a creation message without its structure; the rest must arrive.
    assert [sent for sent, ok in answered.items() if not ok and sent[2] != "none"] == []
    for window in (widget.app, widget.form):
        tool.set_data(window, GWLP_USERDATA, 0x4141414141414141)
        for message in (WM_DESTROY, WM_NCDESTROY):
            tool.send(window, message)
            tool.post(window, message)

    assert widget.running()
    assert (widget.app_facts().title, widget.form_facts().title) == titles
    wait_for_look(bench.tool, widget, look, "the captions after the forged messages")
    tool.set_foreground(two)
    tool.keys("f2", "2")
    assert [m.wparam for m in probe.wait_received(one, 2)] == [VK_F[1], VK_F[2]]
    assert [m.wparam for m in probe.wait_received(two, 2)] == [VK_F[1], VK_F[2]]

    Pointer(tool).click(*on_screen(ORIGIN, (191, 7)))  # the close glyph
    assert widget.exit_code() == 0


def presses_posted(log, window):
    """The mouse-button presses that a stretch's log shows posted to the window."""
    return sum(int(target, 16) == window and int(number, 16) in BUTTON_PRESSES
               and outcome == "posted"
               for _, target, number, _, _, outcome in map(str.split, log.read_text().splitlines()))


def test_random_posted_messages_leave_the_widget_running_with_its_hotkeys_and_both_slots(
        tool, widget, open_probe):
    probe = open_probe("Storm slot one", "Storm slot two")
    one, two = probe.windows
    seen = bind(tool, probe, one, "alt+n", "f1")
    started = time.monotonic()
    posted = refused = presses = 0

    for first in range(0, MESSAGES, STRETCH):
        count = min(STRETCH, MESSAGES - first)
        log = ARTIFACTS / f"storm-{SEED}-{first}.log"
        counts = tool.storm(SEED, first, count, log, widget.app, widget.form)
        posted, refused = posted + counts["posted"], refused + counts["refused"]
        presses += presses_posted(log, widget.form)
        stretch = f"messages {first} to {first + count - 1} of seed {SEED} (log {log})"
        # The hotkey's message queues up behind the stretch, so its key arriving proves that
        # the loop took all of them.
        tool.set_foreground(one)
        tool.keys("f1")
        try:
            probe.wait_received(one, seen + 1)
        except Timeout as stuck:
            raise AssertionError(f"slot 1 stopped forwarding after {stretch}") from stuck
        seen += 1
        assert widget.running(), f"the widget ended during {stretch}"

    print(f"\nstorm seed {SEED}: {MESSAGES} messages ({posted} posted, {refused} refused as "
          f"pointer messages) in {time.monotonic() - started:.1f} s")
    assert [combo for combo, free in tool.try_hotkeys(*WIDGET_COMBOS).items() if free] == []
    before = {window: bind(tool, probe, window, chord, key)
              for window, chord, key in ((one, "alt+n", "f1"), (two, "alt+m", "1"))}
    tool.keys("f2", "2")
    for window in (one, two):
        got = probe.wait_received(window, before[window] + 1)
        assert [m.wparam for m in got[before[window]:]] == [VK_F[2]], f"window {window:#x}"
    assert widget.running()

    # A press the storm posted on the title strip moves the window until the left button is
    # released, as the user's own press does, and a press during that move may start another. The
    # platform's move loop waits for the release and takes no close meanwhile; one release for
    # each press the storm posted to the form ends them all, so that the widget closes at the end.
    for _ in range(presses):
        tool.post(widget.form, WM_LBUTTONUP)
