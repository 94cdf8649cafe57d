"""A private X server on a display number that nobody else uses: Xvfb, or TigerVNC's Xvnc when
the configuration names a keyboard layout, since Xvfb keeps the us layout whatever it is told.
Xvnc serves no VNC viewer here: it listens on no port and answers local X clients only."""

import os
import select

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
        try:
            # -displayfd lets the server pick a free display and tell us which one.
            self.process = Process(
                [*SERVERS[self.server], "-displayfd", str(write_end), "-nolisten", "tcp"],
                pass_fds=(write_end,), stdout=open(os.devnull, "w"), stderr=open(os.devnull, "w"))
            os.close(write_end)
            write_end = None
            self.number = self._read_number(read_end)
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.name = f":{self.number}"

    def _read_number(self, read_end, timeout=20.0):
        text = b""
        while not text.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], timeout)
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                self.process.stop()
                raise RuntimeError(f"{self.server} did not report a display number (got {text!r})")
            text += chunk
        return int(text)

    def stop(self):
        self.process.stop()
