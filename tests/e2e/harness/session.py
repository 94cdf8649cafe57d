"""The widget and the helpers run in a chosen locale."""

import functools

from .driver import Driver
from .widget import Widget, stop_all


class Session:
    """The widget and the driver, all run with one locale on the bench's host. Wine takes the
    system's locale from `lang` and the user's from `messages` (LC_MESSAGES), which follows
    `lang` unless given. Locales other than C are generated once per build tree. The driver
    starts with the first use, so that it sees the settings made before."""

    def __init__(self, bench, lang, messages=None):
        self.host = bench.host
        self.env = bench.host.environment(lang, messages)
        self.widgets = []
        self._tool = None

    @property
    def tool(self):
        if self._tool is None:
            self._tool = Driver(self.host, self.env)
        return self._tool

    layout = tool

    @functools.cached_property
    def codepage(self):
        """The Python codec of the system's code page, in which the program's 8-bit text is."""
        return f"cp{self.tool.system()['acp']}"

    def start(self, exe):
        widget = Widget(self.tool, str(exe))
        self.widgets.append(widget)
        return widget

    def stop(self):
        try:
            stop_all(self.widgets)
        finally:
            if self._tool:
                self._tool.close()
                self._tool = None
