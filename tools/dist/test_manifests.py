"""The winget and Scoop manifests of a release packed from both programs' builds, read back:
they pass the check as written, the check finds each fault a wrong manifest could have, and
their bytes depend on the release alone."""
import json
import pathlib
import tempfile
import unittest

import yaml

from built_trees import release, version
from release import check_manifests

VERSION_NUMBER = version()
RELEASE_URL = f"https://hotkeys.example/download/{VERSION_NUMBER}/"
INSTALLER = "winget/HotKeys.HotKeys.installer.yaml"
LOCALE = "winget/HotKeys.HotKeys.locale.en-US.yaml"
VERSION = "winget/HotKeys.HotKeys.yaml"
SCOOP = "scoop/hotkeys.json"


def installer(manifest, architecture):
    return next(i for i in manifest["Installers"] if i["Architecture"] == architecture)


# Each: the file, how it is broken, and what the check says.
FAULTS = {
    "a hash of another file": (INSTALLER, lambda m: installer(m, "x64").update(
        InstallerSha256="0" * 64),
        f"InstallerSha256 is not HotKeys-{VERSION_NUMBER}-win64.zip's line"),
    "an address of another zip": (INSTALLER, lambda m: installer(m, "x86").update(
        InstallerUrl=installer(m, "x64")["InstallerUrl"]), "does not end in its zip's name"),
    "an old manifest version": (VERSION, lambda m: m.update(ManifestVersion="1.5.0"),
                                "1.6.0 or later"),
    "an exe installer": (INSTALLER, lambda m: m.update(InstallerType="exe"),
                         "not a zip holding a portable program"),
    "an installer type winget lacks": (INSTALLER, lambda m: m.update(NestedInstallerType="tar"),
                                       "none of winget's"),
    "another nested file": (INSTALLER, lambda m: m["NestedInstallerFiles"][0].update(
        RelativeFilePath="bin/HotKeys.exe"), "the nested file is not HotKeys.exe"),
    "no command alias": (INSTALLER, lambda m: m["NestedInstallerFiles"][0].pop(
        "PortableCommandAlias"), "under a command alias"),
    "one architecture only": (INSTALLER, lambda m: m["Installers"].pop(),
                              "not one x86 and one x64"),
    "no publisher": (LOCALE, lambda m: m.pop("Publisher"), "lacks Publisher"),
    "a licence too short": (LOCALE, lambda m: m.update(License="M"), "3 to 512"),
    "a licence address that is none": (LOCALE, lambda m: m.update(LicenseUrl="LICENSE.txt"),
                                       "LicenseUrl 'LICENSE.txt' is no http"),
    "an identifier without its publisher": (VERSION, lambda m: m.update(
        PackageIdentifier="HotKeys"), "is not Publisher.Package"),
    "another version": (LOCALE, lambda m: m.update(PackageVersion=VERSION_NUMBER + ".1"),
                        "the manifests differ in PackageVersion"),
    "a default locale without its manifest": (VERSION, lambda m: m.update(DefaultLocale="de-DE"),
                                              "no manifest of the default locale"),
    "a Scoop hash of another file": (SCOOP, lambda m: m["architecture"]["32bit"].update(
        hash="0" * 64), f"the 32bit hash is not HotKeys-{VERSION_NUMBER}-win32.zip's"),
    "a Scoop address of another zip": (SCOOP, lambda m: m["architecture"]["64bit"].update(
        url=m["architecture"]["32bit"]["url"]), "the 64bit url does not end"),
    "a licence that is no SPDX identifier": (SCOOP, lambda m: m.update(license="Expat"),
                                             "'Expat' is no SPDX identifier"),
    "no shortcut": (SCOOP, lambda m: m.pop("shortcuts"), "lacks shortcuts"),
    "a shortcut to a file the zip lacks": (SCOOP, lambda m: m.update(
        shortcuts=[["hotkeys.exe", "HotKeys"]]), "a shortcut starts a file"),
    "an update address without the version": (SCOOP, lambda m: m["autoupdate"]["architecture"][
        "64bit"].update(url=m["architecture"]["64bit"]["url"]), "address does not give"),
    "update hashes from elsewhere": (SCOOP, lambda m: m["autoupdate"]["hash"].update(
        url="$baseurl/SHA512SUMS"), "do not come from the SHA256SUMS beside the zip"),
    "an update hash of the exe": (SCOOP, lambda m: m["autoupdate"]["hash"].update(
        regex=rf"$sha256\s+HotKeys-{VERSION_NUMBER}-win64/HotKeys.exe"), "found in SHA256SUMS"),
    "a checkver that misses the version": (SCOOP, lambda m: m["checkver"].update(
        regex=r"HotKeys-(\d+)\.zip"), "checkver does not find the version"),
}


def load(path):
    return json.loads(path.read_text()) if path.suffix == ".json" else \
        yaml.safe_load(path.read_text())


def dump(path, manifest):
    path.write_text(json.dumps(manifest) if path.suffix == ".json" else yaml.safe_dump(manifest))


class PackageManifests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.TemporaryDirectory(prefix="hotkeys-manifests-")
        cls.out = release(pathlib.Path(cls.directory.name) / "dist", release_url=RELEASE_URL)

    @classmethod
    def tearDownClass(cls):
        cls.directory.cleanup()

    def test_the_manifests_match_the_release_they_were_written_with(self):
        self.assertEqual(check_manifests.faults_of(self.out), [])
        self.assertEqual(sorted(p.name for p in (self.out / "winget").iterdir()),
                         ["HotKeys.HotKeys.installer.yaml", "HotKeys.HotKeys.locale.en-US.yaml",
                          "HotKeys.HotKeys.yaml"])

    def test_each_fault_of_a_manifest_is_found(self):
        for name, (file, change, reported) in FAULTS.items():
            path = self.out / file
            written = path.read_text()
            manifest = load(path)
            change(manifest)
            dump(path, manifest)
            try:
                faults = check_manifests.faults_of(self.out)
            finally:
                path.write_text(written)
            with self.subTest(name):
                self.assertTrue(any(reported in fault for fault in faults), faults)

    def test_the_bytes_depend_on_the_release_alone(self):
        with tempfile.TemporaryDirectory(prefix="elsewhere-") as other:
            out = release(pathlib.Path(other) / "a" / "longer" / "path", release_url=RELEASE_URL)
            for file in (INSTALLER, LOCALE, VERSION, SCOOP):
                with self.subTest(file):
                    self.assertEqual((out / file).read_bytes(), (self.out / file).read_bytes())


if __name__ == "__main__":
    unittest.main()
