"""Starting the widget in a chosen locale and comparing its client area with what it must show."""

import os
import pathlib
import subprocess

from harness import screen
from harness.poll import Timeout, wait_until
from harness.widget import Widget, stop_all
from harness.wine import Wine
from harness.wintool import WinTool

from .layouttool import LayoutTool


def generated_locale(directory, name="ru_RU.UTF-8"):
    """A private copy of a glibc locale, so that no system locale needs generating."""
    path = pathlib.Path(directory)
    if not (path / name).exists():
        path.mkdir(parents=True, exist_ok=True)
        language, charmap = name.split(".")
        subprocess.run(["localedef", "-i", language, "-f", charmap, str(path / name)],
                       check=True, capture_output=True, timeout=120)
    return str(path)


class Session:
    """The widget and the helpers, all run with one locale on the bench's display and prefix.
    Wine takes the system's locale from `lang` and the user's from `messages` (LC_MESSAGES),
    which follows `lang` unless given."""

    def __init__(self, bench, lang, locpath=None, messages=None):
        self.wine = Wine(bench.wine.prefix, bench.display.name)
        self.wine.env["LANG"] = lang
        for variable in ("LC_ALL", "LC_CTYPE", "LC_MESSAGES"):
            self.wine.env.pop(variable, None)
        if messages:
            self.wine.env["LC_MESSAGES"] = messages
        if locpath:
            self.wine.env["LOCPATH"] = locpath
        win64 = pathlib.Path(bench.exe).parent
        self.tool = WinTool(self.wine, str(win64 / "wintool.exe"))
        self.layout = LayoutTool(self.wine, str(win64 / "layouttool.exe"))
        self.display = bench.display.name
        self.widgets = []

    def start(self, exe):
        widget = Widget(self.tool, str(exe))
        self.widgets.append(widget)
        return widget

    def stop(self):
        stop_all(self.widgets)


ARTIFACTS = pathlib.Path(os.environ.get("HOTKEYS_E2E_ARTIFACTS",
                                       pathlib.Path(__file__).resolve().parents[3] / "build" / "e2e"))


def save_client_png(display, facts, name):
    """Saves the widget's client area as it is on screen now, among the run's artifacts."""
    ARTIFACTS.mkdir(parents=True, exist_ok=True)
    left, top = facts.rect[:2]
    width, height = facts.client[2], facts.client[3]
    path = ARTIFACTS / name
    subprocess.run(["import", "-display", display, "-window", "root", "-crop",
                    f"{width}x{height}+{left}+{top}", "+repage", str(path)],
                   check=True, capture_output=True, timeout=30)
    return path


def client_pixels(display, facts):
    left, top = facts.rect[:2]
    width, height = facts.client[2], facts.client[3]
    return screen.capture(display).region(left, top, left + width, top + height)


def mismatches(actual, expected, width, skip=()):
    """(x, y, expected, actual) of every pixel that differs outside the `skip` boxes."""
    found = []
    for at in range(0, min(len(actual), len(expected)), 3):
        x, y = (at // 3) % width, (at // 3) // width
        if any(l <= x < l + w and t <= y < t + h for l, t, w, h in skip):
            continue
        if actual[at:at + 3] != expected[at:at + 3]:
            found.append((x, y, tuple(expected[at:at + 3]), tuple(actual[at:at + 3])))
    return found


def wait_for_look(display, widget, expected, what):
    """Waits until the widget's client area is exactly `expected`; fails listing differences."""
    facts = widget.wait_shown()
    width = facts.client[2]
    want = expected.rgb()
    last = [b""]

    def matches():
        last[0] = client_pixels(display, facts)
        return last[0] == want

    try:
        wait_until(matches, what)
    except Timeout:
        wrong = mismatches(last[0], want, width)
        raise AssertionError(f"{what}: {len(wrong)} pixels differ, first ones "
                             f"(x, y, expected, actual): {wrong[:12]}") from None
    return last[0]
