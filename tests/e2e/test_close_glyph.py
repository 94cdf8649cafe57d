"""The close glyph: a click ends the program, a press taken elsewhere does nothing."""

import pytest

from bench.onscreen import ORIGIN, on_screen, painted, pointer  # noqa: F401 (fixtures)
from bench.poll import wait_until

GLYPH = on_screen(ORIGIN, (191, 7))
BESIDE_GLYPH = on_screen(ORIGIN, (183, 5))  # the strip just left of it
STRIP = on_screen(ORIGIN, (100, 8))


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
