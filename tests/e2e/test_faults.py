"""Faults around the widget: a bound window's process killed or hung, and the session ending.
The widget must keep forwarding to whatever is still there, or end cleanly when told to."""

from harness.binding import bind
from harness.keys import arrives_as

F_KEYS = [f"f{n}" for n in range(1, 13)]
DIGITS = ["1", "2", "3", "4", "5"]
WM_QUERYENDSESSION, WM_ENDSESSION = 0x0011, 0x0016


def posted(probe, window, since):
    return [m.wparam for m in probe.received(window)[since:]]


def test_a_bound_window_whose_process_is_killed_leaves_the_other_slot_and_rebinding_working(
        tool, widget, open_probe):
    doomed = open_probe("Killed")
    bind(tool, doomed, doomed.windows[0], "alt+n", "f1")
    survivor = open_probe("Survivor")
    seen = bind(tool, survivor, survivor.windows[0], "alt+m", "1")
    tool.kill(doomed.process.pid)
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
    # A suspended process takes nothing from its queue, as a thread stuck in a long computation.
    tool.suspend(hung.process.pid)
    try:
        presses = [key for n in range(60) for key in (F_KEYS[n % 12], DIGITS[n % 5])]
        tool.keys(*presses)
        other.wait_received(other.windows[0], seen_other + 60)
        assert widget.running()
    finally:
        tool.resume(hung.process.pid)

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
