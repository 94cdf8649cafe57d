"""Windows virtual-key codes and hotkey modifiers that the tests press, hold and expect."""

VK_SHIFT, VK_CONTROL, VK_MENU = 0x10, 0x11, 0x12
VK_1, VK_M, VK_N = 0x31, 0x4D, 0x4E
VK_NUMPAD1 = 0x61
VK_F = {n: 0x6F + n for n in range(1, 13)}  # F1 to F12 by number
MOD_NONE, MOD_ALT, MOD_SHIFT = 0, 1, 4

# The seventeen (modifiers, key) combinations the widget holds while it runs.
WIDGET_COMBOS = ([(MOD_ALT, VK_N), (MOD_ALT, VK_M)]
                 + [(MOD_NONE, VK_1 + n) for n in range(5)]
                 + [(MOD_NONE, VK_F[n]) for n in range(1, 13)])


def arrives_as(chord):
    """The key a target receives for a pressed chord of the widget: "f7" arrives as F7 and the
    digit "3" as F3."""
    return VK_F[int(chord.removeprefix("f"))]
