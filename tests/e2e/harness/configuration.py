"""The configuration one run of the end-to-end tests is made under: the settings Windows users'
machines differ in, read from the environment (`make matrix` sets them for each row of
tests/e2e/matrix.toml), put in place before the first test and checked to have taken, so that a
setting this machine cannot make fails the run instead of leaving it in the default one."""

import dataclasses
import os
import shutil
import subprocess

from .paths import ROOT

# Each setting and the environment variable it is read from (`make matrix` sets them for a row).
VARIABLES = {"lang": "HOTKEYS_LANG", "messages": "HOTKEYS_LC_MESSAGES",
             "codepage": "HOTKEYS_CODEPAGE", "dpi": "HOTKEYS_DPI",
             "windows": "HOTKEYS_WINDOWS_VERSION", "keyboard": "HOTKEYS_KEYBOARD"}
# The letters A to Z as each X keyboard layout types them, in the order of their keys (their scan
# codes): the layout Wine took from the X server, as Windows would show it. Russian users set up
# "ru,us", which keeps the Latin virtual keys on the letter keys.
KEYBOARD_LETTERS = {"us": "qwertyuiopasdfghjklzxcvbnm", "de": "qwertzuiopasdfghjklyxcvbnm",
                    "fr": "azertyuiopqsdfghjklmwxcvbn", "ru,us": "йцукенгшщзфывапролдячсмить"}
# What Wine reports for each version it can be set to.
WINDOWS_VERSIONS = {"win7": "6.1", "win10": "10.0"}
# Locales generated once per build tree, each into a folder of its own.
LOCALES = ROOT / "build" / "locales"
BUILT_IN_LOCALES = {"C", "C.UTF-8", "POSIX"}


@dataclasses.dataclass(frozen=True)
class Configuration:
    lang: str = None  # the system's locale (Wine's LANG)
    messages: str = None  # the user's locale and display language (LC_MESSAGES)
    codepage: int = None  # the system's code page that `lang` must give
    dpi: int = 96  # the screen's pixels per inch (LogPixels)
    windows: str = None  # the version Wine reports, win7 or win10
    keyboard: str = None  # the X keyboard layout, one of KEYBOARD_LETTERS

    @classmethod
    def from_environment(cls, env=os.environ):
        kinds = {field.name: field.type for field in dataclasses.fields(cls)}
        return cls(**{key: kinds[key](env[variable]) for key, variable in VARIABLES.items()
                      if env.get(variable)})

    def environment(self):
        return {variable: str(getattr(self, key)) for key, variable in VARIABLES.items()
                if getattr(self, key) is not None}

    def locale_environment(self, env):
        """Sets `env` to this configuration's locales; the rest of the environment's locale
        variables would override them."""
        for variable in ("LOCPATH", "LC_ALL", "LC_CTYPE", "LC_MESSAGES"):
            env.pop(variable, None)
        env["LANG"] = unix_locale(self.lang)
        if self.messages:
            env["LC_MESSAGES"] = self.messages
        folders = self.made_locales()
        if folders:
            env["LOCPATH"] = ":".join(folders)  # glibc reads LOCPATH as a list, like PATH

    def made_locales(self):
        return [generated_locale(name) for name in (self.lang, self.messages)
                if name and name not in BUILT_IN_LOCALES]

    def mismatches(self, seen):
        """Each setting that did not take, as "name: wanted, seen", given the driver's `system`."""
        wanted = {"acp": self.codepage, "dpi": self.dpi,
                  "version": WINDOWS_VERSIONS.get(self.windows),
                  "letters": KEYBOARD_LETTERS.get(self.keyboard)}
        return [f"{name}: wanted {value!r}, seen {seen.get(name)!r}"
                for name, value in wanted.items() if value is not None and seen.get(name) != value]


def unix_locale(name):
    """The system's locale C, or none named, in its UTF-8 form: Wine gives it the same code pages
    (1252), and reads the Unix file names, which are UTF-8, only in a UTF-8 locale. LC_MESSAGES
    keeps C: Wine reads C.UTF-8 there as no language, and takes LANG's."""
    return "C.UTF-8" if name in (None, "C", "POSIX") else name


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
