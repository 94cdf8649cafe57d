"""The Wine host: the programs run under Wine on a private X display, in the build tree's Wine
prefix, with a wineserver of the run's own. What only Wine and X can do or give lives here: the
per-process locales, the registry settings of a configuration, the X pointer's shape and the X
keyboard."""

import contextlib
import ctypes
import ctypes.util
import fcntl
import glob
import os
import shutil
import subprocess
import tempfile
import time

from .configuration import Configuration
from .display import Display
from .paths import PREFIX, ROOT
from .processes import Process

READY_MARK = ".hotkeys-bench-ready"
# Wine's loaders for 32- and 64-bit programs: a prefix made while one of them was missing stops
# working once it is installed, so the prefix records which were there.
LOADERS = ("/usr/lib/wine/wine", "/usr/lib/wine/wine64")
LOADER_ATTEMPTS = 3


def never_started(returncode, output):
    """Whether Wine's start.exe reported that it could not start the program: its message keeps
    the function's name in every language, and it exits 1."""
    return returncode == 1 and b"ShellExecuteEx" in output


def windows_path(unix_path):
    """Wine maps the Unix root to drive Z:."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


class Wine:
    def __init__(self, prefix, display):
        self.prefix = os.path.abspath(prefix)
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", DISPLAY=display)
        self.env.pop("WINELOADER", None)

    def command(self, *argv):
        return ["wine", *argv]

    def run(self, *argv, timeout=60):
        """Runs a Windows command line to its end; returns the CompletedProcess. A program that
        Wine's loader lost before it ran (tests/e2e/README.md) is started again."""
        for _ in range(LOADER_ATTEMPTS - 1):
            done = self._run_once(argv, timeout)
            if not never_started(done.returncode, done.stdout):
                return done
            time.sleep(0.5)
        return self._run_once(argv, timeout)

    def _run_once(self, argv, timeout):
        """The output goes through files, not pipes: a Wine service that the program happens to
        start inherits its output handles and would hold a pipe open long after it ended."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run(self.command(*argv), env=self.env, stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=err, timeout=timeout)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(done.args, done.returncode, out.read(), err.read())

    def ensure_prefix(self):
        """Creates the prefix once per build tree and Wine set-up (its version and which loaders
        are installed); a second creator waits for the first."""
        os.makedirs(os.path.dirname(self.prefix), exist_ok=True)
        version = subprocess.run(["wine", "--version"], env=self.env, capture_output=True,
                                 text=True, timeout=60).stdout.strip()
        setup = "\n".join([version] + [f"{loader} {os.path.exists(loader)}" for loader in LOADERS])
        mark = os.path.join(self.prefix, READY_MARK)
        with open(self.prefix + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if os.path.exists(mark):
                with open(mark) as made_with:
                    if made_with.read() == setup:
                        return
            shutil.rmtree(self.prefix, ignore_errors=True)
            subprocess.run(["wineboot", "-i"], env=self.env, check=True, capture_output=True,
                           timeout=300)
            subprocess.run(["wineserver", "-w"], env=self.env, check=True, timeout=120)
            # A fresh prefix has none of Wine's own fonts, so every face would fall back to
            # Liberation Sans and text would measure differently from a real desktop.
            fonts = os.path.join(self.prefix, "drive_c", "windows", "Fonts")
            for font in glob.glob("/usr/share/wine/fonts/*"):
                shutil.copy(font, fonts)
            with open(mark, "w") as made_with:
                made_with.write(setup)

    def start_server(self):
        """Keeps the wineserver up between programs; Debian's wrapper would stop it at once.

        Wine's background services start with the first program and inherit its output; started
        here with no output to hold, they cannot keep a later command's pipe open."""
        subprocess.run(["wineserver", "-p"], env=self.env, check=True, timeout=30)
        # Now and then wineboot fails while the previous run's server is still going away;
        # a second try finds the new one settled.
        for _ in range(3):
            with tempfile.TemporaryFile() as err:
                boot = subprocess.run(["wineboot"], env=self.env, timeout=120,
                                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                      stderr=err)
                if boot.returncode == 0:
                    return
                err.seek(0)
                failure = err.read().decode(errors="replace")
            subprocess.run(["wineserver", "-p"], env=self.env, timeout=30)
        raise RuntimeError(f"wineboot failed three times (exit {boot.returncode}): {failure}")

    def stop_server(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=30)


