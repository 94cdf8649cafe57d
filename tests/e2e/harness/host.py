"""The host the programs run on, chosen by HOTKEYS_HOST: "wine" (the default, harness.wine) or
"native", a Windows machine that runs them directly. Nothing else in the harness knows which it
has; what only the Wine host can make, the native host reports as not made."""

import os
import subprocess

import pytest

NOT_MADE = "not made on this host"


class NativeHost:
    def __init__(self, configuration, driver_exe):
        self.configuration, self.driver_exe = configuration, driver_exe
        named = [name for name, value in vars(configuration).items()
                 if value is not None and (name, value) != ("dpi", 96)]
        if named:
            pytest.skip(f"the configuration's {', '.join(named)}: {NOT_MADE}")

    def start_driver(self, env=None):
        return subprocess.Popen([str(self.driver_exe)], env=env, stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    @staticmethod
    def windows_path(path):
        return os.path.abspath(path)

    def environment(self, lang, messages=None):
        if lang not in (None, "C") or messages is not None:
            pytest.skip(f"programs in the locales {lang}, {messages}: {NOT_MADE}")
        return None

    def registry(self, configuration):
        pytest.skip(f"the resolution and the reported version: {NOT_MADE}")

    def registry_value(self, key, name, kind, data):
        pytest.skip(f"{key}\\{name} = {data}: {NOT_MADE}")

    def restart_server(self):
        pytest.skip(f"a fresh window station: {NOT_MADE}")

    @staticmethod
    def press_scan_codes(driver, chords):
        driver.lines("keys", *("+".join(f"sc{code:x}" for code in chord) for chord in chords))

    def pointer_shape(self, driver):
        """On Windows every process shares the stock cursors, so the handle tells the shape."""
        return driver.cursor()["shown"]

    def type_on_x_keyboard(self, steps):
        pytest.skip(f"the X keyboard: {NOT_MADE}")

    def close(self):
        pass


def make_host(configuration, driver_exe):
    if os.environ.get("HOTKEYS_HOST", "wine") == "native":
        return NativeHost(configuration, driver_exe)
    from .wine import WineHost  # Wine's module needs a Unix system
    return WineHost(configuration, driver_exe)
