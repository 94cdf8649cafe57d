"""Python face of layouttool.exe: the button-face colour and label text as Wine's GDI draws it."""

import dataclasses


@dataclasses.dataclass
class Text:
    width: int
    height: int
    rows: list  # strings of '#' (text) and '.'


class LayoutTool:
    def __init__(self, wine, exe):
        self.wine, self.exe = wine, exe

    def _run(self, *args):
        return self.wine.output(self.exe, *args).split()

    def button_face(self):
        return tuple(int(n) for n in self._run("btnface"))

    def text(self, face, height, data):
        """`data` (8-bit bytes) in the font, measured, and its pixels: '#' for text."""
        words = self._run("text", face, height, data.hex() or "")
        width, rows_count = int(words[0]), int(words[1])
        rows = words[2:]
        assert len(rows) == rows_count and all(len(r) == width for r in rows), words[:2]
        return Text(width, rows_count, rows)

    def draw(self, face, height, data, size, colour, beneath):
        """`data` drawn in the font and `colour` into a box of `size` that holds `beneath` (RGB
        bytes, rows top-down), as a label draws it; the box's RGB bytes afterwards."""
        width, height_in_pixels = size
        words = self._run("draw", face, height, data.hex() or "", width, height_in_pixels,
                          bytes(colour).hex(), beneath.hex())
        assert words[:2] == [str(width), str(height_in_pixels)], words[:2]
        rows = words[2:]
        assert len(rows) == height_in_pixels and all(len(r) == 6 * width for r in rows), words[:2]
        return bytes.fromhex("".join(rows))

    def dialog_texts(self, hwnd):
        """The texts of a dialog's static controls."""
        return self.wine.output(self.exe, "dialogtext", hex(hwnd)).splitlines()
