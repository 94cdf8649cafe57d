"""probe.exe: target windows that record every keyboard message they are sent."""

import collections
import pathlib

from .poll import wait_until

WM_SETFOCUS, WM_KILLFOCUS = 0x0007, 0x0008
WM_KEYDOWN = 0x0100
WM_SYSKEYDOWN = 0x0104
KEY_MESSAGES = range(0x0100, 0x0108)
WM_HOTKEY = 0x0312


class Message(collections.namedtuple("Message", "hwnd msg wparam lparam")):
    def __repr__(self):
        return f"({self.hwnd:#x} {self.msg:#06x} {self.wparam:#x} {self.lparam:#x})"


class Probe:
    """One probe process with one window per title; windows[i] belongs to titles[i]."""

    def __init__(self, tool, exe, log_path, titles):
        self.log_path = log_path
        open(log_path, "w").close()
        self.process = tool.start(exe, tool.host.windows_path(log_path), *titles)
        self.windows = wait_until(
            lambda: [int(words[1], 16) for words in self._lines() if words[0] == "open"],
            f"probe windows {titles!r} to open ({log_path})",
            accept=lambda opened: len(opened) == len(titles))

    def _lines(self):
        return [line.split() for line in self.log().split("\n")[:-1]]  # whole lines only

    def messages(self):
        return [Message(*(int(word, 16) for word in words[1:]))
                for words in self._lines() if words[0] == "msg"]

    def keys(self, hwnd=None):
        return [m for m in self.messages()
                if (m.msg in KEY_MESSAGES or m.msg == WM_HOTKEY) and hwnd in (None, m.hwnd)]

    def received(self, hwnd, msg=WM_KEYDOWN):
        return [m for m in self.keys(hwnd) if m.msg == msg]

    def wait_received(self, hwnd, count, msg=WM_KEYDOWN):
        return wait_until(lambda: self.received(hwnd, msg),
                          lambda: f"{count} messages {msg:#06x} at {hwnd:#x}; "
                                  f"log {self.log_path}:\n{self.log()}",
                          accept=lambda got: len(got) >= count)

    def focused(self):
        focus = None
        for m in self.messages():
            if m.msg == WM_SETFOCUS:
                focus = m.hwnd
            elif m.msg == WM_KILLFOCUS and focus == m.hwnd:
                focus = None
        return focus

    def log(self):
        return pathlib.Path(self.log_path).read_text()

    def stop(self):
        return self.process.stop()
