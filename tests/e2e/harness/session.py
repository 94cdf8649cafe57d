"""The widget and the helpers run in a chosen locale."""

import pathlib

from .configuration import Configuration
from .layouttool import LayoutTool
from .widget import Widget, stop_all
from .wine import Wine
from .wintool import WinTool


class Session:
    """The widget and the helpers, all run with one locale on the bench's display and prefix.
    Wine takes the system's locale from `lang` and the user's from `messages` (LC_MESSAGES),
    which follows `lang` unless given. Locales other than C are generated once per build tree."""

    def __init__(self, bench, lang, messages=None):
        self.wine = Wine(bench.wine.prefix, bench.display.name)
        Configuration(lang=lang, messages=messages).locale_environment(self.wine.env)
        win64 = pathlib.Path(bench.exe).parent
        self.tool = WinTool(self.wine, str(win64 / "wintool.exe"))
        self.layout = LayoutTool(self.wine, str(win64 / "layouttool.exe"))
        self.display = bench.display.name
        self.widgets = []
        self._codepage = None

    @property
    def codepage(self):
        """The Python codec of the system's code page, in which the program's 8-bit text is."""
        if self._codepage is None:
            self._codepage = f"cp{self.tool.system()['acp']}"
        return self._codepage

    def start(self, exe):
        widget = Widget(self.tool, str(exe))
        self.widgets.append(widget)
        return widget

    def stop(self):
        stop_all(self.widgets)
