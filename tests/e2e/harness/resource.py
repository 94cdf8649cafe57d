"""The RCDATA resource "TFORM1" inside a PE file, and the form description it stores."""

import collections
import dataclasses
import pathlib
import struct

RT_RCDATA = 10


_u16 = lambda data, at: struct.unpack_from("<H", data, at)[0]
_u32 = lambda data, at: struct.unpack_from("<I", data, at)[0]


def _entries(data, base, directory):
    """(name or id, offset, is_directory) of each entry of a resource directory."""
    named, numbered = _u16(data, directory + 12), _u16(data, directory + 14)
    for i in range(named + numbered):
        entry = directory + 16 + 8 * i
        name, target = _u32(data, entry), _u32(data, entry + 4)
        if name & 0x80000000:
            at = base + (name & 0x7FFFFFFF)
            name = data[at + 2:at + 2 + 2 * _u16(data, at)].decode("utf-16-le")
        yield name, base + (target & 0x7FFFFFFF), bool(target & 0x80000000)


def _file_offset(data, sections, rva):
    for virtual, size, raw in sections:
        if virtual <= rva < virtual + size:
            return rva - virtual + raw
    raise ValueError(f"RVA {rva:#x} lies in no section")


def find_rcdata_entry(data, name):
    """(file offset of the data entry of the RCDATA resource `name`, the sections), or None.
    The entry holds the resource's address and then its size, 4 bytes each."""
    return find_resource_entry(data, RT_RCDATA, name)


def find_resource(data, type_id, name):
    """(file offset, size) of the resource of type `type_id` named (or numbered) `name`, or
    None."""
    entry = find_resource_entry(data, type_id, name)
    if entry is None:
        return None
    at, sections = entry
    return _file_offset(data, sections, _u32(data, at)), _u32(data, at + 4)


def find_resource_entry(data, type_id, name):
    """(file offset of the data entry of the resource of type `type_id` named (or numbered)
    `name`, the sections), or None."""
    pe = _u32(data, 0x3C)
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
    section_count, optional_size = _u16(data, pe + 6), _u16(data, pe + 20)
    optional = pe + 24
    magic = _u16(data, optional)
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva = _u32(data, directories + 2 * 8)
    table = optional + optional_size
    sections = [(_u32(data, s + 12), max(_u32(data, s + 8), _u32(data, s + 16)), _u32(data, s + 20))
                for s in (table + 40 * i for i in range(section_count))]
    base = _file_offset(data, sections, resource_rva)
    for found_type, types, _ in _entries(data, base, base):
        if found_type != type_id:
            continue
        for entry_name, names, _ in _entries(data, base, types):
            if entry_name == name or (isinstance(entry_name, str) and isinstance(name, str)
                                      and entry_name.upper() == name.upper()):
                _, leaf, _ = next(_entries(data, base, names))
                return leaf, sections
    return None


Property = collections.namedtuple("Property", "type value offset")  # offset within the description


@dataclasses.dataclass
class FormObject:
    cls: str
    name: str
    props: dict
    children: list

    def child(self, name):
        return next(c for c in self.children if c.name == name)

    def value(self, name, default=None):
        prop = self.props.get(name)
        return default if prop is None else prop.value


# A second reader of the form description, written apart from the program's C++ one on purpose:
# the expected look is an independent oracle, so a fault in either reader shows as a difference.
class _Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, count):
        chunk = self.data[self.at:self.at + count]
        assert len(chunk) == count, "form description cut short"
        self.at += count
        return chunk

    def byte(self):
        return self.take(1)[0]

    def short_string(self):
        return self.take(self.byte()).decode("latin-1")

    def value(self, kind):
        number = lambda form: struct.unpack(form, self.take(struct.calcsize(form)))[0]
        read = {2: lambda: number("<b"), 3: lambda: number("<h"), 6: self.short_string,
                7: self.short_string, 8: lambda: False, 9: lambda: True,
                10: lambda: self.take(number("<I")),
                11: lambda: list(iter(self.short_string, "")),  # names up to an empty one
                20: lambda: self.take(number("<I")).decode("utf-8")}.get(kind)
        if read is None:
            raise ValueError(f"unknown type byte {kind} at {self.at - 1}")
        return read()

    def obj(self):
        cls, name, props, children = self.short_string(), self.short_string(), {}, []
        while self.data[self.at]:
            prop = self.short_string()
            kind = self.byte()
            offset = self.at
            props[prop] = Property(kind, self.value(kind), offset)
        self.at += 1
        while self.data[self.at]:
            children.append(self.obj())
        self.at += 1
        return FormObject(cls, name, props, children)


def parse_form(data):
    reader = _Reader(data)
    assert reader.take(4) == b"TPF0", "no form signature"
    form = reader.obj()
    assert reader.at == len(data), "bytes after the form"
    return form


def read_exe_form(exe_path):
    """The form description of an executable: (parsed form, file offset, bytes)."""
    data = pathlib.Path(exe_path).read_bytes()
    found = find_resource(data, RT_RCDATA, "TFORM1")
    assert found, f"{exe_path} has no TFORM1 resource"
    offset, size = found
    description = data[offset:offset + size]
    return parse_form(description), offset, description


def with_form_description(exe_path, description):
    """The executable's bytes with another form description written over its own, which must be
    at least as long, and the resource's size set to the new one's."""
    data = bytearray(pathlib.Path(exe_path).read_bytes())
    entry, sections = find_rcdata_entry(data, "TFORM1")
    assert len(description) <= _u32(data, entry + 4), "the form description does not fit"
    offset = _file_offset(data, sections, _u32(data, entry))
    data[offset:offset + len(description)] = description
    struct.pack_into("<I", data, entry + 4, len(description))
    return bytes(data)


def without_form_description(exe_path):
    """The executable's bytes with its form description renamed in the resource directory,
    which hides it from the program."""
    data = pathlib.Path(exe_path).read_bytes()
    assert "TFORM1".encode("utf-16-le") in data, f"{exe_path} has no TFORM1 resource"
    return data.replace("TFORM1".encode("utf-16-le"), "TFORMX".encode("utf-16-le"), 1)
