"""The third-party notices of one HotKeys.exe, from the link map the build wrote beside it.

For each archive member and start file the linker took from outside the build it finds the
Debian package, and gives the libraries with their notices: the text a copy of the program
carries, and the same facts for the bill of materials. It refuses, naming the file and its
package, a linked file that belongs to no library of components.json: nothing goes out without
its notice. Versions come from dpkg, so a toolchain update needs no edit here.
"""

import collections
import fnmatch
import hashlib
import json
import os
import pathlib
import re
import subprocess

from . import Refused, copyright, debian_packages, linkmap

COMPONENTS = pathlib.Path(__file__).resolve().parents[1] / "components.json"
RULE = "=" * 78
THIN_RULE = "-" * 78


class Uncovered(Refused):
    """A linked file that no library of components.json claims."""


def load_table():
    return json.loads(COMPONENTS.read_text())


def package_facts(packages):
    """{package: (source package, version, architecture)} from dpkg."""
    lines = debian_packages.query("${source:Package} ${Version} ${Architecture}", packages)
    return {package: tuple(line.split(" ")) for package, line in zip(packages, lines)}


def library_of(table, source_package, file_name):
    for name, library in table["libraries"].items():
        if library["source package"] == source_package and file_name in library["files"]:
            return name
    return None


def claim(table, inputs):
    """{library: {path: (package, members)}} for every linked file; Uncovered names those that
    no library claims."""
    try:
        owner = debian_packages.owners(inputs)
    except debian_packages.Unowned as unknown:
        raise Uncovered(f"HotKeys.exe links code whose licence notices are unknown: {unknown}")
    facts = package_facts(sorted(set(owner.values())))
    claimed, refused = collections.defaultdict(dict), []
    for path, members in sorted(inputs.items()):
        package = owner[path]
        source, version, _ = facts[package]
        library = library_of(table, source, os.path.basename(path))
        if library is None:
            refused.append(f"{os.path.basename(path)} ({path}), from the Debian package "
                           f"{package} {version}")
        else:
            claimed[library][path] = (package, members)
    if refused:
        raise Uncovered("HotKeys.exe links code whose licence notices are unknown:\n  " +
                        "\n  ".join(refused) + "\nName its library, with where its notices "
                        "come from, in tools/dist/components.json.")
    return claimed, facts


FILE_SYMBOL = re.compile(r"\(scl 103\) \(nx \d+\) 0x[0-9a-f]+ (\S+)$")
MEMBER = re.compile(r"^(\S+):\s+file format ")


def member_sources(objdump, path, members):
    """The source file names (COFF .file symbols) of the given members of an archive, or of the
    object file itself when it has no members."""
    listing = subprocess.run([objdump, "-t", path], check=True, capture_output=True, text=True,
                             env=dict(os.environ, LC_ALL="C")).stdout
    wanted = set(members) if members else None
    sources, member = set(), None
    for line in listing.splitlines():
        started = MEMBER.match(line)
        if started:
            member = os.path.basename(started.group(1))
        found = FILE_SYMBOL.search(line)
        if found and (wanted is None or member in wanted):
            sources.add(found.group(1))
    return sources


def covers_linked_code(pattern, library, sources):
    """Whether a Files pattern of the copyright file may cover code linked from the library."""
    if pattern == "*":
        return "*" in library["code"]
    under = lambda directories: any(pattern.startswith(d) for d in directories)
    if under(library["left out"]) or not under(library["code"] + library["headers"]):
        return False
    name = pattern.rpartition("/")[2]
    return under(library["headers"]) or name == "*" or \
        any(fnmatch.fnmatchcase(source, name) for source in sources)


def spdx_ids(table, debian_license):
    """The SPDX identifiers of a Debian licence field ('BSD-2-clause-NetBSD and ISC')."""
    if " or " in debian_license:
        raise Refused(f"a choice of licences needs a reviewed expression: {debian_license}")
    ids = []
    for name in debian_license.split(" and "):
        if name not in table["spdx"]:
            raise Refused(f'no SPDX identifier for the Debian licence "{name}": add it to '
                          "the spdx table of tools/dist/components.json")
        ids.append((name, table["spdx"][name]))
    return ids


