"""The bench's own instruments, checked against a probe window before anything relies on them."""

from bench.probe import WM_KEYDOWN, WM_SYSKEYDOWN

VK_MENU, VK_N, VK_F5 = 0x12, 0x4E, 0x74
ALT_DOWN_BIT = 1 << 29


def test_keys_keep_alt_held_across_the_key_and_posts_arrive_verbatim(tool, open_probe):
    probe = open_probe("Bench")
    window = probe.windows[0]
    tool.set_foreground(window)

    tool.keys("alt+n")
    downs = probe.wait_received(window, 2, WM_SYSKEYDOWN)
    assert [m.wparam for m in downs] == [VK_MENU, VK_N]
    assert downs[1].lparam & ALT_DOWN_BIT

    tool.post(window, WM_KEYDOWN, VK_F5, 0)
    assert [(m.wparam, m.lparam) for m in probe.wait_received(window, 1)] == [(VK_F5, 0)]
    assert probe.focused() == window
