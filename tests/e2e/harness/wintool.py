"""Python face of wintool.exe: window facts, hotkeys, atoms, messages and keys from inside Wine."""

import dataclasses
import os
import select
import subprocess
import time

from .processes import Process
from .poll import wait_until
from .wine import LOADER_ATTEMPTS, never_started

WM_CLOSE = 0x0010
WM_HOTKEY = 0x0312
WM_SYSCOMMAND = 0x0112
SC_MINIMIZE = 0xF020
SC_CLOSE = 0xF060
SC_RESTORE = 0xF120
# What CreateProcess says when Wine lost the new process before it ran.
ERROR_INTERNAL_ERROR = 1359


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


class WinToolError(RuntimeError):
    pass


def _lost_before_it_ran(launcher, first):
    """Whether the launcher's CreateProcess, or Wine starting the launcher itself, lost the new
    process before it ran; `first` is the launcher's first line, which did not give a pid."""
    if first == f"error={ERROR_INTERNAL_ERROR}":
        return True
    try:
        code = launcher.wait(10)
    except subprocess.TimeoutExpired:
        return False
    # Only what is already there: a Wine service may hold the pipe open after the launcher ended.
    os.set_blocking(launcher.popen.stdout.fileno(), False)
    rest = launcher.popen.stdout.read() or b""
    return never_started(code, first.encode() + rest)


def _read_line(stream, timeout):
    ready, _, _ = select.select([stream], [], [], timeout)
    return stream.readline().decode(errors="replace").strip() if ready else ""


class WinTool:
    def __init__(self, wine, exe):
        self.wine = wine
        self.exe = exe

    def _run(self, *args, check=True):
        done = self.wine.run(self.exe, *map(str, args))
        if check and done.returncode != 0:
            raise WinToolError(f"wintool {' '.join(map(str, args))} exited {done.returncode}: "
                               f"{done.stdout!r} {done.stderr!r}")
        return done

    def _lines(self, *args):
        return self._run(*args).stdout.decode("latin-1").split()

    def find(self, cls="*", title="*", pid=None):
        """Handles of the top-level windows matching class, title ("*" for any) and process."""
        args = ["find", cls, title] + ([pid] if pid is not None else [])
        return [int(line, 16) for line in self._lines(*args)]

    def info(self, hwnd):
        """Facts of a window, or None when the handle names no window."""
        done = self._run("info", hex(hwnd), check=False)
        if done.returncode != 0:
            return None
        fields = dict(line.split("=", 1) for line in done.stdout.decode("latin-1").splitlines())
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
        """Facts of a window that exists: a run that fails is tried again rather than taken for
        a window that is gone."""
        return wait_until(lambda: self.info(hwnd), f"facts of the window {hwnd:#x}")

    def top_level_facts(self):
        return [facts for facts in map(self.info, self.find()) if facts]

    def atoms(self, *names):
        """Maps each name to its global atom, 0 when the atom does not exist."""
        pairs = self._run("atoms", *names).stdout.decode().splitlines()
        return {name: int(value, 16) for name, value in (line.split() for line in pairs)}

    def try_hotkeys(self, *combos):
        """Tries RegisterHotKey for each (modifiers, vk) from another program; maps to success."""
        pairs = [f"{mod}:{hex(vk)}" for mod, vk in combos]
        lines = self._run("hotkey", *pairs).stdout.decode().splitlines()
        results = dict(line.split() for line in lines)
        return {combo: results[pair] == "ok" for combo, pair in zip(combos, pairs)}

    def keys(self, *chords):
        """Presses chords such as "alt+n", "f5", "1" with SendInput, modifiers held across."""
        self._run("keys", *chords)

    def foreground(self, hwnd=None):
        """Brings hwnd forward (when given) and returns foreground, active and focus windows."""
        args = ["foreground"] + ([hex(hwnd)] if hwnd else [])
        lines = self._run(*args).stdout.decode().splitlines()
        return {key: int(value, 16) for key, value in (line.split("=") for line in lines)}

    def set_foreground(self, hwnd):
        wait_until(lambda: self.foreground(hwnd)["foreground"] == hwnd,
                   f"window {hwnd:#x} in the foreground")

    def post(self, hwnd, msg, wparam=0, lparam=0):
        return self._run("post", hex(hwnd), hex(msg), hex(wparam), hex(lparam),
                         check=False).returncode == 0

    def send(self, hwnd, msg, wparam=0, lparam=0):
        return int(self._lines("send", hex(hwnd), hex(msg), hex(wparam), hex(lparam))[0], 16)

    def edit_text(self, hwnd):
        return self._run("edittext", hex(hwnd)).stdout.decode("latin-1")

    def system_menu(self, hwnd):
        """(command id, text) of each item of the window's system menu."""
        lines = self._run("sysmenu", hex(hwnd)).stdout.decode("latin-1").splitlines()
        return [(int(item, 16), text) for item, _, text in (l.partition(" ") for l in lines)]

    def system(self):
        """What programs see of the machine's settings: the system's code page (acp), the user's
        (usercp), the display language, the Windows version ("10.0"), the screen's pixels per
        inch and the keyboard layout (its identifier, 0x407 for German)."""
        lines = self._run("system").stdout.decode().splitlines()
        facts = dict(line.split("=", 1) for line in lines)
        read = {"version": str, "keyboard": lambda klid: int(klid, 16)}
        return {key: read.get(key, lambda n: int(n, 0))(value) for key, value in facts.items()}

    def start(self, exe, show=None):
        """Starts a Windows program with an optional start-up show command.

        Returns the Unix process of the launcher, which lives exactly as long as the program and
        exits with its exit code, and the program's Windows process id. A start that Wine lost
        before the launcher or the program ran (see `Wine.run`) is tried again."""
        for attempt in range(1, LOADER_ATTEMPTS + 1):
            launcher = Process(self.wine.command(self.exe, "start",
                                                 "-" if show is None else str(show), exe),
                               env=self.wine.env, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
            first = _read_line(launcher.popen.stdout, timeout=30)
            if first.startswith("pid="):
                return launcher, int(first[4:])
            lost = _lost_before_it_ran(launcher, first)
            launcher.stop()
            if not lost or attempt == LOADER_ATTEMPTS:
                raise WinToolError(f"could not start {exe}: {first!r}")
            time.sleep(0.5)

    def kill(self, pid):
        self._run("kill", pid, check=False)
