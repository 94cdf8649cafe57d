"""Command line of the harness:

    python3 -m harness prefix PREFIX                    create the Wine prefix if it is missing
    python3 -m harness screenshot WIN64_DIR PREFIX PNG  run the widget on a private display,
                                                        save a screenshot after its first paint
    python3 -m harness self-test                        check, on the host HOTKEYS_HOST names,
                                                        that keys reach a window and the screen
                                                        can be read; exits 1 at once if not

The first two are used by tools/run-widget.sh; CI runs the self-test before the suite.
"""

import contextlib
import pathlib
import sys
import tempfile

from . import processes, screen
from .configuration import Configuration
from .driver import Driver
from .host import make_host
from .paths import WIN_DIR
from .poll import Timeout
from .probe import Probe
from .widget import Widget

WHITE = (255, 255, 255)  # a window's default background


@contextlib.contextmanager
def driven(host):
    """A driver on the host; afterwards whatever the bench started is ended and the host closed."""
    tool = Driver(host)
    try:
        yield tool
    finally:
        tool.close()
        processes.stop_remaining()
        host.close()


def screenshot(win64_dir, prefix, png):
    from .wine import WineHost
    with driven(WineHost(Configuration(), pathlib.Path(win64_dir) / "driver.exe", prefix)) as tool:
        before = screen.capture(tool)
        widget = Widget(tool, str(pathlib.Path(win64_dir) / "HotKeys.exe"))
        facts = widget.wait_shown()
        screen.wait_for_first_paint(tool, facts.rect, before)
        screen.save_png(tool, png)
        print(f"screenshot of the widget at {facts.rect}: {png}")
        widget.stop()


def self_test():
    """A key pressed through the driver reaches a probe window in front, and the screen shows
    that window's white client area where the driver says it is, on a screen of more colours."""
    host = make_host(Configuration.from_environment(), WIN_DIR / "driver.exe")
    with driven(host) as tool, tempfile.TemporaryDirectory() as folder:
        probe = Probe(tool, str(WIN_DIR / "probe.exe"), str(pathlib.Path(folder) / "log"),
                      ["Self-test"])
        window = probe.windows[0]
        try:
            tool.set_foreground(window)
            tool.keys("f5")
            probe.wait_received(window, 1)
        except Timeout:
            sys.exit("self-test: input cannot be injected: a key pressed with SendInput did "
                     "not reach the window in front")
        left, top, right, bottom = tool.facts(window).rect
        shot = screen.capture(tool)
        # The middle third: a frame that the platform draws lies outside it.
        third_x, third_y = (right - left) // 3, (bottom - top) // 3
        inside = {shot.pixel(x, y) for x in range(left + third_x, right - third_x, 5)
                  for y in range(top + third_y, bottom - third_y, 5)}
        colours = {shot.pixel(x, y) for x in range(0, shot.width, 16)
                   for y in range(0, shot.height, 16)}
        if inside != {WHITE} or len(colours) < 2:
            sys.exit(f"self-test: the screen cannot be read: the probe window at "
                     f"{(left, top, right, bottom)} shows {sorted(inside)[:4]}, the screen "
                     f"{len(colours)} colours")
        probe.stop()
        print(f"self-test: a key reached the probe window in front; the screen "
              f"({shot.width}x{shot.height}) shows its white client area at "
              f"{(left, top, right, bottom)}")


def main(argv):
    if len(argv) == 3 and argv[1] == "prefix":
        from .wine import Wine
        Wine(argv[2], "").ensure_prefix()
    elif len(argv) == 5 and argv[1] == "screenshot":
        screenshot(*argv[2:])
    elif len(argv) == 2 and argv[1] == "self-test":
        self_test()
    else:
        sys.exit(__doc__)


main(sys.argv)
