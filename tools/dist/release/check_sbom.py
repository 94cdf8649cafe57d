"""Reads a release's bill of materials back against the release:

    python3 -m release.check_sbom DIST ARCH=MAP...

the SPDX 2.3 fields a document must have; the SHA-1 and SHA-256 of each HotKeys.exe and the
SHA-256 of each zip in DIST; for each architecture, every file its link map (ld -Map) shows
taken from outside the build, named at its checksum in a library that the exe statically
links, and nothing more; and every licence identifier in the lists Debian packages from SPDX
(node-spdx-license-ids, node-spdx-exceptions), or a LicenseRef- whose text the document holds.
`make dist` runs it on dist/; it prints each fault it finds.
"""

import hashlib
import json
import pathlib
import re
import sys

from . import Refused, linkmap

LICENSE_IDS = pathlib.Path("/usr/share/nodejs/spdx-license-ids/index.json")
EXCEPTION_IDS = pathlib.Path("/usr/share/nodejs/spdx-exceptions/index.json")
ELEMENT_ID = re.compile(r"^SPDXRef-[A-Za-z0-9.-]+$")
CREATED = re.compile(r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$")
CREATOR = re.compile(r"^(Person|Organization|Tool): \S")


class Faults(Refused):
    """What the bill of materials gets wrong about the release."""


def missing(element, fields, what):
    return [f"{what} {element.get('SPDXID', element.get('licenseId', '?'))} lacks {field}"
            for field in fields if element.get(field) in (None, "", [])]


def required_fields(doc):
    """What SPDX 2.3 requires of a document and of each element it holds."""
    faults = []
    expected = {"spdxVersion": "SPDX-2.3", "dataLicense": "CC0-1.0", "SPDXID": "SPDXRef-DOCUMENT"}
    faults += [f"the document's {field} is {doc.get(field)!r}, not {value!r}"
               for field, value in expected.items() if doc.get(field) != value]
    faults += missing(doc, ["name", "documentNamespace", "creationInfo"], "the document")
    namespace = doc.get("documentNamespace", "")
    if not re.match(r"^[a-z][a-z0-9+.-]*://\S+$", namespace) or "#" in namespace:
        faults.append(f"the namespace {namespace!r} is no absolute URI without a fragment")
    info = doc.get("creationInfo", {})
    if not CREATED.match(info.get("created", "")):
        faults.append(f"created {info.get('created')!r} is not YYYY-MM-DDThh:mm:ssZ")
    if not info.get("creators") or not all(CREATOR.match(c) for c in info["creators"]):
        faults.append(f"the creators {info.get('creators')!r} are not Person:, Organization: "
                      "or Tool:")
    for package in doc.get("packages", []):
        faults += missing(package, ["SPDXID", "name", "downloadLocation"], "package")
        if package.get("filesAnalyzed", True):
            faults += missing(package, ["packageVerificationCode"], "package")
    for file in doc.get("files", []):
        faults += missing(file, ["SPDXID", "fileName", "checksums"], "file")
        if "SHA1" not in {c["algorithm"] for c in file.get("checksums", [])}:
            faults.append(f"file {file.get('SPDXID')} has no SHA1 checksum")
    for relationship in doc.get("relationships", []):
        faults += missing(relationship,
                          ["spdxElementId", "relationshipType", "relatedSpdxElement"],
                          "a relationship of")
    for extracted in doc.get("hasExtractedLicensingInfos", []):
        faults += missing(extracted, ["licenseId", "extractedText"], "the licence")
    if not any(r.get("relationshipType") == "DESCRIBES" and r.get("spdxElementId") ==
               "SPDXRef-DOCUMENT" for r in doc.get("relationships", [])):
        faults.append("the document DESCRIBES nothing")
    return faults


def identifiers(doc):
    elements = [e.get("SPDXID", "") for e in doc.get("packages", []) + doc.get("files", [])]
    faults = [f"{element!r} is no SPDX element identifier"
              for element in elements if not ELEMENT_ID.match(element)]
    faults += [f"{element} names two elements"
               for element in sorted({e for e in elements if elements.count(e) > 1})]
    known = set(elements) | {"SPDXRef-DOCUMENT"}
    for relationship in doc.get("relationships", []):
        for end in ("spdxElementId", "relatedSpdxElement"):
            if relationship.get(end) not in known:
                faults.append(f"a relationship names {relationship.get(end)}, no element here")
    return faults


def related(doc, element, relationship):
    return [r["relatedSpdxElement"] for r in doc.get("relationships", [])
            if r.get("spdxElementId") == element and r.get("relationshipType") == relationship]


def checksum(element, algorithm):
    return {c["algorithm"]: c["checksumValue"] for c in element.get("checksums", [])}.get(algorithm)


def file_named(doc, name):
    found = [f for f in doc.get("files", []) if f.get("fileName") == name]
    return found[0] if len(found) == 1 else None


def release_checksums(doc, out):
    """Each zip is a HotKeys package at its SHA-256, containing its exe at its own checksums."""
    faults = []
    packages = {p.get("packageFileName"): p for p in doc.get("packages", [])}
    for zip_path in sorted(out.glob("*.zip")):
        package = packages.get(zip_path.name)
        if package is None or package.get("name") != "HotKeys":
            faults.append(f"{zip_path.name} is no HotKeys package of the document")
            continue
        if checksum(package, "SHA256") != hashlib.sha256(zip_path.read_bytes()).hexdigest():
            faults.append(f"{zip_path.name}: the SHA-256 is not the zip's")
        exe_path = out / zip_path.stem / "HotKeys.exe"
        exe = file_named(doc, f"./{zip_path.stem}/HotKeys.exe")
        if exe is None or exe["SPDXID"] not in related(doc, package["SPDXID"], "CONTAINS"):
            faults.append(f"{zip_path.name} contains no {zip_path.stem}/HotKeys.exe")
            continue
        data = exe_path.read_bytes()
        for algorithm, digest in (("SHA1", hashlib.sha1), ("SHA256", hashlib.sha256)):
            if checksum(exe, algorithm) != digest(data).hexdigest():
                faults.append(f"{zip_path.stem}/HotKeys.exe: the {algorithm} is not the exe's")
    if not list(out.glob("*.zip")):
        faults.append(f"no zip in {out}")
    return faults


def linked_components(doc, out, maps):
    """Every file the link map shows, at its checksum, in a library the exe STATIC_LINKs."""
    faults = []
    for arch, map_path in sorted(maps.items()):
        exes = [f for f in doc.get("files", []) if f.get("fileName", "").endswith(
            f"-{arch}/HotKeys.exe")]
        if len(exes) != 1:
            faults.append(f"{arch}: the document holds {len(exes)} exes of this architecture")
            continue
        files = {}
        for library in related(doc, exes[0]["SPDXID"], "STATIC_LINK"):
            for file_id in related(doc, library, "CONTAINS"):
                file = next(f for f in doc["files"] if f["SPDXID"] == file_id)
                files[file["fileName"]] = file
        linked = linkmap.linked_inputs(pathlib.Path(map_path).read_text())
        for path in sorted(linked):
            file = files.pop(f".{path}", None)
            if file is None:
                faults.append(f"{arch}: {path} is linked but in no library of the exe")
            elif checksum(file, "SHA256") != hashlib.sha256(
                    pathlib.Path(path).read_bytes()).hexdigest():
                faults.append(f"{arch}: {path} is not the file the document names")
        faults += [f"{arch}: {name[1:]} is named but not linked" for name in sorted(files)]
    return faults


def license_expressions(doc):
    for element in doc.get("packages", []) + doc.get("files", []):
        for field in ("licenseConcluded", "licenseDeclared"):
            if field in element:
                yield element["SPDXID"], element[field]
        for expression in element.get("licenseInfoInFiles", []):
            yield element["SPDXID"], expression


def licenses(doc):
    """Each identifier in Debian's copy of the SPDX lists, or a LicenseRef- with its text."""
    ids = set(json.loads(LICENSE_IDS.read_text()))
    exceptions = set(json.loads(EXCEPTION_IDS.read_text()))
    extracted = {e.get("licenseId") for e in doc.get("hasExtractedLicensingInfos", [])}
    faults = []
    for element, expression in license_expressions(doc):
        if expression in ("NOASSERTION", "NONE"):
            continue
        tokens = re.findall(r"\(|\)|[^\s()]+", expression)
        for at, token in enumerate(tokens):
            if token in ("(", ")", "AND", "OR", "WITH"):
                continue
            if at > 0 and tokens[at - 1] == "WITH":
                known = token in exceptions
            elif token.startswith("LicenseRef-"):
                known = token in extracted
            else:
                known = token.removesuffix("+") in ids
            if not known:
                faults.append(f"{element}: {token} in {expression!r} is no SPDX identifier")
    return faults


def faults_of(out, maps):
    out = pathlib.Path(out)
    bills = sorted(out.glob("*.spdx.json"))
    if len(bills) != 1:
        return [f"{out} holds {len(bills)} bills of materials, not one"]
    doc = json.loads(bills[0].read_text())
    return (required_fields(doc) + identifiers(doc) + release_checksums(doc, out) +
            linked_components(doc, out, maps) + licenses(doc))


def check(out, maps):
    faults = faults_of(out, maps)
    if faults:
        raise Faults("the bill of materials does not match the release:\n  " +
                     "\n  ".join(faults))


def main():
    maps = dict(argument.split("=", 1) for argument in sys.argv[2:])
    try:
        check(sys.argv[1], maps)
    except Faults as faults:
        print(faults, file=sys.stderr)
        return 1
    print(f"{sys.argv[1]}: the bill of materials matches the release")
    return 0


if __name__ == "__main__":
    sys.exit(main())
