"""The three link labels: the hand pointer over them, and each one's page handed to the browser;
and at 120 dpi, where the links and the close glyph leave their stored places."""

import contextlib
import json

import pytest

from harness import screen
from harness.browser import BROWSER_KEY, RecordingBrowser
from harness.onscreen import (ORIGIN, on_screen, painted, pointer,  # noqa: F401 (fixtures)
                            start_painted)
from harness.poll import settled, wait_until

# The link labels, each opening its own page: the build names the pages (release.json). Their
# boxes, and every point aimed at, come from the layout at the bench's resolution (`geometry`).
LINKS = ["Label3", "Label4", "Label5"]
# Points of the widget at 96 dpi where the arrow shows, each with the component it lies in:
# the strip, a corner, the close glyph, Label2's top row, the background, the gaps between the
# links, above Label5 and right of it.
ARROW_POINTS = [((100, 8), "Image2"), ((0, 0), None), ((191, 7), "Image3"), ((70, 20), "Label2"),
                ((30, 40), None), ((68, 60), None), ((108, 60), None), ((150, 54), None),
                ((194, 60), None)]
DESKTOP = r"HKCU\Control Panel\Desktop"


@pytest.fixture
def browser(bench, tmp_path):
    stand_in = RecordingBrowser(str(tmp_path))
    with bench.host.registry_value(BROWSER_KEY, "Browsers", "REG_SZ", stand_in.script_path):
        yield stand_in


def middle(box):
    return ((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)


def widget_pixels(bench, geometry):
    width, height = geometry.client
    return screen.capture(bench.tool, ORIGIN[0], ORIGIN[1], ORIGIN[0] + width,
                          ORIGIN[1] + height).rgb


@pytest.fixture
def reference_shapes(bench, build_tree, pointer):
    """The pointer shapes of IDC_HAND and IDC_ARROW, read over cursorref.exe's two windows.
    They are taken at 96 dpi whatever the bench's resolution: Wine shows the widget's cursors
    as at 96 dpi, while a program started at 192 dpi shows both stock cursors as one stand-in."""
    with contextlib.ExitStack() as at_96_dpi:
        if bench.configuration.dpi != 96:
            at_96_dpi.enter_context(bench.host.registry_value(DESKTOP, "LogPixels",
                                                              "REG_DWORD", "96"))
        references = bench.tool.start(build_tree / "cursorref.exe")
        bare = settled_shape(pointer, 900, 740, ())  # the root window's own pointer
        hand = settled_shape(pointer, 70, 650, (bare,))
        arrow = settled_shape(pointer, 190, 650, (bare, hand))
    yield hand, arrow
    references.stop()


def settled_shape(pointer, x, y, unlike):
    """The shape the pointer shows at (x, y) once it differs from `unlike` and holds still."""
    pointer.move(x, y)
    return settled(pointer.shape, f"a settled pointer at ({x}, {y})", unlike)


def test_the_pointer_is_the_hand_over_every_link_and_each_link_hands_its_own_page_over(
        bench, build_tree, painted, pointer, reference_shapes, browser, geometry):
    hand, arrow = reference_shapes
    points = []
    for label in LINKS:
        left, top, right, bottom = box = geometry.edges(label)
        bottom = min(bottom, geometry.client[1])  # Label3's last row lies below the window
        points += [((x, y), hand) for x, y in [middle(box), (left, top), (right - 1, bottom - 1),
                                              (left, bottom - 1)]]
    points += [(geometry.point(point, within), arrow) for point, within in ARROW_POINTS]
    # Each point is reached from one that shows the other pointer, so a shape left over from
    # the point before cannot pass for the right one.
    name = {hand: "hand", arrow: "arrow"}
    elsewhere = {hand: (arrow, geometry.point((30, 40))),
                 arrow: (hand, middle(geometry.edges("Label4")))}
    for client, expected in points:
        other, other_client = elsewhere[expected]
        pointer.wait_shape(*on_screen(ORIGIN, other_client), other,
                           f"{name[other]} at client {other_client}")
        pointer.wait_shape(*on_screen(ORIGIN, client), expected,
                           f"{name[expected]} at client {client}")

    # Each link hands exactly its own page to the browser, and leaves the widget as it was.
    pages = json.loads((build_tree / "release.json").read_text())["pages"]
    assert len(set(pages.values())) == len(LINKS)
    pointer.move(10, 700)  # off the widget, so no pointer stands over what is compared
    before = widget_pixels(bench, geometry)
    for count, label in enumerate(LINKS, start=1):
        pointer.click(*on_screen(ORIGIN, middle(geometry.edges(label))))
        assert browser.wait_calls(count)[-1] == [pages[label]]
    pointer.move(10, 700)

    facts = painted.form_facts()
    assert (facts.position, facts.size, facts.visible, facts.iconic) == (
        ORIGIN, geometry.client, True, False)
    assert painted.running()
    assert widget_pixels(bench, geometry) == before
    assert browser.calls() == [[pages[label]] for label in LINKS]


@pytest.mark.own_configuration
def test_at_120_dpi_the_hand_follows_the_links_and_the_glyph_beyond_the_strip_still_closes(
        bench, start_widget, pointer, reference_shapes):
    hand, arrow = reference_shapes
    with bench.host.registry_value(DESKTOP, "LogPixels", "REG_DWORD", "120"):
        widget = start_painted(bench.tool, start_widget)
    # Label5 grows to (138, 68) 100 x 16 and Label3 moves down to (10, 69): the first point lies
    # only in Label5's scaled box, the second only in Label3's box as stored.
    pointer.wait_shape(*on_screen(ORIGIN, (230, 75)), hand, "hand in Label5's scaled box")
    pointer.wait_shape(*on_screen(ORIGIN, (30, 60)), arrow, "arrow in Label3's stored box")
    pointer.wait_shape(*on_screen(ORIGIN, (30, 75)), hand, "hand in Label3's scaled box")

    # The strip keeps its 202 columns while the glyph moves to column 226; between them lies no
    # component at all.
    gap = on_screen(ORIGIN, (214, 5))
    pointer.drag(gap, (gap[0] + 30, gap[1] + 30))
    strip = on_screen(ORIGIN, (100, 8))
    pointer.drag(strip, (strip[0] + 10, strip[1] + 10))
    moved = (ORIGIN[0] + 10, ORIGIN[1] + 10)
    wait_until(lambda: widget.form_facts().position == moved, "the widget dragged by the strip")
    pointer.click(*on_screen(moved, (233, 7)))
    assert widget.exit_code() == 0
