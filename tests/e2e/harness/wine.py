"""The Wine prefix of a build tree and the wineserver that serves it for a run."""

import fcntl
import glob
import os
import shutil
import subprocess
import tempfile
import time

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
        """Runs a Windows command line to its end; returns the CompletedProcess.

        Now and then Wine's loader loses a new process before it runs, and Wine's start.exe,
        which it falls back to, fails the same way ("ShellExecuteEx failed: Internal error",
        in the locale's words); the program never ran, so it is started again."""
        for _ in range(LOADER_ATTEMPTS - 1):
            done = self._run_once(argv, timeout)
            if not never_started(done.returncode, done.stdout):
                return done
            time.sleep(0.5)
        return self._run_once(argv, timeout)

    def output(self, *argv, timeout=60):
        """What a command line that must succeed printed, as 8-bit text."""
        done = self.run(*map(str, argv), timeout=timeout)
        if done.returncode != 0:
            raise RuntimeError(f"{' '.join(map(str, argv[:7]))} exited {done.returncode}: "
                               f"{done.stdout!r} {done.stderr!r}")
        return done.stdout.decode("latin-1")

    def _run_once(self, argv, timeout):
        """The output goes through files, not pipes: a Wine service that the program happens to
        start inherits its output handles and would hold a pipe open long after it ended."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = subprocess.Popen(self.command(*argv), env=self.env, stdin=subprocess.DEVNULL,
                                       stdout=out, stderr=err)
            try:
                process.wait(timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                raise
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(process.args, process.returncode, out.read(),
                                               err.read())

    def setup(self):
        """What the prefix depends on: Wine's version and which of its loaders are installed."""
        version = subprocess.run(["wine", "--version"], env=self.env, capture_output=True,
                                 text=True, timeout=60).stdout.strip()
        return "\n".join([version] + [f"{loader} {os.path.exists(loader)}" for loader in LOADERS])

    def ensure_prefix(self):
        """Creates the prefix once per build tree and Wine set-up; a second creator waits for the
        first."""
        os.makedirs(os.path.dirname(self.prefix), exist_ok=True)
        setup = self.setup()
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
