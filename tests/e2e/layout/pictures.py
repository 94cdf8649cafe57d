"""The stored pictures decoded, and blended over what lies beneath them by the integer rule
(d * 256 + (s - d) * alpha) >> 8.

Written apart from the program's own decoding and blending on purpose, as an independent oracle:
a fault in either shows as a difference on the screen, where reusing the program's code would
hide it."""

import collections
import struct


Picture = collections.namedtuple("Picture", "width height rows")  # rows top-down of (b, g, r, a)


def _uncompressed_rows(pixels, width, count, bits):
    """Stored rows of (b, g, r, a): 32-bit pixels as they are, 24-bit ones opaque."""
    size = bits // 8
    stride = (width * size + 3) // 4 * 4
    rows = (pixels[y * stride:(y + 1) * stride] for y in range(count))
    return [[tuple(row[size * x:size * x + 3]) + (row[size * x + 3] if size == 4 else 255,)
             for x in range(width)] for row in rows]


def _rle8_rows(pixels, width, count, palette):
    """Stored rows of (b, g, r, 255) from 8-bit runs: a count and an index, or an escape (0)
    followed by end of line (0), end of bitmap (1), a move (2, dx, dy) or that many indices."""
    rows = [[palette[0]] * width for _ in range(count)]
    x = y = at = 0
    while at < len(pixels) and y < count:
        first, second = pixels[at], pixels[at + 1]
        at += 2
        if first:
            for _ in range(first):
                rows[y][x] = palette[second]
                x += 1
        elif second == 0:
            x, y = 0, y + 1
        elif second == 1:
            break
        elif second == 2:
            x, y = x + pixels[at], y + pixels[at + 1]
            at += 2
        else:
            for index in pixels[at:at + second]:
                rows[y][x] = palette[index]
                x += 1
            at += (second + 1) // 2 * 2
    return rows


def read_payload(payload):
    """A Picture.Data payload: class name, length, a bitmap file with a 40-byte header holding
    32-bit or 24-bit pixels, or 8-bit ones compressed by runs."""
    name_length = payload[0]
    assert payload[1:1 + name_length] == b"TPNGGraphic"
    bmp = payload[5 + name_length:]
    assert bmp[:2] == b"BM"
    header_size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", bmp, 14)
    assert (header_size, planes) == (40, 1)
    count = abs(height)
    if (bits, compression) == (8, 1):
        colours = struct.unpack_from("<I", bmp, 46)[0]
        palette = [tuple(bmp[54 + 4 * i:54 + 4 * i + 3]) + (255,) for i in range(colours)]
        stored = _rle8_rows(bmp[54 + 4 * colours:], width, count, palette)
    else:
        assert (bits, compression) in ((32, 0), (24, 0))
        stored = _uncompressed_rows(bmp[54:], width, count, bits)
    if height > 0:
        stored.reverse()
    return Picture(width, count, stored)


class Canvas:
    """An RGB image of the widget's client area."""

    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [[tuple(colour)] * width for _ in range(height)]

    def _clipped(self, left, top, width, height):
        """Each (x, y) of a box that lies on the canvas."""
        return ((x, y) for y in range(max(0, top), min(self.height, top + height))
                for x in range(max(0, left), min(self.width, left + width)))

    def blend(self, picture, left, top):
        for x, y in self._clipped(left, top, picture.width, picture.height):
            b, g, r, a = picture.rows[y - top][x - left]
            self.pixels[y][x] = tuple((d * 256 + (s - d) * a) >> 8
                                      for s, d in zip((r, g, b), self.pixels[y][x]))

    def paste(self, picture, left, top, transparent=None):
        """Copies the picture's colours as they are, leaving out those equal to `transparent`."""
        for y in range(picture.height):
            for x in range(picture.width):
                b, g, r, _ = picture.rows[y][x]
                if (r, g, b) != transparent:
                    self.pixels[top + y][left + x] = (r, g, b)

    def fill(self, box, colour):
        for x, y in self._clipped(*box):
            self.pixels[y][x] = tuple(colour)

    def region(self, box):
        """The pixels of a box, rows top-down, as RGB bytes; black where it leaves the canvas."""
        left, top, width, height = box
        inside = lambda x, y: 0 <= x < self.width and 0 <= y < self.height
        return b"".join(bytes(self.pixels[y][x] if inside(x, y) else (0, 0, 0))
                        for y in range(top, top + height) for x in range(left, left + width))

    def put(self, box, rgb):
        """Replaces a box's pixels with RGB bytes, rows top-down, clipped to the canvas."""
        left, top, width, _ = box
        for x, y in self._clipped(*box):
            at = 3 * ((y - top) * width + x - left)
            self.pixels[y][x] = tuple(rgb[at:at + 3])

    def rgb(self):
        return b"".join(bytes(p) for row in self.pixels for p in row)
