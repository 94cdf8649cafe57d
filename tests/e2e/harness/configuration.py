"""The configuration one run of the end-to-end tests is made under: the settings Windows users'
machines differ in, read from the environment (`make matrix` sets them for each row of
tests/e2e/matrix.toml), put in place before the first test and checked to have taken, so that a
setting this machine cannot make fails the run instead of leaving it in the default one."""

import contextlib
import dataclasses
import os
import shutil
import subprocess

from .paths import ROOT
from .registry import registry_value

DESKTOP = r"HKCU\Control Panel\Desktop"
WINE = r"HKCU\Software\Wine"
# The keyboard layout identifier (KLID) Wine must find for each X keyboard layout.
KEYBOARD_LANGUAGES = {"us": 0x0409, "de": 0x0407, "ru": 0x0419}
# What Wine reports for each version it can be set to.
WINDOWS_VERSIONS = {"win7": "6.1", "win10": "10.0"}
# Locales generated once per build tree, each into a folder of its own.
LOCALES = ROOT / "build" / "locales"
BUILT_IN_LOCALES = {"C", "C.UTF-8", "POSIX"}


@dataclasses.dataclass(frozen=True)
class Configuration:
    lang: str = None  # HOTKEYS_LANG: the system's locale (Wine's LANG)
    messages: str = None  # HOTKEYS_LC_MESSAGES: the user's locale and display language
    codepage: int = None  # HOTKEYS_CODEPAGE: the system's code page that `lang` must give
    dpi: int = 96  # HOTKEYS_DPI: the screen's pixels per inch (LogPixels)
    windows: str = None  # HOTKEYS_WINDOWS_VERSION: the version Wine reports, win7 or win10
    keyboard: str = None  # HOTKEYS_KEYBOARD: the X keyboard layout, us, de or ru

    @classmethod
    def from_environment(cls, env=os.environ):
        number = lambda name, default=None: int(env[name]) if env.get(name) else default
        return cls(lang=env.get("HOTKEYS_LANG") or None,
                   messages=env.get("HOTKEYS_LC_MESSAGES") or None,
                   codepage=number("HOTKEYS_CODEPAGE"), dpi=number("HOTKEYS_DPI", 96),
                   windows=env.get("HOTKEYS_WINDOWS_VERSION") or None,
                   keyboard=env.get("HOTKEYS_KEYBOARD") or None)

    def locale_environment(self, env):
        """Sets `env` to this configuration's locales; the rest of the environment's locale
        variables would override them."""
        if self.lang is None and self.messages is None:
            return
        env.pop("LOCPATH", None)
        for variable in ("LC_ALL", "LC_CTYPE", "LC_MESSAGES"):
            env.pop(variable, None)
        env["LANG"] = self.lang or "C"
        if self.messages:
            env["LC_MESSAGES"] = self.messages
        # glibc reads LOCPATH as a list of folders, like PATH.
        made = [generated_locale(name) for name in (self.lang, self.messages)
                if name and name not in BUILT_IN_LOCALES]
        if made:
            env["LOCPATH"] = ":".join(made)

    def set_keyboard(self, display):
        """Gives the X display the layout before Wine reads it; Wine reads it once, at start."""
        if self.keyboard is None:
            return
        xkb = dict(os.environ, DISPLAY=display)
        subprocess.run(["setxkbmap", "-layout", self.keyboard, "-model", "pc105"], env=xkb,
                       check=True, capture_output=True, timeout=30)
        query = subprocess.run(["setxkbmap", "-query"], env=xkb, check=True,
                               capture_output=True, text=True, timeout=30).stdout
        if f"layout:     {self.keyboard}\n" not in query:
            raise RuntimeError(f"setxkbmap did not give the display the layout "
                               f"{self.keyboard}: {query}")

    def registry(self, wine):
        """The prefix's values for the resolution and the Windows version, set while the block
        runs and put back after it, so that the shared prefix is left as it was."""
        stack = contextlib.ExitStack()
        with stack:
            if self.dpi != 96:
                stack.enter_context(registry_value(wine, DESKTOP, "LogPixels", "REG_DWORD",
                                                   str(self.dpi)))
            if self.windows:
                stack.enter_context(registry_value(wine, WINE, "Version", "REG_SZ", self.windows))
            return stack.pop_all()

    def mismatches(self, seen):
        """Each setting that did not take, as "name: wanted, seen", given the driver's `system`."""
        wanted = {"acp": self.codepage, "dpi": self.dpi,
                  "version": WINDOWS_VERSIONS.get(self.windows),
                  "keyboard": KEYBOARD_LANGUAGES.get(self.keyboard)}
        return [f"{name}: wanted {value!r}, seen {seen[name]!r}"
                for name, value in wanted.items() if value is not None and seen[name] != value]


def generated_locale(name):
    """A private copy of a glibc locale such as ru_RU.UTF-8 or zh_CN.GBK, so that no system
    locale needs generating; returns the folder for LOCPATH. Made once per build tree, into a
    temporary folder renamed into place, so that runs that start together never read half of
    one."""
    folder = LOCALES / name
    if not folder.exists():
        scratch = LOCALES / f".{name}.{os.getpid()}"
        shutil.rmtree(scratch, ignore_errors=True)
        scratch.mkdir(parents=True)
        language, charmap = name.split(".")
        subprocess.run(["localedef", "-i", language, "-f", charmap, str(scratch / name)],
                       check=True, capture_output=True, timeout=300)
        try:
            scratch.rename(folder)
        except OSError:  # another run made it first
            shutil.rmtree(scratch)
    return str(folder)
