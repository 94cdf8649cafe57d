"""The driver: one Win32 helper process per run (win/driver), spoken to a command a line, that
looks at and drives windows, keys, the mouse, the screen and processes from inside the system."""

import dataclasses
import queue
import subprocess
import threading
import time

from .poll import wait_until

WM_CLOSE = 0x0010
WM_HOTKEY = 0x0312
WM_SYSCOMMAND = 0x0112
SC_MINIMIZE = 0xF020
SC_CLOSE = 0xF060
SC_RESTORE = 0xF120
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


@dataclasses.dataclass
class WindowFacts:
    hwnd: int
    cls: str
    title: str
    owner: int
    parent: int
    style: int
    exstyle: int
    rect: tuple
    client: tuple
    visible: bool
    iconic: bool
    zoomed: bool
    enabled: bool
    tid: int
    pid: int

    @property
    def position(self):
        return self.rect[:2]

    @property
    def size(self):
        return (self.rect[2] - self.rect[0], self.rect[3] - self.rect[1])


class DriverError(RuntimeError):
    pass


def _encoded(argument):
    """One argument of a command line: a space, a control character, a byte above 0x7E or '%'
    as %XX."""
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
        """Ends the program unless it has ended; returns its exit code."""
        if self.poll() is None:
            self.driver.kill(self.pid)
        return self.wait(10)


