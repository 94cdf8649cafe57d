#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs into fuzz/seeds/<target>/.

The seeds are the stored form description, the three picture payloads inside it, a copy of the
description with small pictures (quick to mutate), and the hand-made shapes the unit tests use:
every value type, every bitmap header kind, colour tables, masks, compressed data, empty and
truncated files. Inputs that once failed are kept beside them as found-*, and this script
leaves them alone. Rerun after the stored form changes: fuzz/make-seeds.py
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent.parent
SEEDS = ROOT / "fuzz" / "seeds"


def short(text):
    data = text.encode("utf-8") if isinstance(text, str) else text
    return bytes([len(data)]) + data


def u32(value):
    return struct.pack("<I", value)


class Reader:
    """Just enough of the stored layout to find the picture payloads and rebuild the bytes."""

    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, count):
        chunk = self.data[self.pos:self.pos + count]
        self.pos += count
        return chunk

    def byte(self):
        return self.take(1)[0]

    def short(self):
        return self.take(self.byte())

    def value(self):
        kind = self.byte()
        sizes = {2: 1, 3: 2, 8: 0, 9: 0}
        if kind in sizes:
            return kind, self.take(sizes[kind])
        if kind in (6, 7):
            return kind, self.short()
        if kind in (10, 20):
            return kind, self.take(struct.unpack("<I", self.take(4))[0])
        if kind == 11:
            names = []
            while name := self.short():
                names.append(name)
            return kind, names
        raise ValueError(f"type byte {kind} at {self.pos - 1}")

    def record(self, class_name):
        name = self.short()
        properties = []
        while prop := self.short():
            properties.append((prop, self.value()))
        children = []
        while length := self.byte():
            children.append(self.record(self.take(length)))
        return class_name, name, properties, children


def write_value(kind, value):
    if kind in (2, 3, 8, 9):
        return bytes([kind]) + value
    if kind in (6, 7):
        return bytes([kind]) + short(value)
    if kind in (10, 20):
        return bytes([kind]) + u32(len(value)) + value
    return bytes([kind]) + b"".join(short(n) for n in value) + b"\0"


def write_record(record):
    class_name, name, properties, children = record
    out = short(class_name) + short(name)
    out += b"".join(short(p) + write_value(*v) for p, v in properties) + b"\0"
    return out + b"".join(write_record(c) for c in children) + b"\0"


def payloads(record):
    found = [v[1] for p, v in record[2] if p == b"Picture.Data"]
    return found + [p for child in record[3] for p in payloads(child)]


def with_pictures(record, picture):
    class_name, name, properties, children = record
    properties = [(p, (10, picture) if p == b"Picture.Data" else v) for p, v in properties]
    return class_name, name, properties, [with_pictures(c, picture) for c in children]


def bitmap(width=2, height=2, bits=32, compression=0, size_image=0, clr_used=0, header=40,
           table=b"", pixels=None, planes=1):
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, planes, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, height, planes, bits, compression,
                           size_image, 0, 0, clr_used, 0) + b"\xEE" * (header - 40)
    if pixels is None:
        stride = (width * bits + 31) // 32 * 4
        pixels = bytes((i * 37) & 0xFF for i in range(stride * abs(height)))
    body = info + table + pixels
    return b"BM" + u32(14 + len(body)) + b"\0\0\0\0" + u32(54) + body


def payload(file, class_name="TPNGGraphic"):
    return short(class_name) + u32(len(file)) + file


def small_bitmaps():
    masks = u32(0xF800) + u32(0x07E0) + u32(0x001F)
    return {
        "bgra-bottom-up": bitmap(),
        "bgra-top-down": bitmap(width=3, height=-2),
        "bgra-one-pixel-alpha": bitmap(1, 1, pixels=b"\x10\x20\x30\x80"),
        "core-header-8bit": bitmap(2, 2, 8, header=12, table=b"\x00\x00\xFF" * 256),
        "palette-4bit-two-colours": bitmap(4, 2, 4, clr_used=2, table=u32(0xFF0000) + u32(0x00FF00)),
        "mono": bitmap(9, 3, 1, table=u32(0) + u32(0xFFFFFF)),
        "bitfields-16": bitmap(3, 2, 16, compression=3, table=masks),
        "bitfields-32": bitmap(2, 2, 32, compression=3, table=masks),
        "v4-header-with-masks": bitmap(2, 2, 32, compression=3, header=108),
        "v5-header": bitmap(2, 2, 32, header=124),
        "rle8": bitmap(4, 2, 8, compression=1, size_image=8, table=u32(0) * 256,
                       pixels=b"\x04\x01\x00\x00\x04\x02\x00\x01"),
        "rgb24": bitmap(3, 3, 24),
        "size-image-larger-than-file": bitmap(2, 2, 32, size_image=4096),
        "cut-pixels": bitmap(4, 4, 32)[:70],
        "planes-2": bitmap(planes=2),
    }


def hand_forms(picture):
    def prop(name, kind, value):
        return short(name) + write_value(kind, value)

    every_type = (
        b"TPF0" + short("TForm1") + short("Form1")
        + prop("Left", 3, struct.pack("<h", 260)) + prop("Font.Height", 2, b"\xF5")
        + prop("Font.Name", 6, "MS Sans Serif".encode()) + prop("Color", 7, b"clBtnFace")
        + prop("OldCreateOrder", 8, b"") + prop("Font.Style", 11, [b"fsBold"])
        + prop("TextHeight", 2, b"\x0D") + prop("PixelsPerInch", 2, b"\x60") + b"\0"
        + short("TImage") + short("Image1") + prop("AutoSize", 9, b"")
        + prop("Picture.Data", 10, picture) + b"\0\0"
        + short("TLabel") + short("Label1") + prop("Caption", 20, "  сайт ".encode())
        + prop("Cursor", 7, b"crHandPoint") + prop("Width", 2, b"\x21") + b"\0\0"
        + b"\0"
    )
    scaled = every_type.replace(b"\x0ATextHeight\x02\x0D", b"\x0ATextHeight\x02\x10")
    return {"every-type": every_type, "text-height-16": scaled,
            "empty-form": b"TPF0" + short("TForm1") + short("Form1") + b"\0\0"}


def write(target, name, data):
    folder = SEEDS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def main():
    stored = (ROOT / "resources" / "TForm1.bin").read_bytes()
    reader = Reader(stored)
    assert reader.take(4) == b"TPF0"
    form = reader.record(reader.short())
    assert write_record(form) == stored[4:], "the seed writer no longer matches the stored form"

    tiny = payload(bitmap(2, 2, 32, pixels=b"\x10\x20\x30\x00\x40\x50\x60\x80" * 2))
    small_form = b"TPF0" + write_record(with_pictures(form, tiny))
    for target in ("form_reader", "widget_form"):
        write(target, "stored-form", stored)
        write(target, "stored-form-small-pictures", small_form)
        for name, data in hand_forms(tiny).items():
            write(target, name, data)
    for index, data in enumerate(payloads(form), start=1):
        write("bitmap_payload", f"stored-image{index}", data)
    for name, data in small_bitmaps().items():
        write("bitmap_payload", name, payload(data))
    write("bitmap_payload", "empty-picture", payload(b""))
    write("bitmap_payload", "unknown-class", payload(bitmap(), "TJPEGImage"))
    write("bitmap_payload", "not-bm", payload(b"MB" + bitmap()[2:]))


if __name__ == "__main__":
    main()
