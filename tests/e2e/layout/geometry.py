"""Where the widget is: where it stands on the screen, and where its components lie at a screen
resolution, worked out from the form description and the height of "0" in the form's font,
measured by the driver at that resolution: the tests' own reading of the scaling rule, from which
the pictures' places, the labels' boxes and every point the mouse aims at follow."""

from harness.paths import ROOT
from harness.resource import parse_form

YARDSTICK = b"0"


def mul_div(a, b, c):
    """a * b / c to the nearest integer, an exact half away from zero."""
    magnitude = (abs(a * b) + abs(c) // 2) // abs(c)
    return -magnitude if (a * b < 0) != (c < 0) else magnitude


# Where the widget stands on the screen and its client area's size at 96 dpi, from the form
# description the program is built with.
_FORM = parse_form((ROOT / "resources" / "TForm1.bin").read_bytes())
ORIGIN = (_FORM.value("Left"), _FORM.value("Top"))
SIZE = (_FORM.value("ClientWidth"), _FORM.value("ClientHeight"))


class Geometry:
    def __init__(self, form, dpi, text_height):
        """`text_height`: the height of "0" in the form's font at `dpi` (`measure` finds it)."""
        self.dpi = dpi
        self.n, self.stored = text_height, form.value("TextHeight")
        self.client = (self.scale(form.value("ClientWidth")),
                       self.scale(form.value("ClientHeight")))
        self.components, self._stored, self.font_heights = {}, {}, {}
        for obj in form.children:
            left, top = obj.value("Left", 0), obj.value("Top", 0)
            self._stored[obj.name] = (left, top)
            width, height = obj.value("Width"), obj.value("Height")
            if obj.cls == "TImage":
                # A picture keeps its size and only moves.
                box = (self.scale(left), self.scale(top), width, height)
            else:
                box = (self.scale(left), self.scale(top),
                       self.scale(left + width) - self.scale(left),
                       self.scale(top + height) - self.scale(top))
                self.font_heights[obj.name] = self._font_height(obj.value("Font.Height"))
            self.components[obj.name] = (obj.cls, box)

    @classmethod
    def measure(cls, form, layout, dpi):
        """The geometry at `dpi`, with the driver (run at that resolution) measuring "0"."""
        height = form.value("Font.Height")
        if dpi != form.value("PixelsPerInch"):
            height = mul_div(height, dpi, form.value("PixelsPerInch"))
        return cls(form, dpi, layout.text(form.value("Font.Name"), height, YARDSTICK).height)

    def scale(self, number):
        return number if self.n == self.stored else mul_div(number, self.n, self.stored)

    def _font_height(self, stored):
        if self.n == self.stored:
            return stored
        points = -mul_div(stored, 72, self.dpi)
        return -mul_div(mul_div(points, self.n, self.stored), self.dpi, 72)

    def box(self, name):
        """(left, top, width, height) of a component; an auto-sized label's width and height are
        its stored ones, scaled (it measures its caption once it is loaded)."""
        return self.components[name][1]

    def edges(self, name):
        """(left, top, right, bottom) of a component, the right and bottom edges excluded."""
        left, top, width, height = self.box(name)
        return (left, top, left + width, top + height)

    def point(self, point, within=None):
        """Where (x, y) of the widget at 96 pixels per inch lies at this resolution: inside a
        picture (`within` names it), at the same place of the moved picture; anywhere else (a
        label, a gap between components) where the scaling rule takes it."""
        x, y = point
        if within and self.components[within][0] == "TImage":
            stored_left, stored_top = self._stored[within]
            left, top = self.box(within)[:2]
            return (left + x - stored_left, top + y - stored_top)
        return (self.scale(x), self.scale(y))

    def expected_look(self):
        """The arguments of layout.expected.Expected that give the look at this resolution."""
        return {"size": self.client,
                "places": {name: box[:2] for name, (_, box) in self.components.items()},
                "boxes": {name: box for name, (cls, box) in self.components.items()
                          if cls != "TImage"},
                "font_heights": self.font_heights}
