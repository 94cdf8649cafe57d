"""The close glyph: a click ends the program, a press taken elsewhere does nothing."""

import pytest

from harness.onscreen import (ORIGIN, on_screen, painted, pointer,  # noqa: F401 (fixtures)
                            start_painted)
from harness.poll import wait_until

DESKTOP = r"HKCU\Control Panel\Desktop"


def glyph(geometry):
    return on_screen(ORIGIN, geometry.point((191, 7), "Image3"))


def strip(geometry):
    return on_screen(ORIGIN, geometry.point((100, 8), "Image2"))


# Where a press on the glyph is released: just left of it (on the strip at 96 dpi), and off the
# widget.
RELEASES = {
    "beside the glyph": lambda geometry: on_screen(ORIGIN, geometry.point((183, 5), "Image3")),
    "off the widget": lambda geometry: (600, 500),
    "at the screen's corner": lambda geometry: (10, 10),
}


@pytest.mark.parametrize("path", [[], [(600, 500)]], ids=["in place", "out and back"])
def test_a_click_on_the_close_glyph_ends_the_program_with_exit_code_0(painted, pointer, path,
                                                                      geometry):
    pointer.move(*glyph(geometry))
    pointer.press()
    for point in path:
        pointer.move(*point)
    pointer.move(*glyph(geometry))
    pointer.release()
    assert painted.exit_code() == 0


@pytest.mark.parametrize("release_at", RELEASES)
def test_a_press_on_the_glyph_released_elsewhere_leaves_the_widget_as_it_was(painted, pointer,
                                                                             release_at, geometry):
    pointer.drag(glyph(geometry), RELEASES[release_at](geometry))
    # A strip drag afterwards shows the release has been handled, and that it moved nothing.
    start = strip(geometry)
    pointer.drag(start, (start[0] + 10, start[1] + 10))
    wait_until(lambda: painted.form_facts().position == (ORIGIN[0] + 10, ORIGIN[1] + 10),
               "the widget dragged by the strip alone")
    assert painted.running()


@pytest.mark.own_configuration
def test_at_120_dpi_the_glyph_beyond_the_strip_still_closes_and_the_gap_moves_nothing(
        bench, start_widget, pointer):
    with bench.host.registry_value(DESKTOP, "LogPixels", "REG_DWORD", "120"):
        widget = start_painted(bench.tool, start_widget)
    # The strip keeps its 202 columns while the glyph moves to column 226; between them lies no
    # component at all.
    gap = on_screen(ORIGIN, (214, 5))
    pointer.drag(gap, (gap[0] + 30, gap[1] + 30))
    strip_at_120 = on_screen(ORIGIN, (100, 8))
    pointer.drag(strip_at_120, (strip_at_120[0] + 10, strip_at_120[1] + 10))
    moved = (ORIGIN[0] + 10, ORIGIN[1] + 10)
    wait_until(lambda: widget.form_facts().position == moved, "the widget dragged by the strip")

    pointer.click(*on_screen(moved, (233, 7)))
    assert widget.exit_code() == 0
