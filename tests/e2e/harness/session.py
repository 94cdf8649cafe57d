"""The widget and the helpers run in a chosen locale."""

import pathlib
import subprocess

from .layouttool import LayoutTool
from .widget import Widget, stop_all
from .wine import Wine
from .wintool import WinTool


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
