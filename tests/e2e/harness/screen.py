"""Pixels of the screen, read back exactly as the system holds them (BitBlt of the screen)."""

import struct
import zlib

from .poll import settled


class Screenshot:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        at = 3 * (y * self.width + x)
        return tuple(self.rgb[at:at + 3])

    def region(self, left, top, right, bottom):
        """Raw RGB rows of a rectangle, for exact comparisons."""
        return b"".join(self.rgb[3 * (y * self.width + left):3 * (y * self.width + right)]
                        for y in range(top, bottom))


def capture(tool, *rect):
    """The whole screen, or the rectangle (left, top, right, bottom)."""
    return Screenshot(*tool.screen(*rect))


def save_png(tool, path, area=None):
    """The screen, or its rectangle (left, top, width, height), as a PNG file."""
    left, top, width, height = area or (0, 0, 0, 0)
    shot = capture(tool, *((left, top, left + width, top + height) if area else ()))
    rows = b"".join(b"\0" + shot.region(0, y, shot.width, y + 1) for y in range(shot.height))
    chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data
                                + struct.pack(">I", zlib.crc32(kind + data)))
    with open(path, "wb") as png:
        png.write(b"\x89PNG\r\n\x1a\n"
                  + chunk(b"IHDR", struct.pack(">IIBBBBB", shot.width, shot.height, 8, 2, 0, 0, 0))
                  + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
    return path


def wait_for_first_paint(tool, rect, before):
    """A window has painted once its rectangle differs from `before` (the screen captured before
    it was shown) and two captures in a row agree (a half-drawn frame would not)."""
    settled(lambda: capture(tool, *rect).rgb, "the widget's first paint", (before.region(*rect),))
