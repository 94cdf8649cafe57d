"""The driver: one Win32 helper process per run (win/driver), spoken to a command a line, that
looks at and drives windows, keys, the mouse, the screen and processes from inside the system.
What each method gives is listed in tests/e2e/README.md."""

import collections
import dataclasses
import queue
import subprocess
import threading
import time

from .poll import wait_until

WM_CLOSE, WM_HOTKEY, WM_SYSCOMMAND = 0x0010, 0x0312, 0x0112
SC_MINIMIZE, SC_CLOSE, SC_RESTORE = 0xF020, 0xF060, 0xF120
WM_CREATE, WM_DESTROY, WM_NCCREATE, WM_NCDESTROY = 0x0001, 0x0002, 0x0081, 0x0082
GWLP_USERDATA = -21
# What CreateProcess says when Wine lost the new process before it ran.
ERROR_INTERNAL_ERROR = 1359
START_ATTEMPTS = 3
# How long one command may take; a storm of random messages or a run of rebinds takes longer.
COMMAND_SECONDS, LONG_COMMAND_SECONDS = 60, 900
# Physical keys by their scan codes on a US keyboard, and where a layout moves one of the keys
# the widget holds: AZERTY's M lies where US has ';'.
SCAN_CODES = {"alt": 0x38, "ctrl": 0x1D, "shift": 0x2A, "n": 0x31, "m": 0x32,
              **{str(n): 0x01 + n for n in range(1, 10)}, "0": 0x0B,
              **{f"f{n}": 0x3A + n for n in range(1, 11)}, "f11": 0x57, "f12": 0x58}
LAYOUT_SCAN_CODES = {"fr": {"m": 0x27}}

_hex = lambda text: int(text, 16)
_latin1 = lambda hex_text: bytes.fromhex(hex_text).decode("latin-1")
_numbers = lambda text, separator=",": tuple(map(int, text.split(separator)))
# How each fact that the driver's `info` prints reads, by its key, in the order WindowFacts holds
# them.
_FACTS = {"class": str, "title_hex": _latin1,
          **dict.fromkeys(("owner", "parent", "style", "exstyle"), _hex),
          **dict.fromkeys(("rect", "client"), _numbers),
          **dict.fromkeys(("visible", "iconic", "zoomed", "enabled"), lambda flag: flag == "1"),
          "tid": int, "pid": int}
WindowFacts = dataclasses.make_dataclass("WindowFacts", [
    "hwnd", *({"class": "cls", "title_hex": "title"}.get(key, key) for key in _FACTS)], namespace={
    "position": property(lambda self: self.rect[:2]),
    "size": property(lambda self: (self.rect[2] - self.rect[0], self.rect[3] - self.rect[1]))})
Text = collections.namedtuple("Text", "width height rows")  # rows: '#' for text, '.' beside


def _pairs(lines, read=str, separator="="):
    return {key: read(value) for key, value in (line.split(separator, 1) for line in lines)}


def _command(name, read=lambda lines: None):
    """A method that runs the command with the method's arguments and reads what it prints."""
    return lambda self, *args: read(self.lines(name, *args))


def _read(stdout, replies):
    for line in stdout:
        replies.put(line)
    replies.put(None)


class DriverError(RuntimeError):
    pass


def _encoded(argument):
    """One argument, with a space, a control character, a byte above 0x7E or '%' as %XX."""
    data = argument if isinstance(argument, bytes) else str(argument).encode()
    return "".join(chr(b) if 0x20 < b < 0x7F and b != 0x25 else f"%{b:02X}" for b in data)


class Started:
    """A program the driver started: its Windows process id, and its exit code once it ends."""

    def __init__(self, driver, pid):
        self.driver, self.pid = driver, pid

    def poll(self, milliseconds=0):
        line = self.driver.lines("wait", self.pid, milliseconds)[0]
        return int(line[5:]) if line.startswith("exit=") else None

    def wait(self, timeout):
        code = self.poll(int(timeout * 1000))
        if code is None:
            raise subprocess.TimeoutExpired(f"process {self.pid}", timeout)
        return code

    def stop(self):
        if self.poll() is None:
            self.driver.kill(self.pid)
        return self.wait(10)


