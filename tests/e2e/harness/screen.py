"""Pixels of the X screen, read back exactly as the X server holds them."""

import subprocess

from .poll import wait_until


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


def _parse_ppm(data):
    # Binary PPM: "P6", width, height, maximum value, one whitespace byte, then RGB triples.
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(f"unexpected screenshot header {fields!r}")
    width, height = int(fields[1]), int(fields[2])
    return Screenshot(width, height, data[at + 1:at + 1 + 3 * width * height])


def capture(display):
    shot = subprocess.run(["import", "-display", display, "-window", "root", "-depth", "8", "ppm:-"],
                          capture_output=True, check=True, timeout=30)
    return _parse_ppm(shot.stdout)


def save_png(display, path, area=None):
    """The screen, or its rectangle (left, top, width, height), as a PNG file."""
    crop = ["-crop", "{2}x{3}+{0}+{1}".format(*area), "+repage"] if area else []
    subprocess.run(["import", "-display", display, "-window", "root", *crop, str(path)],
                   check=True, capture_output=True, timeout=30)
    return path


def wait_for_first_paint(display, rect, before):
    """A window has painted once its rectangle differs from `before` (the screen captured before
    it was shown) and two captures in a row agree (a half-drawn frame would not)."""
    empty = before.region(*rect)
    last = [None]

    def settled():
        now = capture(display).region(*rect)
        done = now != empty and now == last[0]
        last[0] = now
        return done

    wait_until(settled, "the widget's first paint")
