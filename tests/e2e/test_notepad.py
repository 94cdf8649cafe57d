"""A program nobody here wrote as the target: Wine's notepad inserts the time and date on F5."""

import re

import pytest

from harness.binding import bind
from harness.poll import wait_until

TIME = re.compile(r"\d{1,2}:\d{2}")


@pytest.fixture
def notepad(tool):
    launcher = tool.start(r"C:\windows\system32\notepad.exe")
    pid = launcher.pid
    window = wait_until(lambda: tool.find("Notepad", "*", pid), "notepad's window")[0]
    yield window
    # Closing would ask whether to save the inserted text.
    tool.kill(pid)
    launcher.stop()


def test_notepad_bound_with_alt_n_inserts_the_time_on_every_f5_from_the_background(
        tool, widget, notepad, open_probe):
    probe = open_probe("Working here")
    working = probe.windows[0]
    seen = bind(tool, probe, working, "alt+m", "1")

    # The probe in slot 2 shows when the widget has taken notepad into slot 1: it handles the
    # presses in order, so the F1 for "1" arrives only after Alt+N is done.
    tool.set_foreground(notepad)
    tool.keys("alt+n", "1")
    probe.wait_received(working, seen + 1)

    tool.set_foreground(working)
    for count in (1, 2, 3):
        tool.keys("f5")
        wait_until(lambda: len(TIME.findall(tool.edit_text(notepad))) == count,
                   lambda: f"{count} time stamps in notepad's text {tool.edit_text(notepad)!r}")

    assert len(probe.received(working)) == seen + 1
    assert tool.foreground()["focus"] == working

