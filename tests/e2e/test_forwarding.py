"""Binding windows to the two slots and forwarding the keys to them."""

from harness.binding import bind
from harness.keys import VK_F
from harness.probe import WM_KEYDOWN
from harness.driver import WM_HOTKEY

F1_TO_F12 = [f"f{n}" for n in range(1, 13)]
DIGITS_1_TO_5 = ["1", "2", "3", "4", "5"]


def key_downs(probe, window, since=0):
    """(vk, lParam) of the key-downs a window received after the first `since` of them."""
    return [(m.wparam, m.lparam) for m in probe.received(window)[since:]]


def messages_from(probe, window, since):
    """Every keyboard message of a window from its key-down number `since` on. Earlier ones
    include the real key presses that bound it while it was in front."""
    messages = probe.keys(window)
    downs = [i for i, m in enumerate(messages) if m.msg == WM_KEYDOWN]
    return messages[downs[since]:] if len(downs) > since else []


def test_each_key_arrives_once_at_its_slot_while_the_focus_stays_put(tool, widget, open_probe):
    probe = open_probe("Slot one", "Slot two", "Typing here")
    slot1, slot2, typing = probe.windows
    seen1 = bind(tool, probe, slot1, "alt+n", "f12")
    seen2 = bind(tool, probe, slot2, "alt+m", "5")
    tool.set_foreground(typing)

    tool.keys(*F1_TO_F12, *DIGITS_1_TO_5)
    probe.wait_received(slot2, seen2 + 5)
    probe.wait_received(slot1, seen1 + 12)

    # Key-downs and nothing else: no key-up, no character.
    assert [(m.msg, m.wparam, m.lparam) for m in messages_from(probe, slot1, seen1)] == [
        (WM_KEYDOWN, VK_F[n], 0) for n in range(1, 13)]
    assert [(m.msg, m.wparam, m.lparam) for m in messages_from(probe, slot2, seen2)] == [
        (WM_KEYDOWN, VK_F[n], 0) for n in range(1, 6)]
    assert probe.received(typing) == []
    assert tool.foreground()["focus"] == typing


def test_keys_pressed_before_any_binding_reach_nobody(tool, widget, open_probe):
    probe = open_probe("Typing here")
    window = probe.windows[0]
    tool.set_foreground(window)
    tool.keys("f5", "3")
    # The widget handles presses in order, so once the key after the binding has arrived, the
    # two earlier presses have been handled too.
    bind(tool, probe, window, "alt+n", "f1")
    assert key_downs(probe, window) == [(VK_F[1], 0)]
    assert widget.running()


def test_one_window_in_both_slots_receives_both_sets(tool, widget, open_probe):
    probe = open_probe("Both slots")
    window = probe.windows[0]
    bind(tool, probe, window, "alt+n", "f1")
    seen = bind(tool, probe, window, "alt+m", "1")
    tool.keys("f2", "2")
    probe.wait_received(window, seen + 2)
    assert key_downs(probe, window, seen) == [(VK_F[2], 0), (VK_F[2], 0)]


def test_rebinding_moves_the_keys_to_the_new_window(tool, widget, open_probe):
    probe = open_probe("First", "Second")
    first, second = probe.windows
    seen_first = bind(tool, probe, first, "alt+n", "f1")
    seen_second = bind(tool, probe, second, "alt+n", "f1")
    tool.keys("f3")
    probe.wait_received(second, seen_second + 1)
    assert key_downs(probe, second, seen_second) == [(VK_F[3], 0)]
    assert key_downs(probe, first, seen_first) == []


def test_a_closed_bound_window_leaves_the_widget_running_and_responsive(tool, widget, open_probe):
    gone = open_probe("Soon gone")
    bind(tool, gone, gone.windows[0], "alt+n", "f1")
    gone.stop()
    tool.keys(*F1_TO_F12)

    probe = open_probe("Next")
    bind(tool, probe, probe.windows[0], "alt+n", "f4")
    assert key_downs(probe, probe.windows[0]) == [(VK_F[4], 0)]
    # A window that has gone is no refusal to report: no box came up for the twelve keys.
    assert not tool.find("#32770", "*", widget.pid)
    assert widget.running()


def test_dispatch_goes_by_the_atom_value_not_the_row_number(tool, widget, open_probe):
    probe = open_probe("Target")
    window = probe.windows[0]
    seen = bind(tool, probe, window, "alt+n", "f1")
    atoms = tool.atoms("Hotkey13", "Hotkey14")

    tool.post(widget.form, WM_HOTKEY, atoms["Hotkey13"], 0)
    tool.post(widget.form, WM_HOTKEY, 13, 0)
    tool.post(widget.form, WM_HOTKEY, atoms["Hotkey14"], 0)
    probe.wait_received(window, seen + 2)
    assert key_downs(probe, window, seen) == [(VK_F[3], 0), (VK_F[4], 0)]


def test_the_widget_bound_to_itself_takes_its_own_keys_and_carries_on(tool, widget, open_probe):
    tool.set_foreground(widget.form)
    tool.keys("alt+n", *F1_TO_F12)

    probe = open_probe("Afterwards")
    bind(tool, probe, probe.windows[0], "alt+n", "f6")
    assert key_downs(probe, probe.windows[0]) == [(VK_F[6], 0)]
    assert widget.running()
