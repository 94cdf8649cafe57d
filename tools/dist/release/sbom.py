"""The release's bill of materials, an SPDX 2.3 JSON document: a package for each zip of
HotKeys with the exe it contains, and per architecture a package for each library linked into
that exe (from notices.py), containing the files the linker took from.

Its bytes depend on the release alone: `created` is the commit's time, the namespace is made of
the version and the commit, and every list has a fixed order."""

import hashlib
import re
import time

TOOL = "Tool: HotKeys-tools-dist"


def spdx_id(*parts):
    """An SPDX element identifier: letters, digits, '.' and '-' only."""
    text = "-".join(parts).replace("+", "p")
    return "SPDXRef-" + re.sub(r"[^A-Za-z0-9.-]", "-", text)


def digests(data):
    return [{"algorithm": "SHA1", "checksumValue": hashlib.sha1(data).hexdigest()},
            {"algorithm": "SHA256", "checksumValue": hashlib.sha256(data).hexdigest()}]


def purl(package):
    """The package URL (purl) of a Debian binary package, of the purl type "deb"."""
    escape = lambda text: text.replace("+", "%2B").replace(":", "%3A")
    return (f"pkg:deb/debian/{escape(package['name'])}@{escape(package['version'])}"
            f"?arch={package['architecture']}")


def license_terms(expression):
    """The terms joined by AND at the top level of an expression without parentheses."""
    return expression.split(" AND ")


def exe_license(own, libraries):
    terms = [own] + [term for library in libraries for term in license_terms(library["license"])]
    return " AND ".join(sorted(set(terms)))


def copyright_holder(release):
    """Who holds the copyright, from LICENSE's copyright line ("Copyright (c) 2026 ...")."""
    return re.sub(r"^Copyright \(c\) [0-9, -]+ ", "", release["copyright"])


class Document:
    def __init__(self, release, commit, epoch):
        self.release = release
        version = release["version"]
        self.owner = f"Organization: {copyright_holder(release)}"
        self.spdx = {
            "spdxVersion": "SPDX-2.3",
            "dataLicense": "CC0-1.0",
            "SPDXID": "SPDXRef-DOCUMENT",
            "name": f"HotKeys-{version}",
            "documentNamespace":
                f"{release['pages']['Label4'].rstrip('/')}/spdx/HotKeys-{version}-{commit}",
            "creationInfo": {
                "created": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(epoch)),
                "creators": [self.owner, TOOL],
            },
            "packages": [],
            "files": [],
            "hasExtractedLicensingInfos": [],
            "relationships": [],
        }
        self.extracted = {}

    def relate(self, element, relationship, related):
        self.spdx["relationships"].append({"spdxElementId": element,
                                           "relationshipType": relationship,
                                           "relatedSpdxElement": related})

    def add_program(self, arch, platform, zip_name, zip_data, exe_name, exe_data, libraries):
        """One zip of the release, its HotKeys.exe, and what the linker put into that exe."""
        release = self.release
        package_id, exe_id = spdx_id("HotKeys", arch), spdx_id("HotKeys", arch, "exe")
        self.spdx["packages"].append({
            "SPDXID": package_id,
            "name": "HotKeys",
            "versionInfo": release["version"],
            "packageFileName": zip_name,
            "supplier": self.owner,
            "downloadLocation": "NOASSERTION",
            "filesAnalyzed": False,
            "checksums": digests(zip_data)[1:],
            "licenseConcluded": release["license"],
            "licenseDeclared": release["license"],
            "copyrightText": release["copyright"],
            "primaryPackagePurpose": "APPLICATION",
            "description": f"HotKeys for {platform}",
        })
        self.relate("SPDXRef-DOCUMENT", "DESCRIBES", package_id)
        self.spdx["files"].append({
            "SPDXID": exe_id,
            "fileName": f"./{exe_name}",
            "fileTypes": ["BINARY", "APPLICATION"],
            "checksums": digests(exe_data),
            "licenseConcluded": exe_license(release["license"], libraries),
            "copyrightText": release["copyright"],
        })
        self.relate(package_id, "CONTAINS", exe_id)
        for library in libraries:
            self.relate(exe_id, "STATIC_LINK", self.add_library(arch, library))

    def add_library(self, arch, library):
        library_id = spdx_id(arch, library["name"])
        packages = ", ".join(f"{p['name']} {p['version']}" for p in library["packages"])
        self.spdx["packages"].append({
            "SPDXID": library_id,
            "name": library["name"],
            "versionInfo": library["version"],
            "downloadLocation": "NOASSERTION",
            "filesAnalyzed": False,
            "licenseConcluded": "NOASSERTION",
            "licenseDeclared": library["license"],
            "copyrightText": library["copyright"] or "NOASSERTION",
            "sourceInfo": f"built by Debian, package {packages}",
            "primaryPackagePurpose": "LIBRARY",
            "externalRefs": [{"referenceCategory": "PACKAGE-MANAGER", "referenceType": "purl",
                              "referenceLocator": purl(package)}
                             for package in library["packages"]],
        })
        for file in library["files"]:
            file_id = spdx_id(arch, library["name"], file["name"])
            self.spdx["files"].append({
                "SPDXID": file_id,
                "fileName": f".{file['path']}",
                "fileTypes": ["ARCHIVE" if file["members"] else "BINARY"],
                "checksums": [{"algorithm": "SHA1", "checksumValue": file["sha1"]},
                              {"algorithm": "SHA256", "checksumValue": file["sha256"]}],
                "licenseConcluded": "NOASSERTION",
                "copyrightText": "NOASSERTION",
                "comment": f"{file['members']} members linked" if file["members"]
                           else "linked whole",
            })
            self.relate(library_id, "CONTAINS", file_id)
        for license_id, text in library["license texts"].items():
            if license_id not in self.extracted:
                self.extracted[license_id] = text
                self.spdx["hasExtractedLicensingInfos"].append({
                    "licenseId": license_id,
                    "name": license_id.removeprefix("LicenseRef-"),
                    "extractedText": text,
                })
        return library_id
