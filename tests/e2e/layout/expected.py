"""What the widget's client area must show, worked out from its form description alone."""

import collections

from .pictures import Canvas, read_payload

COLOURS = {"clBlack": (0, 0, 0), "clWhite": (255, 255, 255)}


Label = collections.namedtuple("Label", "name box text")  # box: left, top, width, height


def label_bytes(obj, codepage):
    """A label's caption as the program holds it: 8-bit captions as stored, UTF-8 ones in the
    running code page with '?' for what it lacks."""
    prop = obj.props["Caption"]
    if prop.type == 20:
        return prop.value.encode(codepage, errors="replace")
    return prop.value.encode("latin-1")


class Expected:
    """The client area of `size` (the form's own client size unless given), over `face`, with
    every component drawn in creation order.

    `places` moves components (name -> (left, top)); `boxes` gives link labels other boxes;
    `captions` replaces captions (name -> bytes); `font_heights` replaces labels' font heights
    (name -> height). Auto-sized labels take the measure the driver reports; a
    layout.geometry.Geometry gives the places, boxes and heights at a resolution."""

    def __init__(self, form, tool, face, codepage="cp1252", size=None, places=None,
                 boxes=None, captions=None, font_heights=None):
        self.canvas = Canvas(*(size or (form.value("ClientWidth"), form.value("ClientHeight"))),
                             face)
        self.labels = []
        places, boxes, captions, font_heights = (
            given or {} for given in (places, boxes, captions, font_heights))
        for obj in form.children:
            left, top = places.get(obj.name, (obj.value("Left", 0), obj.value("Top", 0)))
            if obj.cls == "TImage":
                self.canvas.blend(read_payload(obj.value("Picture.Data")), left, top)
            else:
                self._label(obj, tool, left, top, codepage, boxes.get(obj.name),
                            captions.get(obj.name), font_heights.get(obj.name))

    def _label(self, obj, tool, left, top, codepage, box, caption, font_height):
        text = label_bytes(obj, codepage) if caption is None else caption
        face = obj.value("Font.Name")
        height = font_height or obj.value("Font.Height")
        if obj.value("AutoSize", True):
            measured = tool.text(face, height, text or b" ")
            box = (left, top, measured.width, measured.height)
        else:
            box = box or (left, top, obj.value("Width"), obj.value("Height"))
        if not obj.value("Transparent", False):
            self.canvas.fill(box, COLOURS[obj.value("Color")])
        # Drawn by the platform over what lies beneath, so that smoothed text blends as it does
        # on the widget (Wine smooths some fonts at some heights, 18 pixels among them).
        drawn = tool.draw(face, height, text, box[2:], COLOURS[obj.value("Font.Color")],
                          self.canvas.region(box))
        self.canvas.put(box, drawn)
        self.labels.append(Label(obj.name, box, text))

    def label(self, name):
        return next(label for label in self.labels if label.name == name)

    def rgb(self):
        return self.canvas.rgb()