class Driver:
    def __init__(self, host, env=None):
        self.host, self.env = host, env
        self.keyboard = LAYOUT_SCAN_CODES.get(host.configuration.keyboard, {}) \
            if host.configuration.keyboard else None
        self.open()

    def open(self):
        self.process = self.host.start_driver(self.env)
        self.replies = queue.Queue()
        threading.Thread(target=_read, args=(self.process.stdout, self.replies),
                         daemon=True).start()

    def call(self, *args, timeout=COMMAND_SECONDS):
        """Runs one command; returns its result (0 done, 1 failed) and its output's lines."""
        self.process.stdin.write((" ".join(map(_encoded, args)) + "\n").encode())
        self.process.stdin.flush()
        lines = []
        while True:
            try:
                line = self.replies.get(timeout=timeout)
            except queue.Empty:
                raise DriverError(f"driver {args[0]} took more than {timeout} s") from None
            if line is None:
                raise DriverError(f"the driver ended during {args[0]}: {lines!r}")
            if line.startswith(b"\x04"):
                result = int(line[1:])
                if result < 0:
                    raise DriverError(f"driver: bad usage of {' '.join(map(str, args))[:200]}")
                return result, [line.rstrip(b"\n") for line in lines]
            lines.append(line)

    def lines(self, *args, **kwargs):
        """The output of a command that must succeed, as 8-bit text lines."""
        result, lines = self.call(*args, **kwargs)
        if result != 0:
            raise DriverError(f"driver {' '.join(map(str, args))[:200]} failed: {lines!r}")
        return [line.decode("latin-1") for line in lines]

    def close(self):
        self.process.stdin.close()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def find(self, cls="*", title="*", pid=None):
        pid = [] if pid is None else [pid]
        return [_hex(line) for line in self.lines("find", cls, title, *pid)]

    def info(self, hwnd):
        result, lines = self.call("info", hex(hwnd))
        if result != 0:
            return None
        fields = _pairs(line.decode("latin-1") for line in lines)
        return WindowFacts(hwnd, *(read(fields[key]) for key, read in _FACTS.items()))

    def facts(self, hwnd):
        return wait_until(lambda: self.info(hwnd), f"facts of the window {hwnd:#x}")

    def wait_shown(self, hwnd):
        """A dialog being made may lack its texts and hold buttons it will hide."""
        return wait_until(lambda: self.info(hwnd), f"the window {hwnd:#x} shown",
                          accept=lambda facts: facts and facts.visible)

    def top_level_facts(self):
        return [facts for facts in map(self.info, self.find()) if facts]

    def atoms(self, *names):
        return _pairs(self.lines("atoms", *names), _hex, " ")

    def try_hotkeys(self, *combos):
        pairs = [f"{mod}:{hex(vk)}" for mod, vk in combos]
        results = _pairs(self.lines("hotkey", *pairs), separator=" ")
        return {combo: results[pair] == "ok" for combo, pair in zip(combos, pairs)}

    def keys(self, *chords):
        """When the configuration names a keyboard layout, the widget's keys go by scan code, as
        the physical keys would, and the layout turns them into virtual keys."""
        if self.keyboard is None:
            self.lines("keys", *chords)
            return
        for chord in chords:
            parts = chord.split("+")
            if all(part in SCAN_CODES for part in parts):
                self.host.press_scan_codes(self, [[self.keyboard.get(part, SCAN_CODES[part])
                                                   for part in parts]])
            else:
                self.lines("keys", chord)

    def foreground(self, hwnd=None):
        result, lines = self.call("foreground", *([hex(hwnd)] if hwnd else []))
        return _pairs((line.decode() for line in lines), _hex) if result == 0 else {}

    def set_foreground(self, hwnd):
        wait_until(lambda: self.foreground(hwnd).get("foreground") == hwnd,
                   f"window {hwnd:#x} in the foreground")

    def post(self, hwnd, msg, wparam=0, lparam=0):
        return self.call("post", *map(hex, (hwnd, msg, wparam, lparam)))[0] == 0

    def send(self, hwnd, msg, wparam=0, lparam=0):
        return _hex(self.lines("send", *map(hex, (hwnd, msg, wparam, lparam)))[0])

    def edit_text(self, hwnd):
        return _latin1(self.lines("edittext", hex(hwnd))[0])

    def system_menu(self, hwnd):
        return [(_hex(item), text) for item, _, text in
                (line.partition(" ") for line in self.lines("sysmenu", hex(hwnd)))]

    def system(self):
        read = {"version": str, "letters": lambda utf8: bytes.fromhex(utf8).decode()}
        return {key: read.get(key, lambda n: int(n, 0))(value)
                for key, value in _pairs(self.lines("system")).items()}

    def button_face(self):
        return _numbers(self.lines("syscolor", 15)[0], None)  # COLOR_BTNFACE

    def start(self, exe, *args, show=None):
        """A start that Wine lost before the program ran is tried again."""
        for attempt in range(1, START_ATTEMPTS + 1):
            result, lines = self.call("start", "-" if show is None else show,
                                      self.host.windows_path(exe), *args)
            if result == 0:
                return Started(self, int(lines[0][4:]))
            if lines != [f"error={ERROR_INTERNAL_ERROR}".encode()] or attempt == START_ATTEMPTS:
                raise DriverError(f"could not start {exe}: {lines!r}")
            time.sleep(0.5)

    def kill(self, pid):
        self.call("kill", pid)

    suspend, resume = _command("suspend"), _command("resume")  # a process id
    memory_kb = _command("memory", lambda lines: int(lines[0]))  # a process id
    gdi_objects = _command("gdi", lambda lines: int(lines[-1].split("=")[1]))  # a process id
    error_text = _command("errortext", lambda lines: bytes.fromhex(lines[0]))  # an error code
    cursor = _command("cursor", lambda lines: _pairs(lines, _hex))
    # left, top, right, bottom, or nothing for the whole screen
    screen = _command("screen", lambda lines: (*_numbers(lines[0], None), bytes.fromhex(lines[1])))
    # "move", x, y (where the pointer went), or "down" or "up", button
    mouse = _command("mouse", lambda lines: _numbers(lines[0], None) if lines else None)

    def text(self, face, height, data):
        size, *rows = self.lines("text", face, height, data.hex())
        width, rows_count = _numbers(size, None)
        assert len(rows) == rows_count and all(len(r) == width for r in rows), size
        return Text(width, rows_count, rows)

    def draw(self, face, height, data, size, colour, beneath):
        width, height_in_pixels = size
        size, *rows = self.lines("draw", face, height, data.hex(), width, height_in_pixels,
                                 bytes(colour).hex(), beneath.hex())
        assert size == f"{width} {height_in_pixels}", size
        assert len(rows) == height_in_pixels and all(len(r) == 6 * width for r in rows), size
        return bytes.fromhex("".join(rows))

    def dialog_texts(self, hwnd):
        self.wait_shown(hwnd)
        return [line for text in self.lines("dialogtext", hex(hwnd))
                for line in _latin1(text).splitlines()]

    def create(self, title, *messages):
        forgeries = [f"{hwnd:x}:{message:x}:{kind}" for hwnd, message, kind in messages]
        lines = _pairs(self.lines("create", title, *forgeries), separator=" ")
        return {sent: lines[forgery].startswith("answered")
                for sent, forgery in zip(messages, forgeries)}

    def set_data(self, hwnd, index, value):
        return self.call("setdata", hex(hwnd), index, hex(value))[0] == 0

    def storm(self, seed, first, count, log_path, *windows):
        line = self.lines("storm", seed, first, count, self.host.windows_path(log_path),
                          *map(hex, windows), timeout=LONG_COMMAND_SECONDS)[-1]
        return _pairs(line.split(), int)

    def rebind(self, count, *titles):
        self.lines("rebind", count, *titles, timeout=LONG_COMMAND_SECONDS)
