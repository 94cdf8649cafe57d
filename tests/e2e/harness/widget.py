"""HotKeys.exe under test: its process, its two windows and a clean end."""

import subprocess

from .poll import wait_until
from .wine import windows_path
from .wintool import SC_CLOSE, WM_SYSCOMMAND

SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE = 3, 7
# About three times what a close takes here.
CLOSE_SECONDS = 12


def stop_all(widgets):
    """Stops every widget, the last started first, and then fails with the first failure, so
    that one widget that would not close leaves none of the others running."""
    failures = []
    for widget in reversed(widgets):
        try:
            widget.stop()
        except AssertionError as failure:
            failures.append(failure)
    if failures:
        raise failures[0]


class Widget:
    def __init__(self, tool, exe, show=None):
        self.tool = tool
        self.exe = exe
        self.launcher, self.pid = tool.start(windows_path(exe), show)
        self.app = self._window("TApplication")
        self.form = self._window("TForm1")

    def _window(self, cls):
        found = wait_until(lambda: self.tool.find(cls, "*", self.pid) or self._exited(),
                           f"a {cls} window of process {self.pid} ({self.exe})")
        if found == "exited":
            raise AssertionError(f"{self.exe} exited with {self.exit_code()} before showing {cls}")
        return found[0]

    def _exited(self):
        return "exited" if not self.running() else None

    # The two windows live as long as the program, so their facts are always there to read.
    def app_facts(self):
        return self.tool.facts(self.app)

    def form_facts(self):
        return self.tool.facts(self.form)

    def wait_shown(self):
        """Waits until the widget is on screen, which is after its hotkeys are registered."""
        return wait_until(lambda: (lambda f: f if f and f.visible else None)(self.form_facts()),
                          "the widget window to be shown")

    def running(self):
        return self.launcher.poll() is None

    def exit_code(self, timeout=15):
        """The program's exit code once it has ended (the launcher passes it on)."""
        return self.launcher.wait(timeout)

    def close(self):
        """Closes the program the way the taskbar button's Close does; returns the exit code."""
        self._post_close()
        return self.exit_code()

    def _post_close(self):
        self.tool.post(self.app, WM_SYSCOMMAND, SC_CLOSE)

    def stop(self):
        """Ends the program whatever state a test left it in, closed the way a user closes it, so
        that every test ends with the orderly shut-down (and a coverage build writes what it
        counted). A program that does not end within CLOSE_SECONDS is terminated, and the test
        fails: its close hangs. Closing takes about 4 s under Wine without a window manager
        (hiding each window waits 2 s), killing 0.3 s."""
        try:
            if self.running():
                self._post_close()
                try:
                    code = self.launcher.wait(CLOSE_SECONDS)
                except subprocess.TimeoutExpired:
                    self.tool.kill(self.pid)
                    self.launcher.wait(10)
                    raise AssertionError(f"{self.exe} did not end within {CLOSE_SECONDS} s of "
                                         "being closed, and was terminated") from None
                assert code == 0, f"{self.exe} ended with exit code {code} when closed"
        finally:
            self.launcher.stop()
