"""Python face of boxtool.exe: what a message box of another process shows, pressing its
buttons with the mouse, and reference boxes shown by the platform for comparison."""

import dataclasses
import subprocess

from harness import screen
from harness.poll import wait_until
from harness.processes import Process

IDOK = 1
MB_OK, MB_ICONSTOP, MB_ICONINFORMATION = 0x0, 0x10, 0x40


@dataclasses.dataclass
class BoxFacts:
    text: bytes
    icon: tuple  # left, top, right, bottom on the screen, or None
    buttons: list  # (id, text) in creation order


class BoxTool:
    def __init__(self, wine, exe, tool):
        self.wine, self.exe, self.tool = wine, exe, tool

    def facts(self, box):
        text, icon, buttons = None, None, []
        for line in self.wine.output(self.exe, "facts", hex(box)).splitlines():
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
        self.wine.output(self.exe, "click", hex(box), button)

    def icon_pixels(self, display, box):
        """The pixels of the box's icon as the screen shows them, once it has been drawn."""
        icon = wait_until(lambda: self.facts(box).icon, f"the icon of box {box:#x}")

        def drawn():
            pixels = screen.capture(display).region(*icon)
            return pixels if len(set(pixels[i:i + 3] for i in range(0, len(pixels), 3))) > 1 \
                else None
        return wait_until(drawn, f"the icon of box {box:#x} drawn")

    def reference_icon(self, display, flags, caption="Reference box"):
        """The icon pixels of a box that the platform shows with `flags`."""
        shown = Process(self.wine.command(self.exe, "show", hex(flags), caption.encode().hex(),
                                          b"Reference".hex()),
                        env=self.wine.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            box = wait_until(lambda: self.tool.find("#32770", caption), "the reference box")[0]
            pixels = self.icon_pixels(display, box)
            self.click(box)
            shown.wait(15)
            return pixels
        finally:
            shown.stop()
