"""The close glyph: a click ends the program, a press taken elsewhere does nothing."""

import pytest

from harness.onscreen import (ORIGIN, on_screen, painted, pointer,  # noqa: F401 (fixtures)
                            start_painted)
from harness.poll import wait_until
from harness.registry import registry_value

GLYPH = on_screen(ORIGIN, (191, 7))
BESIDE_GLYPH = on_screen(ORIGIN, (183, 5))  # the strip just left of it
STRIP = on_screen(ORIGIN, (100, 8))
DESKTOP = r"HKCU\Control Panel\Desktop"


@pytest.mark.parametrize("path", [[], [(600, 500)]], ids=["in place", "out and back"])
def test_a_click_on_the_close_glyph_ends_the_program_with_exit_code_0(painted, pointer, path):
    pointer.move(*GLYPH)
    pointer.press()
    for point in path:
        pointer.move(*point)
    pointer.move(*GLYPH)
    pointer.release()
    assert painted.exit_code() == 0


@pytest.mark.parametrize("release_at", [BESIDE_GLYPH, (600, 500), (10, 10)])
def test_a_press_on_the_glyph_released_elsewhere_leaves_the_widget_as_it_was(painted, pointer,
                                                                             release_at):
    pointer.drag(GLYPH, release_at)
    # A strip drag afterwards shows the release has been handled, and that it moved nothing.
    pointer.drag(STRIP, (STRIP[0] + 10, STRIP[1] + 10))
    wait_until(lambda: painted.form_facts().position == (ORIGIN[0] + 10, ORIGIN[1] + 10),
               "the widget dragged by the strip alone")
    assert painted.running()


def test_at_120_dpi_the_glyph_beyond_the_strip_still_closes_and_the_gap_moves_nothing(
        bench, start_widget, pointer):
    with registry_value(bench.wine, DESKTOP, "LogPixels", "REG_DWORD", "120"):
        widget = start_painted(bench.display.name, start_widget)
    # The strip keeps its 202 columns while the glyph moves to column 226; between them lies no
    # component at all.
    gap = on_screen(ORIGIN, (214, 5))
    pointer.drag(gap, (gap[0] + 30, gap[1] + 30))
    pointer.drag(STRIP, (STRIP[0] + 10, STRIP[1] + 10))
    moved = (ORIGIN[0] + 10, ORIGIN[1] + 10)
    wait_until(lambda: widget.form_facts().position == moved, "the widget dragged by the strip")

    pointer.click(*on_screen(moved, (233, 7)))
    assert widget.exit_code() == 0