class Driver:
    def __init__(self, host, env=None):
        self.host = host
        self.keyboard = LAYOUT_SCAN_CODES.get(host.configuration.keyboard, {}) \
            if host.configuration.keyboard else None
        self.env = env
        self.open()

    def open(self):
        self.process = self.host.start_driver(self.env)
        self.replies = queue.Queue()
        threading.Thread(target=self._read, args=(self.process.stdout, self.replies),
                         daemon=True).start()

    @staticmethod
    def _read(stdout, replies):
        for line in stdout:
            replies.put(line)
        replies.put(None)

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
        """Handles of the top-level windows matching class, title ("*" for any) and process."""
        args = ["find", cls, title] + ([pid] if pid is not None else [])
        return [int(line, 16) for line in self.lines(*args)]

    def info(self, hwnd):
        """Facts of a window, or None when the handle names no window."""
        result, lines = self.call("info", hex(hwnd))
        if result != 0:
            return None
        fields = dict(line.decode("latin-1").split("=", 1) for line in lines)
        numbers = lambda key: tuple(int(n) for n in fields[key].split(","))
        return WindowFacts(
            hwnd=hwnd, cls=fields["class"],
            title=bytes.fromhex(fields["title_hex"]).decode("latin-1"),
            owner=int(fields["owner"], 16), parent=int(fields["parent"], 16),
            style=int(fields["style"], 16), exstyle=int(fields["exstyle"], 16),
            rect=numbers("rect"), client=numbers("client"),
            visible=fields["visible"] == "1", iconic=fields["iconic"] == "1",
            zoomed=fields["zoomed"] == "1", enabled=fields["enabled"] == "1",
            tid=int(fields["tid"]), pid=int(fields["pid"]))

    def facts(self, hwnd):
        """Facts of a window that exists."""
        return wait_until(lambda: self.info(hwnd), f"facts of the window {hwnd:#x}")

    def wait_shown(self, hwnd):
        """A window's facts once it is shown: a dialog being made may lack its texts and hold
        buttons it will hide."""
        return wait_until(lambda: (lambda f: f if f and f.visible else None)(self.info(hwnd)),
                          f"the window {hwnd:#x} shown")

    def top_level_facts(self):
        return [facts for facts in map(self.info, self.find()) if facts]

    def atoms(self, *names):
        """Maps each name to its global atom, 0 when the atom does not exist."""
        return {name: int(value, 16) for name, value in map(str.split, self.lines("atoms", *names))}

    def try_hotkeys(self, *combos):
        """Tries RegisterHotKey for each (modifiers, vk) from another program; maps to success."""
        pairs = [f"{mod}:{hex(vk)}" for mod, vk in combos]
        results = dict(map(str.split, self.lines("hotkey", *pairs)))
        return {combo: results[pair] == "ok" for combo, pair in zip(combos, pairs)}

    def keys(self, *chords):
        """Presses chords such as "alt+n", "f5", "1" with SendInput, modifiers held across. When
        the configuration names a keyboard layout, the widget's keys go by scan code, as the
        physical keys would, and the layout turns them into virtual keys."""
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
        """Brings hwnd forward (when given) and returns foreground, active and focus windows."""
        result, lines = self.call("foreground", *([hex(hwnd)] if hwnd else []))
        return {key: int(value, 16) for key, value in
                (line.decode().split("=") for line in lines)} if result == 0 else {}

    def set_foreground(self, hwnd):
        wait_until(lambda: self.foreground(hwnd).get("foreground") == hwnd,
                   f"window {hwnd:#x} in the foreground")

    def post(self, hwnd, msg, wparam=0, lparam=0):
        return self.call("post", hex(hwnd), hex(msg), hex(wparam), hex(lparam))[0] == 0

    def send(self, hwnd, msg, wparam=0, lparam=0):
        return int(self.lines("send", hex(hwnd), hex(msg), hex(wparam), hex(lparam))[0], 16)

    def edit_text(self, hwnd):
        return bytes.fromhex(self.lines("edittext", hex(hwnd))[0]).decode("latin-1")

    def system_menu(self, hwnd):
        """(command id, text) of each item of the window's system menu."""
        return [(int(item, 16), text) for item, _, text in
                (line.partition(" ") for line in self.lines("sysmenu", hex(hwnd)))]

    def system(self):
        """What programs see of the machine's settings: the system's code page (acp), the user's
        (usercp), the display language, the Windows version ("10.0"), the screen's pixels per
        inch, and the letters A to Z as the keyboard's keys type them, in the order of their scan
        codes ("qwertzuiop..." for German)."""
        facts = dict(line.split("=", 1) for line in self.lines("system"))
        read = {"version": str, "letters": lambda utf8: bytes.fromhex(utf8).decode()}
        return {key: read.get(key, lambda n: int(n, 0))(value) for key, value in facts.items()}

    def button_face(self):
        return tuple(int(n) for n in self.lines("syscolor", 15)[0].split())  # COLOR_BTNFACE

    def error_text(self, code):
        """The system's text for an error code, in its 8-bit bytes."""
        return bytes.fromhex(self.lines("errortext", code)[0])

    def start(self, exe, *args, show=None):
        """Starts a Windows program with an optional start-up show command. A start that Wine
        lost before the program ran is tried again."""
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

    def suspend(self, pid):
        self.lines("suspend", pid)

    def resume(self, pid):
        self.lines("resume", pid)

    def memory_kb(self, pid):
        """A process's working set: its resident memory, in KiB."""
        return int(self.lines("memory", pid)[0])

    def gdi_objects(self, pid):
        """Live GDI objects of a process."""
        return int(self.lines("gdi", pid)[-1].split("=")[1])

    def screen(self, *rect):
        """The width, height and RGB bytes (rows top-down) of the rectangle (left, top, right,
        bottom), or of the whole screen."""
        size, rgb = self.lines("screen", *rect)
        return (*map(int, size.split()), bytes.fromhex(rgb))

    def mouse(self, action, *args):
        """"move", x, y (returns where the pointer stands); "down" or "up", button (1 left, 2
        middle, 3 right)."""
        lines = self.lines("mouse", action, *args)
        return tuple(map(int, lines[0].split())) if lines else None

    def cursor(self):
        """The handles of the cursor shown, of the stock hand and of the stock arrow."""
        return {key: int(value, 16) for key, value in
                (line.split("=") for line in self.lines("cursor"))}

    def text(self, face, height, data):
        """`data` (8-bit bytes) in the font, measured, and its pixels: '#' for text."""
        words = self.lines("text", face, height, data.hex())
        width, rows_count = map(int, words[0].split())
        rows = words[1:]
        assert len(rows) == rows_count and all(len(r) == width for r in rows), words[:1]
        return Text(width, rows_count, rows)

    def draw(self, face, height, data, size, colour, beneath):
        """`data` drawn in the font and `colour` into a box of `size` that holds `beneath` (RGB
        bytes, rows top-down), as a label draws it; the box's RGB bytes afterwards."""
        width, height_in_pixels = size
        words = self.lines("draw", face, height, data.hex(), width, height_in_pixels,
                           bytes(colour).hex(), beneath.hex())
        assert words[0] == f"{width} {height_in_pixels}", words[:1]
        rows = words[1:]
        assert len(rows) == height_in_pixels and all(len(r) == 6 * width for r in rows), words[:1]
        return bytes.fromhex("".join(rows))

    def dialog_texts(self, hwnd):
        """The lines of the texts of a dialog's static controls."""
        self.wait_shown(hwnd)
        return [line for text in self.lines("dialogtext", hex(hwnd))
                for line in bytes.fromhex(text).decode("latin-1").splitlines()]

    def create(self, title, *messages):
        """Sends each (hwnd, message, kind) as a forged creation message, kind one of "none"
        (no structure), "null", "garbage" or "image" (the creation parameter); maps each to
        whether the window's thread answered."""
        forgeries = [f"{hwnd:x}:{message:x}:{kind}" for hwnd, message, kind in messages]
        lines = dict(line.split(" ", 1) for line in self.lines("create", title, *forgeries))
        return {sent: lines[forgery].startswith("answered")
                for sent, forgery in zip(messages, forgeries)}

    def set_data(self, hwnd, index, value):
        """SetWindowLongPtrA on another process's window; True when the platform allowed it."""
        return self.call("setdata", hex(hwnd), index, hex(value))[0] == 0

    def storm(self, seed, first, count, log_path, *windows):
        """Posts messages first to first + count - 1 of the random sequence that `seed` makes to
        the windows, each one logged to `log_path`; returns the counts (seed, posted, refused)."""
        line = self.lines("storm", seed, first, count, self.host.windows_path(log_path),
                          *map(hex, windows), timeout=LONG_COMMAND_SECONDS)[-1]
        return {key: int(value) for key, value in (pair.split("=") for pair in line.split())}

    def rebind(self, count, *titles):
        """Opens a window per title and binds them to slot 1 and slot 2 in turn, `count` times,
        each binding confirmed by its forwarded key."""
        self.lines("rebind", count, *titles, timeout=LONG_COMMAND_SECONDS)


@dataclasses.dataclass
class Text:
    width: int
    height: int
    rows: list  # strings of '#' (text) and '.'
