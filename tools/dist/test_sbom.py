"""The bill of materials, read back against a release packed from the build trees of both
programs (`make build`): it passes the check as written, the check finds each fault a wrong
document could have, and its bytes depend on the release alone."""
import copy
import hashlib
import json
import pathlib
import shutil
import tempfile
import unittest

from built_trees import COMMIT, EPOCH, REPO, tree, trees
from release import check_sbom, dist


def pack(out):
    dist.package(out, REPO, trees(), EPOCH, COMMIT)
    return next(out.glob("*.spdx.json"))


class BillOfMaterials(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.TemporaryDirectory()
        cls.out = pathlib.Path(cls.directory.name) / "dist"
        cls.out.mkdir()
        cls.bill = pack(cls.out)
        cls.written = cls.bill.read_bytes()
        cls.doc = json.loads(cls.written)
        cls.maps = {arch: tree(arch) / "HotKeys.map" for arch, _ in dist.PROGRAMS}

    @classmethod
    def tearDownClass(cls):
        cls.directory.cleanup()

    def faults(self, doc):
        self.bill.write_text(json.dumps(doc))
        try:
            return check_sbom.faults_of(self.out, self.maps)
        finally:
            self.bill.write_bytes(self.written)

    def test_the_document_matches_the_release_it_was_written_with(self):
        self.assertEqual(check_sbom.faults_of(self.out, self.maps), [])
        libraries = {p["name"] for p in self.doc["packages"] if p["name"] != "HotKeys"}
        self.assertEqual(libraries, {"mingw-w64 runtime", "winpthreads", "libgcc", "libstdc++",
                                     "libssp"})

    def test_each_fault_of_a_document_is_found(self):
        def without_library(doc, name):
            gone = {p["SPDXID"] for p in doc["packages"] if p["name"] == name}
            doc["relationships"] = [r for r in doc["relationships"]
                                    if r["relatedSpdxElement"] not in gone]

        def set_field(doc, kind, name, field, value):
            next(e for e in doc[kind] if e.get("name", e.get("fileName")) == name)[field] = value

        faults = {
            "an exe's checksum": (
                lambda doc: doc["files"][0]["checksums"][1].update(checksumValue="0" * 64),
                "HotKeys.exe: the SHA256 is not the exe's"),
            "a linked library left out": (
                lambda doc: without_library(doc, "winpthreads"),
                "libpthread.a is linked but in no library of the exe"),
            "a licence the SPDX list lacks": (
                lambda doc: set_field(doc, "packages", "winpthreads", "licenseDeclared", "Expat"),
                "Expat in 'Expat' is no SPDX identifier"),
            "an exception the SPDX list lacks": (
                lambda doc: set_field(doc, "packages", "libgcc", "licenseDeclared",
                                      "GPL-3.0-or-later WITH GCC-exception-9"),
                "GCC-exception-9 in"),
            "a licence reference without its text": (
                lambda doc: doc["hasExtractedLicensingInfos"].pop(),
                "is no SPDX identifier"),
            "a namespace missing": (lambda doc: doc.pop("documentNamespace"),
                                    "lacks documentNamespace"),
            "a file without SHA-1": (lambda doc: doc["files"][0]["checksums"].pop(0),
                                     "has no SHA1 checksum"),
            "a package whose files need a verification code": (
                lambda doc: doc["packages"][0].pop("filesAnalyzed"),
                "lacks packageVerificationCode"),
        }
        for fault, (change, reported) in faults.items():
            with self.subTest(fault=fault):
                doc = copy.deepcopy(self.doc)
                change(doc)
                self.assertTrue(any(reported in found for found in self.faults(doc)),
                                self.faults(doc))

    def test_an_exe_changed_after_the_document_is_found(self):
        exe = self.out / f"HotKeys-{self.doc['packages'][0]['versionInfo']}-win64" / "HotKeys.exe"
        original = exe.read_bytes()
        exe.write_bytes(original + b"\0")
        try:
            self.assertIn("HotKeys-1.0.0-win64/HotKeys.exe: the SHA1 is not the exe's",
                          check_sbom.faults_of(self.out, self.maps))
        finally:
            exe.write_bytes(original)

    def test_the_bytes_depend_on_the_version_the_commit_and_its_time_alone(self):
        with tempfile.TemporaryDirectory(prefix="elsewhere-") as other:
            out = pathlib.Path(other) / "a" / "longer" / "path"
            out.mkdir(parents=True)
            self.assertEqual(hashlib.sha256(pack(out).read_bytes()).hexdigest(),
                             hashlib.sha256(self.written).hexdigest())
        self.assertEqual(self.doc["creationInfo"]["created"], "2026-12-07T00:00:00Z")
        self.assertTrue(self.doc["documentNamespace"].endswith(
            f"/HotKeys-{self.doc['packages'][0]['versionInfo']}-{COMMIT}"))


if __name__ == "__main__":
    unittest.main()
