"""A recording stand-in for the user's web browser.

Wine hands a page that a program opens through the shell to the Unix commands listed in
HKCU\\Software\\Wine\\WineBrowser "Browsers"; pointed at this script, every hand-off is written
to a log, one line per argument, each call closed by an "end" line."""

import os
import pathlib
import stat

from .poll import wait_until

BROWSER_KEY = r"HKCU\Software\Wine\WineBrowser"

SCRIPT = """#!/bin/sh
for argument in "$@"; do printf 'arg %s\\n' "$argument"; done >> '{log}'
echo end >> '{log}'
"""


class RecordingBrowser:
    """Writes the script into `folder`; the test lists it as the browser (BROWSER_KEY)."""

    def __init__(self, folder):
        self.log_path = os.path.join(folder, "browser.log")
        self.script_path = os.path.join(folder, "browser.sh")
        open(self.log_path, "w").close()
        with open(self.script_path, "w") as script:
            script.write(SCRIPT.format(log=self.log_path))
        os.chmod(self.script_path, os.stat(self.script_path).st_mode | stat.S_IXUSR)

    def calls(self):
        """The argument lists of the hand-offs so far, oldest first."""
        lines = pathlib.Path(self.log_path).read_text().splitlines()
        ends = [at for at, line in enumerate(lines) if line == "end"]
        return [[line[len("arg "):] for line in lines[start + 1:end]]
                for start, end in zip([-1] + ends, ends)]

    def wait_calls(self, count):
        return wait_until(self.calls, f"{count} hand-offs to the browser stand-in "
                          f"({self.log_path})", accept=lambda calls: len(calls) >= count)