class WineHost:
    """Runs the programs under Wine: the display and the keyboard layout first, then the prefix,
    the server and the configuration's registry values, put back by close()."""

    def __init__(self, configuration, driver_exe, prefix=PREFIX):
        self.configuration, self.driver_exe = configuration, driver_exe
        self.ascii_root = None
        self.settings = contextlib.ExitStack()
        self.display = Display()
        self.x_env = dict(os.environ, DISPLAY=self.display.name)
        self.wine = Wine(prefix, self.display.name)
        configuration.locale_environment(self.wine.env)
        try:
            if layout := configuration.keyboard:  # given to the display before Wine reads it
                self._x("setxkbmap", "-layout", layout, "-model", "pc105")
                query = self._x("setxkbmap", "-query")
                if f"layout:     {layout}" not in query.splitlines():
                    raise RuntimeError(f"setxkbmap did not give the display {layout}: {query}")
            self.wine.ensure_prefix()
            self.wine.start_server()
            self.settings = self.registry(configuration)
        except BaseException:
            self.close()
            raise

    def start_driver(self, env=None):
        return subprocess.Popen(self.wine.command(self.driver_exe), env=env or self.wine.env,
                                stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)

    def environment(self, lang, messages=None):
        """The environment of programs run in other locales than the run's."""
        env = dict(self.wine.env)
        Configuration(lang=lang, messages=messages).locale_environment(env)
        return env

    def registry(self, configuration):
        """The prefix's values for a configuration's resolution and Windows version, set while
        the block runs and put back after it, so that the shared prefix is left as it was."""
        desktop, wine = r"HKCU\Control Panel\Desktop", r"HKCU\Software\Wine"
        dpi, windows = configuration.dpi, configuration.windows
        with contextlib.ExitStack() as stack:
            if dpi != 96:
                stack.enter_context(self.registry_value(desktop, "LogPixels", "REG_DWORD", dpi))
            if windows:
                stack.enter_context(self.registry_value(wine, "Version", "REG_SZ", windows))
            return stack.pop_all()

    @contextlib.contextmanager
    def registry_value(self, key, name, kind, data):
        """Programs started inside the block see the value; the old one (or none) comes back."""
        query = self.wine.run("reg", "query", key, "/v", name)
        lines = query.stdout.decode("latin-1").splitlines() if query.returncode == 0 else []
        old = [words[1:] for words in (line.split(None, 2) for line in lines)
               if len(words) == 3 and words[0] == name]

        def add(kind, data):
            done = self.wine.run("reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f")
            if done.returncode != 0:
                raise RuntimeError(f"reg add {key} /v {name} /d {data} exited {done.returncode}: "
                                   f"{done.stdout!r} {done.stderr!r}")
        add(kind, data)
        try:
            yield
        finally:
            if old:
                kind, data = old[0]
                add(kind, str(int(data, 16)) if kind == "REG_DWORD" else data)
            else:
                self.wine.run("reg", "delete", key, "/v", name, "/f")

    def windows_path(self, path):
        """Wine spells a path's Unix name in the Unix locale's character set, so where that is not
        UTF-8 (zh_CN.GBK) a checkout whose path is not ASCII ("ü") is reached through an ASCII
        link to it, made for the run."""
        path = str(path)
        if not path.startswith("/"):
            return path
        if not path.isascii() and not self.wine.env["LANG"].endswith(".UTF-8") and \
                path.startswith(str(ROOT) + "/"):
            if not self.ascii_root:
                self.ascii_root = os.path.join(tempfile.mkdtemp(prefix="hotkeys-"), "checkout")
                os.symlink(ROOT, self.ascii_root)
            path = self.ascii_root + path[len(str(ROOT)):]
        return windows_path(path)

    def restart_server(self):
        """A fresh wineserver forgets every global atom and hotkey of earlier programs."""
        self.wine.stop_server()
        self.wine.start_server()

    def pointer_shape(self, driver):
        """The pointer's picture as the X server shows it: size, hot spot and ARGB pixels. Under
        Wine another process's cursor handle cannot be compared with one's own."""
        return x_pointer_shape(self.display.name)

    def press_scan_codes(self, driver, chords):
        """Presses physical keys, each chord a list of scan codes (modifiers first), through the X
        keyboard (XTEST keycodes are scan codes + 8), so that Wine's X driver turns them into
        virtual keys through the X layout. Under Wine 8 a scan-code SendInput reaches programs
        with virtual key 0, and MapVirtualKeyEx does not follow the layout as the X keyboard does.
        X keys reach Wine only while a Wine window has the X focus: the one in front gets it."""
        front = driver.foreground()["foreground"]
        window = driver.lines("property", hex(front), "__wine_x11_whole_window")[0]
        presses = [word for *modifiers, key in chords for word in
                   [*(f"keydown {code + 8}" for code in modifiers), f"key {key + 8}",
                    *(f"keyup {code + 8}" for code in reversed(modifiers))]]
        self._x("xdotool", "windowfocus", "--sync", str(int(window, 16)),
                *" ".join(presses).split())

    def type_on_x_keyboard(self, steps):
        """For each (title, key): gives the X window of that title the X focus and types the key
        through XTEST, beside a native X window titled "native window"."""
        native = Process(["xmessage", "-geometry", "+600+500", "-title", "native window",
                          "a window of no Wine prefix"], env=self.x_env, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
        try:
            for title, key in steps:
                window = self._x("xdotool", "search", "--sync", "--name", f"^{title}$").split()[0]
                self._x("xdotool", "windowfocus", "--sync", window)
                assert self._x("xdotool", "getwindowfocus") == window
                self._x("xdotool", "key", key)
        finally:
            native.stop()

    def _x(self, *argv):
        """Runs an X client on the host's display; returns what it printed."""
        return subprocess.run(argv, env=self.x_env, check=True, capture_output=True, text=True,
                              timeout=60).stdout.strip()

    def close(self):
        try:
            self.settings.close()
        finally:
            self.wine.stop_server()
            self.display.stop()
            if self.ascii_root:
                shutil.rmtree(os.path.dirname(self.ascii_root))


class _CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                *((name, ctypes.c_ushort) for name in ("width", "height", "xhot", "yhot")),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong))]


def x_pointer_shape(display):
    """XFixesGetCursorImage, through ctypes, so the bench needs no X bindings for Python."""
    paths = [ctypes.util.find_library(name) for name in ("X11", "Xfixes")]
    if None in paths:
        raise RuntimeError("libX11 and libXfixes are needed (tools/install-deps.sh installs them)")
    x11, xfixes = map(ctypes.CDLL, paths)
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    if not connection:
        raise RuntimeError(f"cannot open display {display}")
    with contextlib.ExitStack() as stack:
        stack.callback(x11.XCloseDisplay, connection)
        image = xfixes.XFixesGetCursorImage(connection)
        if not image:
            raise RuntimeError("XFixesGetCursorImage failed")
        stack.callback(x11.XFree, image)
        c = image.contents
        return (c.width, c.height, c.xhot, c.yhot,
                tuple(c.pixels[i] & 0xFFFFFFFF for i in range(c.width * c.height)))
