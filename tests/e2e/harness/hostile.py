"""Python face of hostile.exe: what another program on the desktop can do to the widget."""

import pathlib

from .wine import windows_path

WM_CREATE, WM_DESTROY, WM_NCCREATE, WM_NCDESTROY = 0x0001, 0x0002, 0x0081, 0x0082
GWLP_USERDATA = -21


class Hostile:
    def __init__(self, wine, exe):
        self.wine = wine
        self.exe = exe

    @classmethod
    def beside(cls, tool):
        """The one built next to wintool.exe, run the same way."""
        return cls(tool.wine, str(pathlib.Path(tool.exe).with_name("hostile.exe")))

    def _run(self, *args, timeout=60):
        return self.wine.output(self.exe, *args, timeout=timeout).splitlines()

    def create(self, title, *messages):
        """Sends each (hwnd, message, kind) as a forged creation message, kind one of "none"
        (no structure), "null", "garbage" or "image" (the creation parameter); maps each to
        whether the window's thread answered."""
        forgeries = [f"{hwnd:x}:{message:x}:{kind}" for hwnd, message, kind in messages]
        lines = dict(line.split(" ", 1) for line in self._run("create", title, *forgeries))
        return {sent: lines[forgery].startswith("answered")
                for sent, forgery in zip(messages, forgeries)}

    def set_data(self, hwnd, index, value):
        """SetWindowLongPtrA on another process's window; True when the platform allowed it."""
        return self.wine.run(self.exe, "setdata", hex(hwnd), str(index), hex(value)).returncode == 0

    def storm(self, seed, first, count, log_path, *windows, timeout=600):
        """Posts messages first to first + count - 1 of the random sequence that `seed` makes to
        the windows, each one logged to `log_path`; returns the tool's counts (seed, posted,
        refused)."""
        line = self._run("storm", seed, first, count, windows_path(log_path),
                         *map(hex, windows), timeout=timeout)[-1]
        return {key: int(value) for key, value in (pair.split("=") for pair in line.split())}

    def rebind(self, count, *titles, timeout=600):
        """Opens a window per title and binds them to slot 1 and slot 2 in turn, `count` times,
        each binding confirmed by its forwarded key."""
        self._run("rebind", count, *titles, timeout=timeout)

    def gdi_objects(self, pid):
        """Live GDI objects of a process, from the handle table its PEB points to."""
        return int(self._run("gdi", pid)[-1].split("=")[1])
