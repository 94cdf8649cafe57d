"""Command line of the harness, used by tools/run-widget.sh:

    python3 -m harness prefix PREFIX                    create the Wine prefix if it is missing
    python3 -m harness screenshot WIN64_DIR PREFIX PNG  run the widget on a private display,
                                                        save a screenshot after its first paint
"""

import os
import sys

from . import processes, screen
from .display import Display
from .widget import Widget
from .wine import Wine
from .wintool import WinTool


def screenshot(win64_dir, prefix, png):
    display = Display()
    wine = Wine(prefix, display.name)
    try:
        wine.ensure_prefix()
        wine.start_server()
        tool = WinTool(wine, os.path.join(win64_dir, "wintool.exe"))
        before = screen.capture(display.name)
        widget = Widget(tool, os.path.join(win64_dir, "HotKeys.exe"))
        facts = widget.wait_shown()
        screen.wait_for_first_paint(display.name, facts.rect, before)
        screen.save_png(display.name, png)
        print(f"screenshot of the widget at {facts.rect}: {png}")
        widget.stop()
    finally:
        processes.stop_remaining()
        wine.stop_server()
        display.stop()


def main(argv):
    if len(argv) == 3 and argv[1] == "prefix":
        Wine(argv[2], os.environ.get("DISPLAY", "")).ensure_prefix()
    elif len(argv) == 5 and argv[1] == "screenshot":
        screenshot(*argv[2:])
    else:
        sys.exit(__doc__)


main(sys.argv)
