"""What the widget's client area must show, worked out from its form description alone."""

import dataclasses

from .pictures import Canvas, read_payload

COLOURS = {"clBlack": (0, 0, 0), "clWhite": (255, 255, 255)}


@dataclasses.dataclass
class Label:
    name: str
    box: tuple  # left, top, width, height
    text: bytes


def _prop(obj, name, default=None):
    prop = obj.props.get(name)
    return default if prop is None else prop.value


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
    `captions` replaces captions (name -> bytes); `font_height` replaces the labels' font
    height. Auto-sized labels take the measure layouttool reports."""

    def __init__(self, form, tool, face, codepage="cp1252", size=None, places=None,
                 boxes=None, captions=None, font_height=None):
        self.canvas = Canvas(*(size or (_prop(form, "ClientWidth"), _prop(form, "ClientHeight"))),
                             face)
        self.labels = []
        places, boxes, captions = places or {}, boxes or {}, captions or {}
        for obj in form.children:
            left, top = places.get(obj.name, (_prop(obj, "Left", 0), _prop(obj, "Top", 0)))
            if obj.cls == "TImage":
                self.canvas.blend(read_payload(_prop(obj, "Picture.Data")), left, top)
            else:
                self._label(obj, tool, left, top, codepage, boxes.get(obj.name),
                            captions.get(obj.name), font_height)

    def _label(self, obj, tool, left, top, codepage, box, caption, font_height):
        text = label_bytes(obj, codepage) if caption is None else caption
        face = _prop(obj, "Font.Name")
        height = font_height or _prop(obj, "Font.Height")
        if _prop(obj, "AutoSize", True):
            measured = tool.text(face, height, text or b" ")
            box = (left, top, measured.width, measured.height)
        else:
            box = box or (left, top, _prop(obj, "Width"), _prop(obj, "Height"))
        if not _prop(obj, "Transparent", False):
            self.canvas.fill(box, COLOURS[_prop(obj, "Color")])
        drawn = tool.text(face, height, text, box[2:])
        self.canvas.mask(box, drawn.rows, COLOURS[_prop(obj, "Font.Color")])
        self.labels.append(Label(obj.name, box, text))

    def label(self, name):
        return next(label for label in self.labels if label.name == name)

    def rgb(self):
        return self.canvas.rgb()
