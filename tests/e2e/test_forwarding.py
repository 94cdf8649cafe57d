"""Binding windows to the two slots and forwarding the keys to them."""

from harness.binding import bind
from harness.keys import VK_F
from harness.probe import WM_KEYDOWN
from harness.driver import WM_HOTKEY

F1_TO_F12 = [f"f{n}" for n in range(1, 13)]


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

    tool.keys(*F1_TO_F12, "1", "2", "3", "4", "5")
    probe.wait_received(slot2, seen2 + 5)
    probe.wait_received(slot1, seen1 + 12)

    # Key-downs and nothing else: no key-up, no character.
    assert [(m.msg, m.wparam, m.lparam) for m in messages_from(probe, slot1, seen1)] == [
        (WM_KEYDOWN, VK_F[n], 0) for n in range(1, 13)]
    assert [(m.msg, m.wparam, m.lparam) for m in messages_from(probe, slot2, seen2)] == [
        (WM_KEYDOWN, VK_F[n], 0) for n in range(1, 6)]
    assert probe.received(typing) == []
    assert tool.foreground()["focus"] == typing


def test_keys_follow_binding_and_rebinding_and_the_atom_each_hotkey_was_registered_under(
        tool, widget, open_probe):
    probe = open_probe("First", "Second")
    first, second = probe.windows
    # Keys pressed before any binding reach nobody. The widget handles presses in order, so once
    # the key after the binding has arrived, the two earlier presses have been handled too.
    tool.set_foreground(first)
    tool.keys("f5", "3")
    bind(tool, probe, first, "alt+n", "f1")
    assert key_downs(probe, first) == [(VK_F[1], 0)]

    # One window in both slots receives both sets.
    seen = bind(tool, probe, first, "alt+m", "1")
    tool.keys("f2", "2")
    probe.wait_received(first, seen + 2)
    assert key_downs(probe, first, seen) == [(VK_F[2], 0), (VK_F[2], 0)]

    # Rebinding moves the slot's keys to the new window; a posted hotkey is dispatched by its
    # atom's value, not by its row number.
    seen_second = bind(tool, probe, second, "alt+n", "f1")
    tool.keys("f3")
    probe.wait_received(second, seen_second + 1)
    atoms = tool.atoms("Hotkey13", "Hotkey14")
    for hotkey in (atoms["Hotkey13"], 13, atoms["Hotkey14"]):
        tool.post(widget.form, WM_HOTKEY, hotkey, 0)
    probe.wait_received(second, seen_second + 3)
    assert key_downs(probe, second, seen_second) == [(VK_F[3], 0), (VK_F[3], 0), (VK_F[4], 0)]
    assert key_downs(probe, first, seen + 2) == []


def test_the_widget_carries_on_after_taking_its_own_keys_and_after_a_bound_window_closed(
        tool, widget, open_probe):
    tool.set_foreground(widget.form)
    tool.keys("alt+n", *F1_TO_F12)  # bound to itself

    gone = open_probe("Soon gone")
    bind(tool, gone, gone.windows[0], "alt+n", "f1")
    assert key_downs(gone, gone.windows[0]) == [(VK_F[1], 0)]
    gone.stop()
    tool.keys(*F1_TO_F12)

    probe = open_probe("Next")
    bind(tool, probe, probe.windows[0], "alt+n", "f4")
    assert key_downs(probe, probe.windows[0]) == [(VK_F[4], 0)]
    # A window that has gone is no refusal to report: no box came up for the twelve keys.
    assert not tool.find("#32770", "*", widget.pid)
    assert widget.running()
