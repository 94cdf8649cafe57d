"""Faults around the widget: a bound window's process killed or hung, and the session ending.
The widget must keep forwarding to whatever is still there, or end cleanly when told to."""

import os
import pathlib
import signal

from harness.binding import bind
from harness.keys import arrives_as
from harness.wine import windows_path

F_KEYS = [f"f{n}" for n in range(1, 13)]
DIGITS = ["1", "2", "3", "4", "5"]
WM_QUERYENDSESSION, WM_ENDSESSION = 0x0011, 0x0016


def posted(probe, window, since):
    return [m.wparam for m in probe.received(window)[since:]]


def probe_unix_pid(probe):
    """The Unix process that runs the probe's windows. Wine's loader becomes the program, or,
    where 32-bit Wine is installed too, has start.exe start it as a process of its own; the
    probe's log path on its command line tells it from every other probe."""
    log = windows_path(probe.log_path).encode()
    found = []
    for proc in pathlib.Path("/proc").iterdir():
        try:
            if ((proc / "comm").read_text().strip() == "probe.exe"
                    and log in (proc / "cmdline").read_bytes().split(b"\0")):
                found.append(int(proc.name))
        except OSError:
            continue
    assert len(found) == 1, f"expected one probe process with log {probe.log_path}: {found}"
    return found[0]


def test_a_bound_window_whose_process_is_killed_leaves_the_other_slot_and_rebinding_working(
        tool, widget, open_probe):
    doomed = open_probe("Killed")
    bind(tool, doomed, doomed.windows[0], "alt+n", "f1")
    survivor = open_probe("Survivor")
    seen = bind(tool, survivor, survivor.windows[0], "alt+m", "1")
    os.kill(probe_unix_pid(doomed), signal.SIGKILL)
    doomed.process.wait(10)

    tool.keys(*F_KEYS, *DIGITS)
    survivor.wait_received(survivor.windows[0], seen + len(DIGITS))
    assert posted(survivor, survivor.windows[0], seen) == [arrives_as(d) for d in DIGITS]

    successor = open_probe("Successor")
    bind(tool, successor, successor.windows[0], "alt+n", "f9")
    assert posted(successor, successor.windows[0], 0) == [arrives_as("f9")]
    assert widget.running()


def test_a_hung_bound_window_holds_up_neither_the_widget_nor_the_other_slot(
        tool, widget, open_probe):
    hung = open_probe("Hung")
    seen_hung = bind(tool, hung, hung.windows[0], "alt+n", "f1")
    other = open_probe("Responsive", "Typing here")
    seen_other = bind(tool, other, other.windows[0], "alt+m", "1")
    tool.set_foreground(other.windows[1])
    pid = probe_unix_pid(hung)
    # A stopped process takes nothing from its queue, as a thread stuck in a long computation.
    os.kill(pid, signal.SIGSTOP)
    try:
        presses = [key for n in range(60) for key in (F_KEYS[n % 12], DIGITS[n % 5])]
        tool.keys(*presses)
        other.wait_received(other.windows[0], seen_other + 60)
        assert widget.running()
    finally:
        os.kill(pid, signal.SIGCONT)

    # Every press posted meanwhile waited in the hung window's queue, none lost.
    hung.wait_received(hung.windows[0], seen_hung + 60)
    assert posted(hung, hung.windows[0], seen_hung) == [arrives_as(k) for k in presses[0::2]]
    assert posted(other, other.windows[0], seen_other) == [arrives_as(k) for k in presses[1::2]]


def test_the_session_end_is_allowed_and_only_a_real_end_ends_the_widget(
        tool, widget, open_probe):
    assert tool.send(widget.form, WM_QUERYENDSESSION) != 0
    # An end that was called off: the widget carries on.
    tool.send(widget.app, WM_ENDSESSION, 0)
    probe = open_probe("Still served")
    bind(tool, probe, probe.windows[0], "alt+n", "f2")
    assert widget.running()

    tool.send(widget.app, WM_ENDSESSION, 1)
    assert widget.exit_code() == 0
