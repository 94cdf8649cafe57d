"""The X pointer: where it is moved and pressed (xdotool), and the shape it shows (XFixes).

The shape is read through libXfixes with ctypes, so the bench needs no X bindings for Python."""

import ctypes
import ctypes.util
import os
import subprocess

from .poll import wait_until


class _CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong),
                ("pixels", ctypes.POINTER(ctypes.c_ulong))]


def _library(name):
    path = ctypes.util.find_library(name)
    if path is None:
        raise RuntimeError(f"lib{name} is not installed (tools/install-deps.sh installs it)")
    return ctypes.CDLL(path)


class Pointer:
    def __init__(self, display):
        self.display = display
        self._x11 = _library("X11")
        self._xfixes = _library("Xfixes")
        self._x11.XOpenDisplay.restype = ctypes.c_void_p
        self._x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._x11.XFree.argtypes = [ctypes.c_void_p]
        self._xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_CursorImage)
        self._xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]

    def _xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=dict(os.environ, DISPLAY=self.display),
                       check=True, timeout=60)

    def move(self, x, y):
        self._xdotool("mousemove", x, y)

    def press(self, button=1):
        self._xdotool("mousedown", button)

    def release(self, button=1):
        self._xdotool("mouseup", button)

    def click(self, x, y):
        self._xdotool("mousemove", x, y, "click", 1)

    def drag(self, start, end):
        """A left-button drag; xdotool returns after the release."""
        self._xdotool("mousemove", *start, "mousedown", 1, "mousemove", *end, "mouseup", 1)

    def double_click_drag(self, start, end):
        """A click and at once a second press at start, dragged to end: the second press comes
        within the double-click time, so the window under it sees a double click."""
        self._xdotool("mousemove", *start, "click", 1, "mousedown", 1, "mousemove", *end,
                      "mouseup", 1)

    def key(self, name):
        self._xdotool("key", name)

    def shape(self):
        """The pointer's picture as the X server shows it: size, hot spot and ARGB pixels."""
        connection = self._x11.XOpenDisplay(self.display.encode())
        if not connection:
            raise RuntimeError(f"cannot open display {self.display}")
        try:
            image = self._xfixes.XFixesGetCursorImage(connection)
            if not image:
                raise RuntimeError("XFixesGetCursorImage failed")
            try:
                c = image.contents
                pixels = tuple(c.pixels[i] & 0xFFFFFFFF for i in range(c.width * c.height))
                return (c.width, c.height, c.xhot, c.yhot, pixels)
            finally:
                self._x11.XFree(image)
        finally:
            self._x11.XCloseDisplay(connection)

    def wait_shape(self, x, y, expected, what):
        """Moves the pointer to (x, y) and waits until it shows `expected`.

        The window under the pointer sets its shape only once it has handled the move."""
        self.move(x, y)
        seen = [None]

        def shows():
            seen[0] = self.shape()
            return seen[0] == expected

        # On failure, the size and hot spot of what was shown instead.
        wait_until(shows, lambda: f"the {what} pointer at ({x}, {y}), showing one of "
                                  f"{seen[0][:4] if seen[0] else None} for {expected[:4]}")
