"""Debian's copyright files (/usr/share/doc/<package>/copyright), the distributor's record of
who holds the copyright of each part of a package and under which licence.

Machine-readable ones (copyright-format 1.0) are read as paragraphs of fields; the older free
form is quoted by its first and last lines."""

import dataclasses

from . import Refused

MACHINE_READABLE = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"


@dataclasses.dataclass
class Stanza:
    """A Files paragraph: the files it covers, their copyright lines and licence."""
    patterns: list
    copyright: str
    license: str
    license_text: str


def _paragraphs(text):
    paragraph = []
    for line in text.splitlines():
        if line.strip():
            paragraph.append(line)
        elif paragraph:
            yield paragraph
            paragraph = []
    if paragraph:
        yield paragraph


def _fields(paragraph):
    """{field: value}; a value's continuation lines keep their leading space."""
    fields, name = {}, None
    for line in paragraph:
        if line[0] in " \t" and name:
            fields[name] += "\n" + line
        else:
            name, _, value = line.partition(":")
            fields[name] = value.strip()
    return fields


def unfold(value):
    """A field's continuation lines as plain text: ' .' is an empty line."""
    lines = [line[1:] if line.startswith(" ") else line for line in value.splitlines()]
    return "\n".join("" if line == "." else line for line in lines)


def read_machine_readable(text):
    """(Files stanzas in order, {licence name: text of its stand-alone License paragraph})."""
    if not text.startswith(MACHINE_READABLE):
        raise Refused("not in Debian's machine-readable copyright format")
    stanzas, licenses = [], {}
    for paragraph in _paragraphs(text):
        fields = _fields(paragraph)
        name, _, body = fields.get("License", "").partition("\n")
        if "Files" in fields:
            copyright_lines = (line.strip() for line in fields.get("Copyright", "").splitlines())
            stanzas.append(Stanza(fields["Files"].split(), "\n".join(copyright_lines),
                                  name, unfold(body)))
        elif "License" in fields and "Format" not in fields:
            licenses[name] = unfold(body)
    return stanzas, licenses


def quote(text, first, last):
    """The lines of a free-form copyright file from the line that starts with `first` to the
    next one that ends with `last`, both included."""
    lines = text.splitlines()
    starts = [at for at, line in enumerate(lines) if line.strip().startswith(first)]
    if not starts:
        raise Refused(f'no line starts with "{first}"')
    for end in range(starts[0], len(lines)):
        if lines[end].rstrip().endswith(last):
            return "\n".join(line.rstrip() for line in lines[starts[0]:end + 1])
    raise Refused(f'no line after "{first}" ends with "{last}"')
