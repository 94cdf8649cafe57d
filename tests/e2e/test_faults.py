"""Faults around the widget: a bound window's process killed or hung, and the session ending.
The widget must keep forwarding to whatever is still there, or end cleanly when told to."""

from harness.binding import bind
from harness.keys import arrives_as

F_KEYS = [f"f{n}" for n in range(1, 13)]
DIGITS = ["1", "2", "3", "4", "5"]
WM_QUERYENDSESSION, WM_ENDSESSION = 0x0011, 0x0016


def posted(probe, window, since):
    return [m.wparam for m in probe.received(window)[since:]]


def test_a_bound_window_killed_or_hung_holds_up_nothing_and_only_a_real_session_end_ends_it(
        tool, widget, open_probe):
    doomed = open_probe("Killed")
    bind(tool, doomed, doomed.windows[0], "alt+n", "f1")
    other = open_probe("Responsive", "Typing here")
    responsive, typing = other.windows
    seen = bind(tool, other, responsive, "alt+m", "1")
    tool.kill(doomed.process.pid)
    doomed.process.wait(10)

    # A killed window leaves the other slot and rebinding working.
    tool.keys(*F_KEYS, *DIGITS)
    other.wait_received(responsive, seen + len(DIGITS))
    assert posted(other, responsive, seen) == [arrives_as(d) for d in DIGITS]
    hung = open_probe("Hung")
    seen_hung = bind(tool, hung, hung.windows[0], "alt+n", "f9")
    assert posted(hung, hung.windows[0], 0) == [arrives_as("f9")]

    # A hung one holds up neither the widget nor the other slot. A suspended process takes
    # nothing from its queue, as a thread stuck in a long computation.
    seen += len(DIGITS)
    tool.set_foreground(typing)
    tool.suspend(hung.process.pid)
    try:
        presses = [key for n in range(60) for key in (F_KEYS[n % 12], DIGITS[n % 5])]
        tool.keys(*presses)
        other.wait_received(responsive, seen + 60)
        assert widget.running()
    finally:
        tool.resume(hung.process.pid)
    # Every press posted meanwhile waited in the hung window's queue, none lost.
    hung.wait_received(hung.windows[0], seen_hung + 60)
    assert posted(hung, hung.windows[0], seen_hung) == [arrives_as(k) for k in presses[0::2]]
    assert posted(other, responsive, seen) == [arrives_as(k) for k in presses[1::2]]

    # The session's end is allowed, and only a real end ends the widget: after an end that was
    # called off it carries on.
    assert tool.send(widget.form, WM_QUERYENDSESSION) != 0
    tool.send(widget.app, WM_ENDSESSION, 0)
    bind(tool, hung, hung.windows[0], "alt+n", "f2")
    assert widget.running()
    tool.send(widget.app, WM_ENDSESSION, 1)
    assert widget.exit_code() == 0
