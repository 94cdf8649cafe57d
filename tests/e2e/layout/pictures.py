"""The stored pictures decoded, and blended over what lies beneath them by the integer rule
(d * 256 + (s - d) * alpha) >> 8.

Written apart from the program's own decoding and blending on purpose, as an independent oracle:
a fault in either shows as a difference on the screen, where reusing the program's code would
hide it."""

import struct


class Picture:
    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows  # rows top-down of (b, g, r, a)


def read_payload(payload):
    """A Picture.Data payload: class name, length, a 32-bit uncompressed bitmap file."""
    name_length = payload[0]
    assert payload[1:1 + name_length] == b"TPNGGraphic"
    bmp = payload[5 + name_length:]
    assert bmp[:2] == b"BM"
    header_size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", bmp, 14)
    assert (header_size, planes, bits, compression) == (40, 1, 32, 0)
    stride, count = 4 * width, abs(height)
    stored = [bmp[54 + y * stride:54 + (y + 1) * stride] for y in range(count)]
    if height > 0:
        stored.reverse()
    rows = [[tuple(row[4 * x:4 * x + 4]) for x in range(width)] for row in stored]
    return Picture(width, count, rows)


class Canvas:
    """An RGB image of the widget's client area."""

    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [[tuple(colour)] * width for _ in range(height)]

    def blend(self, picture, left, top):
        for y in range(max(0, top), min(self.height, top + picture.height)):
            target = self.pixels[y]
            source = picture.rows[y - top]
            for x in range(max(0, left), min(self.width, left + picture.width)):
                b, g, r, a = source[x - left]
                target[x] = tuple((d * 256 + (s - d) * a) >> 8
                                  for s, d in zip((r, g, b), target[x]))

    def fill(self, box, colour):
        left, top, width, height = box
        for y in range(max(0, top), min(self.height, top + height)):
            for x in range(max(0, left), min(self.width, left + width)):
                self.pixels[y][x] = tuple(colour)

    def mask(self, box, rows, colour):
        """Paints `colour` where a text mask from layouttool has '#', clipped to the client area."""
        left, top = box[:2]
        for dy, row in enumerate(rows):
            for dx, mark in enumerate(row):
                x, y = left + dx, top + dy
                if mark == "#" and 0 <= x < self.width and 0 <= y < self.height:
                    self.pixels[y][x] = tuple(colour)

    def rgb(self):
        return b"".join(bytes(p) for row in self.pixels for p in row)
