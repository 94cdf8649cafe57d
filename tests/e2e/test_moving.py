"""Moving the widget by its title strip, through the platform's own move loop; and the close
glyph, whose click ends the program while a press taken elsewhere does nothing."""

import pytest

from harness.binding import bind
from harness.keys import VK_F, WIDGET_COMBOS
from harness.onscreen import ORIGIN, on_screen, painted, pointer  # noqa: F401 (fixtures)
from harness.poll import wait_until

# Points of the widget's client area at 96 dpi, each with the component it lies in; `geometry`
# gives each at the bench's resolution.
STRIP = ((100, 8), "Image2")
STRIP_LAST_ROW = ((120, 20), "Image2")
LABEL2_TOP_ROW = ((70, 20), "Label2")
GLYPH = ((191, 7), "Image3")
MIDDLE, RIGHT = 2, 3


def offset(point, delta):
    return (point[0] + delta[0], point[1] + delta[1])


def wait_position(widget, expected, what):
    """The widget's facts once it stands at `expected`: the move loop ends a little after the
    button is released. On failure the bench's report shows where it stands instead."""
    return wait_until(widget.form_facts, f"the widget at {expected} ({what})",
                      accept=lambda facts: facts.position == expected)


def test_a_drag_on_the_strip_moves_the_widget_by_the_mouse_delta_until_it_ends_or_is_undone(
        painted, pointer, geometry):
    position = ORIGIN
    for place, delta in [(STRIP, (137, 91)), (STRIP_LAST_ROW, (-201, -150)),
                         (((0, 0), "Image2"), (3, 1)), (((201, 10), "Image2"), (-40, 200))]:
        client = geometry.point(*place)
        start = on_screen(position, client)
        pointer.drag(start, offset(start, delta))
        position = offset(position, delta)
        facts = wait_position(painted, position, f"dragged from {client} by {delta}")
        assert facts.size == geometry.client

    # A double click starts a move again and never maximises.
    start = on_screen(position, geometry.point(*STRIP))
    pointer.double_click_drag(start, offset(start, (70, -60)))
    position = offset(position, (70, -60))
    facts = wait_position(painted, position, "moved by the second press")
    assert (facts.zoomed, facts.size, facts.visible) == (False, geometry.client, True)

    # Escape during a drag puts the widget back, and the release after it is no longer part of
    # a move.
    start = on_screen(position, geometry.point(*STRIP))
    pointer.move(*start)
    pointer.press()
    pointer.move(*offset(start, (120, 80)))
    wait_position(painted, offset(position, (120, 80)), "following the mouse")
    pointer.key("Escape")
    wait_position(painted, position, "put back by Escape")
    pointer.release()
    pointer.drag(start, offset(start, (5, 5)))
    wait_position(painted, offset(position, (5, 5)), "dragged again after Escape")


def test_right_and_middle_presses_on_the_strip_move_the_widget_too_keeping_slots_and_hotkeys(
        painted, pointer, tool, open_probe, geometry):
    probe = open_probe("First target", "Second target")
    first, second = probe.windows
    bind(tool, probe, first, "alt+n", "f2")
    bind(tool, probe, second, "alt+m", "2")
    # The platform's move loop follows the mouse whichever button started it, but only a left
    # release, Enter or Escape ends it. Put down, the widget moves by a later drag's delta alone.
    position = ORIGIN
    for button in (RIGHT, MIDDLE):
        start = on_screen(position, geometry.point(*STRIP))
        pointer.move(*start)
        pointer.press(button)
        pointer.move(*offset(start, (60, 45)))
        position = offset(position, (60, 45))
        wait_position(painted, position, f"following the mouse with button {button}")
        pointer.release(button)
        pointer.key("Return")

        start = on_screen(position, geometry.point(*STRIP))
        pointer.drag(start, offset(start, (-30, 20)))
        position = offset(position, (-30, 20))
        wait_position(painted, position, f"dragged again after Enter ended button {button}'s move")

    results = tool.try_hotkeys(*WIDGET_COMBOS)
    assert [combo for combo in WIDGET_COMBOS if results[combo]] == []
    before_first, before_second = len(probe.received(first)), len(probe.received(second))
    tool.keys("f7", "1")
    assert probe.wait_received(first, before_first + 1)[-1].wparam == VK_F[7]
    assert probe.wait_received(second, before_second + 1)[-1].wparam == VK_F[1]


def test_presses_on_label2s_top_row_and_on_the_close_glyph_released_elsewhere_start_no_move(
        painted, pointer, geometry):
    # At 96 dpi Label2's box begins on the strip's last row, and the glyph lies on the strip's
    # right end: both take the press themselves, and the glyph closes nothing when released just
    # left of it (on the strip at 96 dpi) or off the widget. A strip drag after each press shows
    # it was handled and moved nothing.
    position = ORIGIN
    presses = [(place, lambda start: offset(start, (-150, 100)), "dragged away")
               for place in [LABEL2_TOP_ROW, ((85, 20), "Label2"), GLYPH, ((184, 0), "Image3"),
                             ((199, 15), "Image3")]]
    presses += [(GLYPH, lambda _: on_screen(position, geometry.point((183, 5), "Image3")),
                 "beside the glyph"), (GLYPH, lambda _: (600, 500), "off the widget"),
                (GLYPH, lambda _: (10, 10), "at the screen's corner")]
    for place, release, how in presses:
        start = on_screen(position, geometry.point(*place))
        pointer.drag(start, release(start))
        strip = on_screen(position, geometry.point(*STRIP))
        pointer.drag(strip, offset(strip, (10, 10)))
        position = offset(position, (10, 10))
        wait_position(painted, position, f"dragged by the strip after a press on {place} {how}")
    assert painted.running()


@pytest.mark.parametrize("path", [[], [(600, 500)]], ids=["in place", "out and back"])
def test_a_click_on_the_close_glyph_ends_the_program_with_exit_code_0(painted, pointer, path,
                                                                      geometry):
    glyph = on_screen(ORIGIN, geometry.point(*GLYPH))
    pointer.move(*glyph)
    pointer.press()
    for point in path:
        pointer.move(*point)
    pointer.move(*glyph)
    pointer.release()
    assert painted.exit_code() == 0
