"""The widget under the mouse: started, shown and painted, so its window takes the pointer.

Test files take the fixtures by importing them: `from harness.onscreen import painted, pointer`."""

import pytest
from layout.geometry import ORIGIN

from . import screen
from .pointer import Pointer


def on_screen(position, client):
    """A point of the widget's client area, on the screen, with the widget at `position`."""
    return (position[0] + client[0], position[1] + client[1])


def start_painted(tool, start_widget):
    before = screen.capture(tool)
    widget = start_widget()
    screen.wait_for_first_paint(tool, widget.wait_shown().rect, before)
    return widget


@pytest.fixture
def painted(bench, start_widget):
    return start_painted(bench.tool, start_widget)


@pytest.fixture
def pointer(bench):
    return Pointer(bench.tool)
