"""Message boxes of other processes through the driver: what one shows, pressing its buttons
with the mouse, and reference boxes shown by the platform for comparison."""

import collections

from harness import screen
from harness.poll import wait_until

IDOK = 1
MB_OK, MB_ICONSTOP, MB_ICONINFORMATION = 0x0, 0x10, 0x40


# The message's bytes; the icon's left, top, right and bottom on the screen, or None; the push
# buttons' (id, text) in creation order.
BoxFacts = collections.namedtuple("BoxFacts", "text icon buttons")


class BoxTool:
    def __init__(self, tool):
        self.tool = tool

    def facts(self, box):
        self.tool.wait_shown(box)
        text, icon, buttons = None, None, []
        for line in self.tool.lines("boxfacts", hex(box)):
            key, _, value = line.partition("=")
            if key == "text":
                text = bytes.fromhex(value)
            elif key == "icon":
                icon = tuple(int(n) for n in value.split(","))
            elif key == "button":
                number, _, label = value.partition(",")
                buttons.append((int(number), bytes.fromhex(label).decode("latin-1")))
        return BoxFacts(text, icon, buttons)

    def click(self, box, button=IDOK):
        self.tool.lines("click", hex(box), button)

    def icon_pixels(self, tool, box):
        """The pixels of the box's icon as the screen shows them, once it has been drawn."""
        icon = wait_until(lambda: self.facts(box).icon, f"the icon of box {box:#x}")
        colours = lambda rgb: {rgb[i:i + 3] for i in range(0, len(rgb), 3)}
        return wait_until(lambda: screen.capture(tool, *icon).rgb, f"the icon of box {box:#x}"
                          " drawn", accept=lambda rgb: len(colours(rgb)) > 1)

    def reference_icon(self, tool, flags, caption="Reference box"):
        """The icon pixels of a box that the platform shows with `flags`, in the driver."""
        self.tool.lines("showbox", hex(flags), caption.encode().hex(), b"Reference".hex())
        box = wait_until(lambda: self.tool.find("#32770", caption), "the reference box")[0]
        pixels = self.icon_pixels(tool, box)
        self.click(box)
        wait_until(lambda: not self.tool.find("#32770", caption), "the reference box gone")
        return pixels
