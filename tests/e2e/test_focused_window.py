"""What the window in front receives while the widget runs and after it ends, and when a key
typed on the X keyboard reaches the widget at all (README, "When keys don't arrive")."""

from harness.binding import bind
from harness.keys import VK_CONTROL, VK_F, VK_MENU, VK_SHIFT
from harness.poll import wait_until
from harness.probe import WM_KEYDOWN, WM_SYSKEYDOWN

# Chords the widget leaves to the window in front: each with the key-down that must arrive.
UNTAKEN = [
    ("shift+f1", WM_KEYDOWN, VK_F[1]),
    ("ctrl+f5", WM_KEYDOWN, VK_F[5]),
    ("alt+f12", WM_SYSKEYDOWN, VK_F[12]),
    ("shift+1", WM_KEYDOWN, ord("1")),
    ("ctrl+3", WM_KEYDOWN, ord("3")),
    *((f"num{n}", WM_KEYDOWN, 0x60 + n) for n in range(1, 6)),
]
MODIFIERS = {VK_SHIFT, VK_CONTROL, VK_MENU}


def key_downs(probe, window):
    """(message, vk) of the key-downs a window received, modifiers left out."""
    return [(m.msg, m.wparam) for m in probe.keys(window)
            if m.msg in (WM_KEYDOWN, WM_SYSKEYDOWN) and m.wparam not in MODIFIERS]


def test_modified_keys_reach_the_window_in_front_and_x_keys_fire_only_while_wine_has_the_focus(
        bench, tool, widget, open_probe):
    probe = open_probe("Slot one", "Slot two", "Typing here")
    slot1, slot2, typing = probe.windows
    seen1 = bind(tool, probe, slot1, "alt+n", "f1")
    seen2 = bind(tool, probe, slot2, "alt+m", "1")
    tool.set_foreground(typing)

    tool.keys(*(chord for chord, _, _ in UNTAKEN), "2", "f2")
    # The system hands F2 to the widget as it queues it, so it may reach slot one before the
    # window in front has read the keys typed ahead of it: wait for both. The widget handles
    # presses in order, so once F2 has arrived no other press is still on its way to a slot.
    expected = [(msg, vk) for _, msg, vk in UNTAKEN]
    wait_until(lambda: len(key_downs(probe, typing)) >= len(expected), "the untaken chords")
    probe.wait_received(slot1, seen1 + 1)

    assert key_downs(probe, typing) == expected
    assert [m.wparam for m in probe.received(slot1)[seen1:]] == [VK_F[2]]
    assert [m.wparam for m in probe.received(slot2)[seen2:]] == [VK_F[2]]

    # (the X window given the focus, the key typed on the X keyboard through XTEST)
    bench.host.type_on_x_keyboard([("Typing here", "F5"), ("native window", "F6"),
                                   ("Typing here", "F7")])
    # Keys are handled in order: once F7 has arrived, F6 would have arrived before it.
    probe.wait_received(slot1, seen1 + 3)
    assert [m.wparam for m in probe.received(slot1)[seen1:]] == [VK_F[2], VK_F[5], VK_F[7]]

    # Once the widget is closed, its keys reach the window in front.
    assert widget.close() == 0
    tool.set_foreground(typing)
    tool.keys("f6", "2")
    wait_until(lambda: len(key_downs(probe, typing)) >= len(expected) + 2,
               "two keys at the window in front")
    assert key_downs(probe, typing)[len(expected):] == [(WM_KEYDOWN, VK_F[6]),
                                                        (WM_KEYDOWN, ord("2"))]
