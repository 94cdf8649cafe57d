"""A private X server on a display number that nobody else uses: Xvfb, or TigerVNC's Xvnc when
the configuration names a keyboard layout, since Xvfb keeps the us layout whatever it is told.
Xvnc serves no VNC viewer here: it listens on no port and answers local X clients only."""

import os
import select
import subprocess

from .configuration import Configuration
from .processes import Process

WIDTH, HEIGHT = 1024, 768
SERVERS = {
    "Xvfb": ["Xvfb", "-screen", "0", f"{WIDTH}x{HEIGHT}x24"],
    "Xvnc": ["Xvnc", "-geometry", f"{WIDTH}x{HEIGHT}", "-depth", "24", "-SecurityTypes", "None",
             "-rfbport", "-1"],
}


class Display:
    def __init__(self):
        self.server = "Xvnc" if Configuration.from_environment().keyboard else "Xvfb"
        read_end, write_end = os.pipe()
        with open(read_end, "rb") as reader:
            try:  # -displayfd lets the server pick a free display and tell us which one.
                self.process = Process(
                    [*SERVERS[self.server], "-displayfd", str(write_end), "-nolisten", "tcp"],
                    pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            finally:
                os.close(write_end)
            text = reader.readline() if select.select([reader], [], [], 20.0)[0] else b""
        if not text.endswith(b"\n"):
            self.process.stop()
            raise RuntimeError(f"{self.server} did not report a display number (got {text!r})")
        self.name = f":{int(text)}"

    def stop(self):
        self.process.stop()