def machine_readable_notices(table, library, text, sources):
    stanzas, stand_alone = copyright.read_machine_readable(text)
    sections, ids, copyright_lines, license_texts = [], [], [], {}
    for stanza in stanzas:
        linked = [p for p in stanza.patterns if covers_linked_code(p, library, sources)]
        if not linked:
            continue
        copyright_field = stanza.copyright.replace("\n", "\n" + " " * len("Copyright: "))
        section = ["Files: " + ("\n" + " " * len("Files: ")).join(linked),
                   f"Copyright: {copyright_field}", f"License: {stanza.license}"]
        for name, spdx in spdx_ids(table, stanza.license):
            body = stanza.license_text or stand_alone.get(name, "")
            if not body:
                raise Refused(f'the copyright file gives no text for the licence "{name}"')
            if spdx not in ids:
                ids.append(spdx)
            license_texts.setdefault(spdx, body)
            section.append("")
            section.append(body)
        sections.append("\n".join(section))
        copyright_lines += [line for line in stanza.copyright.splitlines()
                            if line not in copyright_lines]
    expression = " AND ".join(sorted(ids))
    refs = {spdx: body for spdx, body in license_texts.items() if spdx.startswith("LicenseRef-")}
    return expression, "\n".join(copyright_lines), sections, refs, True


def free_form_notices(table, source_package, text):
    entry = table["free-form notices"][source_package]
    copyright_text = copyright.quote(text, *entry["copyright"])
    sections = [copyright_text] + [copyright.quote(text, *pair) for pair in entry["quotes"]]
    return entry["license"], copyright_text, sections, {}, entry["notice required"]


def describe(table, objdump, name, linked, facts):
    library = table["libraries"][name]
    packages = sorted({package for package, _ in linked.values()})
    texts = {(pathlib.Path("/usr/share/doc") / package.split(":")[0] / "copyright").read_text()
             for package in packages}
    if len(texts) != 1:
        raise Refused(f"the packages of {name} ({', '.join(packages)}) have different "
                      "copyright files")
    text = texts.pop()
    if text.startswith(copyright.MACHINE_READABLE):
        sources = set()
        for path, (_, members) in linked.items():
            sources |= member_sources(objdump, path, members)
        notices = machine_readable_notices(table, library, text, sources)
    else:
        notices = free_form_notices(table, library["source package"], text)
    expression, copyright_text, sections, refs, required = notices
    return {
        "name": name,
        "version": debian_packages.upstream_version(facts[packages[0]][1]),
        "license": expression,
        "copyright": copyright_text,
        "notice required": required,
        "packages": [{"name": package.split(":")[0], "version": facts[package][1],
                      "architecture": facts[package][2]} for package in packages],
        "files": [linked_file(path, members) for path, (_, members) in
                  sorted(linked.items(), key=lambda item: os.path.basename(item[0]))],
        "license texts": refs,
        "sections": sections,
    }


def linked_file(path, members):
    data = pathlib.Path(path).read_bytes()
    return {"name": os.path.basename(path), "path": path, "members": len(members),
            "sha1": hashlib.sha1(data).hexdigest(), "sha256": hashlib.sha256(data).hexdigest()}


def components(map_text, objdump):
    """Each library linked into the program, in name order, with its notices."""
    table = load_table()
    claimed, facts = claim(table, linkmap.linked_inputs(map_text))
    return [describe(table, objdump, name, claimed[name], facts) for name in sorted(claimed)]


def linked_from(files, width=78, label="  Linked from:     "):
    """The linked files, as many to a line as fit, none broken."""
    items = [f"{file['name']} ({count} member{'s' if count != 1 else ''})"
             if (count := file["members"]) else file["name"] for file in files]
    lines, line = [], label
    for at, item in enumerate(items):
        item += ";" if at < len(items) - 1 else ""
        if len(line) > len(label) and len(line) + 1 + len(item) > width:
            lines.append(line)
            line = " " * len(label)
        line += (" " if len(line) > len(label) else "") + item
    return lines + [line]


def notices_text(version, libraries):
    lines = [f"HotKeys {version}: third-party notices", "",
             "HotKeys.exe is linked statically: besides the program's own code (MIT License,",
             "see LICENSE.txt) it holds code that the compiler took from the libraries below.",
             "For each it names the upstream version, the Debian package it was built from",
             "and that package's version, the licence as an SPDX expression, and the copyright",
             "lines and licence texts of the parts linked, as Debian's copyright file of the",
             "package (/usr/share/doc/<package>/copyright) records them.", ""]
    printed = {}
    for library in libraries:
        packages = ", ".join(f"{p['name']} {p['version']}" for p in library["packages"])
        notice = ("required in copies; it follows" if library["notice required"] else
                  "not required in copies; the licence follows for reference")
        lines += [RULE, f"{library['name']} {library['version']}",
                  f"  Debian package:  {packages}",
                  *linked_from(library["files"]),
                  f"  Licence:         {library['license']}",
                  f"  Notice:          {notice}", RULE]
        earlier = {printed.get(section) for section in library["sections"]}
        if len(earlier) == 1 and None not in earlier:
            lines += ["", f"The same copyright and licence as {earlier.pop()}, above.", ""]
        for section in library["sections"] if None in earlier else []:
            lines += ["", section, "", THIN_RULE]
            printed.setdefault(section, library["name"])
        lines.append("")
    return "\n".join(lines)
