"""The three link labels: the hand pointer over them, and each one's page handed to the browser."""

import json
import os

import pytest

from harness import screen
from harness.browser import BROWSER_KEY, RecordingBrowser
from harness.onscreen import (ORIGIN, on_screen, painted, pointer,  # noqa: F401 (fixtures)
                            start_painted)
from harness.poll import wait_until
from harness.processes import Process
from harness.registry import registry_value

# Each link label's box in client coordinates (left, top, right, bottom; the right and bottom
# edges excluded) and the label whose page it opens: the build names the pages (release.json).
LINKS = [
    ((8, 56, 65, 69), "Label3"),
    ((72, 55, 105, 68), "Label4"),
    ((112, 55, 193, 68), "Label5"),
]
CLIENT_HEIGHT = 68
DESKTOP = r"HKCU\Control Panel\Desktop"


@pytest.fixture
def browser(bench, tmp_path):
    stand_in = RecordingBrowser(str(tmp_path))
    with registry_value(bench.wine, BROWSER_KEY, "Browsers", "REG_SZ", stand_in.script_path):
        yield stand_in


def middle(box):
    return ((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)


def widget_pixels(bench):
    return screen.capture(bench.display.name).region(ORIGIN[0], ORIGIN[1], ORIGIN[0] + 202,
                                                      ORIGIN[1] + CLIENT_HEIGHT)


def test_each_link_hands_exactly_its_own_page_to_the_browser(bench, build_tree, painted, pointer,
                                                              browser):
    pages = json.loads((build_tree / "release.json").read_text())["pages"]
    assert len(set(pages.values())) == len(LINKS)
    before = widget_pixels(bench)
    for count, (box, label) in enumerate(LINKS, start=1):
        pointer.click(*on_screen(ORIGIN, middle(box)))
        assert browser.wait_calls(count)[-1] == [pages[label]]
    pointer.move(10, 700)  # off the widget, so no pointer stands over what is compared

    facts = painted.form_facts()
    assert (facts.position, facts.size, facts.visible, facts.iconic) == (ORIGIN, (202, 68), True,
                                                                         False)
    assert painted.running()
    assert widget_pixels(bench) == before
    assert browser.calls() == [[pages[label]] for _, label in LINKS]


@pytest.fixture
def reference_shapes(bench, pointer):
    """The X pointer shapes of IDC_HAND and IDC_ARROW, read over cursorref.exe's two windows."""
    exe = os.path.join(os.path.dirname(bench.tool.exe), "cursorref.exe")
    references = Process(bench.wine.command(exe), env=bench.wine.env)
    bare = settled_shape(pointer, 900, 740, ())  # the root window's own pointer
    hand = settled_shape(pointer, 70, 650, (bare,))
    arrow = settled_shape(pointer, 190, 650, (bare, hand))
    yield hand, arrow
    references.stop()


def settled_shape(pointer, x, y, unlike):
    """The shape the pointer shows at (x, y) once it differs from `unlike` and holds still."""
    pointer.move(x, y)
    last = [None]

    def settled():
        now = pointer.shape()
        done = now not in unlike and now == last[0]
        last[0] = now
        return now if done else None

    return wait_until(settled, f"a settled pointer at ({x}, {y})")


def test_the_pointer_is_the_hand_over_every_link_label_and_the_arrow_elsewhere(
        painted, pointer, reference_shapes):
    hand, arrow = reference_shapes
    points = []
    for box, _ in LINKS:
        left, top, right, bottom = box
        bottom = min(bottom, CLIENT_HEIGHT)  # Label3's last row lies below the window
        points += [((x, y), hand) for x, y in [middle(box), (left, top), (right - 1, bottom - 1),
                                              (left, bottom - 1)]]
    points += [((x, y), arrow) for x, y in [(100, 8), (0, 0), (191, 7), (70, 20), (30, 40),
                                           (68, 60), (108, 60), (150, 54), (194, 60)]]
    # Each point is reached from one that shows the other pointer, so a shape left over from
    # the point before cannot pass for the right one.
    name = {hand: "hand", arrow: "arrow"}
    elsewhere = {hand: (arrow, (30, 40)), arrow: (hand, middle(LINKS[1][0]))}
    for client, expected in points:
        other, other_client = elsewhere[expected]
        pointer.wait_shape(*on_screen(ORIGIN, other_client), other,
                           f"{name[other]} at client {other_client}")
        pointer.wait_shape(*on_screen(ORIGIN, client), expected,
                           f"{name[expected]} at client {client}")


def test_at_120_dpi_the_hand_follows_the_links_to_their_scaled_boxes(bench, start_widget, pointer,
                                                                      reference_shapes):
    hand, arrow = reference_shapes
    with registry_value(bench.wine, DESKTOP, "LogPixels", "REG_DWORD", "120"):
        start_painted(bench.display.name, start_widget)
    # Label5 grows to (138, 68) 100 x 16 and Label3 moves down to (10, 69): the first point lies
    # only in Label5's scaled box, the second only in Label3's box as stored.
    pointer.wait_shape(*on_screen(ORIGIN, (230, 75)), hand, "hand in Label5's scaled box")
    pointer.wait_shape(*on_screen(ORIGIN, (30, 60)), arrow, "arrow in Label3's stored box")
    pointer.wait_shape(*on_screen(ORIGIN, (30, 75)), hand, "hand in Label3's scaled box")
