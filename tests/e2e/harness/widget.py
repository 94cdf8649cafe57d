"""HotKeys.exe under test: its process, its two windows and a clean end."""

import subprocess
import time

from .poll import wait_until
from .driver import SC_CLOSE, WM_SYSCOMMAND

SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE = 3, 7
# About five times what a close takes here, so that it holds while another file runs beside.
CLOSE_SECONDS = 20


def stop_all(widgets):
    """Ends every widget, each closed the way a user closes it, so that every test ends with the
    orderly shut-down (and a coverage build writes what it counted). All are closed at once and
    waited for together: hiding a window waits about 2 s under Wine without a window manager, and
    those waits overlap. A widget that has not ended within CLOSE_SECONDS is terminated, and the
    first failure is raised once none of them is left running: a close that hangs is a fault."""
    closing = [widget for widget in reversed(widgets) if widget.running()]
    for widget in closing:
        widget._post_close()
    deadline = time.monotonic() + CLOSE_SECONDS
    failures = []
    for widget in widgets:
        try:
            if widget in closing:
                widget._wait_closed(deadline)
        except AssertionError as failure:
            failures.append(failure)
        finally:
            widget.launcher.stop()
    if failures:
        raise failures[0]


class Widget:
    def __init__(self, tool, exe, show=None):
        self.tool, self.exe = tool, exe
        self.launcher = tool.start(exe, show=show)
        self.pid = self.launcher.pid
        self.app = self._window("TApplication")
        self.form = self._window("TForm1")

    def _window(self, cls):
        found = wait_until(lambda: self.tool.find(cls, "*", self.pid),
                           f"a {cls} window of process {self.pid} ({self.exe})",
                           accept=lambda found: found or not self.running())
        if not found:
            raise AssertionError(f"{self.exe} exited with {self.exit_code()} before showing {cls}")
        return found[0]

    # The two windows live as long as the program, so their facts are always there to read.
    def app_facts(self):
        return self.tool.facts(self.app)

    def form_facts(self):
        return self.tool.facts(self.form)

    def wait_shown(self):
        """Waits until the widget is on screen, which is after its hotkeys are registered, and
        its taskbar button too, which the program shows a moment later; returns the widget's
        facts."""
        return wait_until(self.form_facts, "the widget window and its taskbar button to be shown",
                          accept=lambda facts: facts.visible and self.app_facts().visible)

    def running(self):
        return self.launcher.poll() is None

    def exit_code(self, timeout=15):
        return self.launcher.wait(timeout)

    def close(self):
        """Closes the program the way the taskbar button's Close does; returns the exit code."""
        self._post_close()
        return self.exit_code()

    def _post_close(self):
        self.tool.post(self.app, WM_SYSCOMMAND, SC_CLOSE)

    def stop(self):
        stop_all([self])

    def _wait_closed(self, deadline):
        try:
            code = self.launcher.wait(max(0.0, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            self.tool.kill(self.pid)
            self.launcher.wait(10)
            raise AssertionError(f"{self.exe} did not end within {CLOSE_SECONDS} s of being "
                                 "closed, and was terminated") from None
        assert code == 0, f"{self.exe} ended with exit code {code} when closed"
