"""The ways of drawing a picture that the widget's own form never takes (its three pictures are
blended at their own size, test_layout.py), and controls with nothing to draw: WAYS. Their form
is written at build time by tests/e2e/forms and takes the place of the program's own in a copy of
it; what each control must show comes from this file's own reading of the pictures, never from
the program's code."""

import os
import pathlib

import pytest

from harness.poll import settled
from harness.resource import parse_form, with_form_description
from harness.screen import Screenshot
from harness.widget import Widget
from layout.look import client_pixels
from layout.pictures import Canvas, read_payload

ROOT = pathlib.Path(__file__).resolve().parents[2]
FORM = pathlib.Path(os.environ.get("HOTKEYS_DRAWING_FORM",
                                   ROOT / "build" / "native" / "tests" / "e2e" / "forms" /
                                   "drawing.bin"))
CREAM = (255, 251, 240)  # the form's colour, clCream
MARGIN = 2  # pixels around each control that keep the form's colour
# Halftone stretching averages neighbouring pixels with weights of its own. Inside a flat half of
# the picture every average is of one colour, so it may differ from it by rounding alone; next to
# the seam between the halves (and at the control's edges, where the average may reach past the
# picture) it lies somewhere between the colours that meet there.
ROUNDING = 2
SEAM = 3


def blend(pixel, beneath):
    """The integer blend of one straight-alpha pixel over an opaque colour."""
    b, g, r, a = pixel
    return tuple((d * 256 + (s - d) * a) >> 8 for s, d in zip((r, g, b), beneath))


def box(obj, picture=None):
    """The control's box; a picture drawn as it is keeps its own size."""
    props = obj.props
    if picture is None or (props.get("Stretch") and props["Stretch"].value):
        return tuple(props[side].value for side in ("Left", "Top", "Width", "Height"))
    return props["Left"].value, props["Top"].value, picture.width, picture.height


class Drawn(Screenshot):
    """The client area as the program drew the form, and the pictures as this file reads them."""

    def __init__(self, form, pixels, width):
        super().__init__(width, len(pixels) // 3 // width, pixels)
        self.form = form

    def picture(self, name):
        obj = self.form.child(name)
        picture = read_payload(obj.props["Picture.Data"].value)
        return picture, box(obj, picture)


def differences(drawn, canvas, box):
    """(x, y, expected, actual) of each pixel of the box and its margin that differs."""
    left, top, width, height = box
    return [(x, y, canvas.pixels[y][x], drawn.pixel(x, y))
            for y in range(top - MARGIN, top + height + MARGIN)
            for x in range(left - MARGIN, left + width + MARGIN)
            if canvas.pixels[y][x] != drawn.pixel(x, y)]


def exactly(drawn, name, transparent):
    """The picture's own colours at its own size, those of its bottom-left pixel left out when it
    is transparent."""
    picture, (left, top, width, height) = drawn.picture(name)
    canvas = Canvas(drawn.width, drawn.height, CREAM)
    key = picture.rows[picture.height - 1][0][2::-1] if transparent else None
    canvas.paste(picture, left, top, key)
    return differences(drawn, canvas, (left, top, width, height))


def stretched(drawn, name, _transparent):
    """Each half's colour blended over the form, across the whole control; between the two (or
    the form's colour) only where halftone averaging mixes them."""
    picture, (left, top, width, height) = drawn.picture(name)
    halves = [blend(picture.rows[0][0], CREAM), blend(picture.rows[0][-1], CREAM)]
    wrong = []
    for y in range(top - MARGIN, top + height + MARGIN):
        for x in range(left - MARGIN, left + width + MARGIN):
            actual = drawn.pixel(x, y)
            dx, dy = x - left, y - top
            if not (0 <= dx < width and 0 <= dy < height):
                allowed, slack = [CREAM], 0
            elif dx in (0, width - 1) or dy in (0, height - 1):
                allowed, slack = halves + [CREAM], ROUNDING
            elif abs(dx - width // 2) < SEAM:
                allowed, slack = halves, ROUNDING
            else:
                allowed, slack = [halves[dx >= width // 2]], ROUNDING
            if not all(min(c[i] for c in allowed) - slack <= actual[i]
                       <= max(c[i] for c in allowed) + slack for i in range(3)):
                wrong.append((x, y, allowed, actual))
    return wrong


def nothing(drawn, name, _transparent):
    """No picture to draw: the control's box keeps the form's colour."""
    return differences(drawn, Canvas(drawn.width, drawn.height, CREAM),
                       box(drawn.form.child(name)))


# control, how it is drawn, whether it is transparent
WAYS = {
    "24-bit picture": ("Image1", exactly, False),
    "transparent colour through a mask": ("Image2", exactly, True),
    "picture compressed by runs": ("Image3", exactly, False),
    "alpha picture stretched by halftone": ("Image4", stretched, False),
    "empty picture": ("Image5", nothing, False),
    "picture of an unknown class, under an empty caption": ("Image6", nothing, False),
}


@pytest.fixture(scope="module")
def drawn(bench, tmp_path_factory):
    """The widget with the form of pictures and its client area once painted."""
    description = FORM.read_bytes()
    copy = tmp_path_factory.mktemp("drawing") / "HotKeys.exe"
    copy.write_bytes(with_form_description(bench.exe, description))
    widget = Widget(bench.tool, str(copy))
    try:
        facts = widget.wait_shown()
        def painted():
            pixels = client_pixels(bench.tool, facts)
            return pixels if pixels[:3] == bytes(CREAM) else None

        pixels = settled(painted, "the form of pictures to be painted", (None,))
        yield Drawn(parse_form(description), pixels, facts.client[2])
    finally:
        widget.stop()


@pytest.mark.parametrize("way", WAYS)
def test_each_way_of_drawing_shows_the_picture_as_its_file_holds_it(drawn, way):
    name, check, transparent = WAYS[way]
    wrong = check(drawn, name, transparent)
    assert not wrong, f"{way}: {len(wrong)} pixels differ, first (x, y, expected, actual): " \
                      f"{wrong[:8]}"
