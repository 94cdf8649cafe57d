"""Moving the widget by its title strip, through the platform's own move loop."""

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
MIDDLE, RIGHT = 2, 3


def offset(point, delta):
    return (point[0] + delta[0], point[1] + delta[1])


def wait_position(widget, expected, what):
    """The widget's facts once it stands at `expected`: the move loop ends a little after the
    button is released. On failure the bench's report shows where it stands instead."""
    return wait_until(lambda: (lambda f: f if f.position == expected else None)(
        widget.form_facts()), f"the widget at {expected} ({what})")


def test_left_drag_on_the_strip_moves_the_widget_by_exactly_the_mouse_delta(painted, pointer,
                                                                             geometry):
    position = ORIGIN
    for place, delta in [(STRIP, (137, 91)), (STRIP_LAST_ROW, (-201, -150)),
                         (((0, 0), "Image2"), (3, 1)), (((201, 10), "Image2"), (-40, 200))]:
        client = geometry.point(*place)
        start = on_screen(position, client)
        pointer.drag(start, offset(start, delta))
        position = offset(position, delta)
        facts = wait_position(painted, position, f"dragged from {client} by {delta}")
        assert facts.size == geometry.client


@pytest.mark.parametrize("button", [RIGHT, MIDDLE])
def test_right_and_middle_presses_on_the_strip_move_the_widget_too(painted, pointer, button,
                                                                   geometry):
    # The platform's move loop follows the mouse whichever button started it, but only a left
    # release, Enter or Escape ends it.
    start = on_screen(ORIGIN, geometry.point(*STRIP))
    pointer.move(*start)
    pointer.press(button)
    pointer.move(*offset(start, (60, 45)))
    wait_position(painted, offset(ORIGIN, (60, 45)), "following the mouse")
    pointer.release(button)
    pointer.key("Return")

    # Put down: a later drag moves the widget by its own delta alone.
    position = offset(ORIGIN, (60, 45))
    start = on_screen(position, geometry.point(*STRIP))
    pointer.drag(start, offset(start, (-30, 20)))
    wait_position(painted, offset(position, (-30, 20)), "dragged again after Enter")


def test_presses_on_label2s_top_row_and_on_the_close_glyph_start_no_move(painted, pointer,
                                                                         geometry):
    # At 96 dpi Label2's box begins on the strip's last row, and the glyph lies on the strip's
    # right end: both take the press themselves. A strip drag afterwards shows the presses were
    # handled.
    for point, within in [LABEL2_TOP_ROW, ((85, 20), "Label2"), ((191, 7), "Image3"),
                          ((184, 0), "Image3"), ((199, 15), "Image3")]:
        start = on_screen(ORIGIN, geometry.point(point, within))
        pointer.drag(start, offset(start, (-150, 100)))
    start = on_screen(ORIGIN, geometry.point(*STRIP))
    pointer.drag(start, offset(start, (10, 10)))
    wait_position(painted, offset(ORIGIN, (10, 10)), "after the presses beside the strip")
    assert painted.running()


def test_a_double_click_on_the_strip_starts_a_move_again_and_never_maximises(painted, pointer,
                                                                             geometry):
    start = on_screen(ORIGIN, geometry.point(*STRIP))
    pointer.double_click_drag(start, offset(start, (70, -60)))
    facts = wait_position(painted, offset(ORIGIN, (70, -60)), "moved by the second press")
    assert (facts.zoomed, facts.size, facts.visible) == (False, geometry.client, True)


def test_escape_during_a_drag_puts_the_widget_back(painted, pointer, geometry):
    start = on_screen(ORIGIN, geometry.point(*STRIP))
    pointer.move(*start)
    pointer.press()
    pointer.move(*offset(start, (120, 80)))
    wait_position(painted, offset(ORIGIN, (120, 80)), "following the mouse")
    pointer.key("Escape")
    wait_position(painted, ORIGIN, "put back by Escape")
    pointer.release()
    # The release after Escape is no longer part of a move.
    pointer.drag(start, offset(start, (5, 5)))
    wait_position(painted, offset(ORIGIN, (5, 5)), "dragged again after Escape")


def test_moving_keeps_both_slots_and_every_hotkey(painted, pointer, tool, open_probe, geometry):
    probe = open_probe("First target", "Second target")
    first, second = probe.windows
    bind(tool, probe, first, "alt+n", "f2")
    bind(tool, probe, second, "alt+m", "2")

    start = on_screen(ORIGIN, geometry.point(*STRIP))
    pointer.drag(start, offset(start, (-180, 250)))
    wait_position(painted, offset(ORIGIN, (-180, 250)), "dragged")

    results = tool.try_hotkeys(*WIDGET_COMBOS)
    assert [combo for combo in WIDGET_COMBOS if results[combo]] == []
    before_first, before_second = len(probe.received(first)), len(probe.received(second))
    tool.keys("f7", "1")
    assert probe.wait_received(first, before_first + 1)[-1].wparam == VK_F[7]
    assert probe.wait_received(second, before_second + 1)[-1].wparam == VK_F[1]
