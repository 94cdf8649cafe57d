"""Reads the winget and Scoop manifests back against the release they install: the fields each
format's documentation requires, with their allowed values; every hash equal to its zip's line
in SHA256SUMS; every address ending in its zip's name; the file they start inside the zip; and
Scoop's autoupdate, run over this release's own SHA256SUMS, finding the same hashes."""

import json
import re
import zipfile

import yaml

from . import check_sbom, manifests, names

# Patterns of winget's manifest documentation (schema 1.6).
PART = r'[^.\s\\/:*?"<>|\x01-\x1f]{1,32}'
IDENTIFIER = re.compile(rf"^{PART}(\.{PART}){{1,7}}$")
VERSION = re.compile(r'^[^\\/:*?"<>|\x01-\x1f]{1,128}$')
LOCALE = re.compile(r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$")
URL = re.compile(r"^[Hh][Tt][Tt][Pp][Ss]?://.+$")
SHA256 = re.compile(r"^[A-Fa-f0-9]{64}$")
MANIFEST_VERSION = re.compile(r"^(\d{1,5})\.(\d{1,5})\.(\d{1,5})$")
ARCHITECTURES = {"x86", "x64", "arm", "arm64", "neutral"}
INSTALLER_TYPES = {"msix", "msi", "appx", "exe", "zip", "inno", "nullsoft", "wix", "burn", "pwa",
                   "portable"}
NESTED_INSTALLER_TYPES = INSTALLER_TYPES - {"zip", "pwa"}
REQUIRED = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale"],
    "installer": ["PackageIdentifier", "PackageVersion", "Installers"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher",
                      "PackageName", "License", "ShortDescription"],
}
LENGTHS = {"Publisher": (2, 256), "PackageName": (2, 256), "License": (3, 512),
           "ShortDescription": (3, 256), "PortableCommandAlias": (1, 40),
           "RelativeFilePath": (1, 512)}
URL_FIELDS = ("InstallerUrl", "PublisherUrl", "PackageUrl", "LicenseUrl")


class Release:
    """What the manifests must agree with: the version, the zips' hashes and their contents."""

    def __init__(self, out):
        self.out = out
        self.sums = names.read_sums(out)
        self.zips = {name: digest for name, digest in self.sums.items() if name.endswith(".zip")}
        self.version = re.match(r"^HotKeys-(.+)-win(32|64)\.zip$", min(self.zips)).group(1)

    def zip_of(self, url):
        """The release's zip whose name the address ends in, or None."""
        return next((name for name in self.zips if url.endswith("/" + name)), None)

    def holds(self, zip_name, member):
        with zipfile.ZipFile(self.out / zip_name) as archive:
            return member in archive.namelist()


def field_faults(where, fields):
    faults = []
    for field, value in fields.items():
        if field in LENGTHS and not LENGTHS[field][0] <= len(str(value)) <= LENGTHS[field][1]:
            faults.append(f"{where}: {field} is not {LENGTHS[field][0]} to "
                          f"{LENGTHS[field][1]} characters long")
        if field in URL_FIELDS and not (URL.match(str(value)) and len(value) <= 2048):
            faults.append(f"{where}: {field} {value!r} is no http or https address")
    return faults


def manifest_faults(name, manifest, manifest_type):
    faults = [f"{name}: lacks {field}" for field in
              REQUIRED[manifest_type] + ["ManifestType", "ManifestVersion"]
              if manifest.get(field) in (None, "", [])]
    if manifest.get("ManifestType") != manifest_type:
        faults.append(f"{name}: ManifestType is {manifest.get('ManifestType')!r}, not "
                      f"{manifest_type!r}")
    numbers = MANIFEST_VERSION.match(str(manifest.get("ManifestVersion", "")))
    if not numbers or any(int(n) > 65535 for n in numbers.groups()) or \
            tuple(map(int, numbers.groups())) < (1, 6, 0):
        faults.append(f"{name}: ManifestVersion {manifest.get('ManifestVersion')!r} is not "
                      "1.6.0 or later")
    if not IDENTIFIER.match(str(manifest.get("PackageIdentifier", ""))):
        faults.append(f"{name}: PackageIdentifier {manifest.get('PackageIdentifier')!r} is not "
                      "Publisher.Package")
    if not VERSION.match(str(manifest.get("PackageVersion", ""))):
        faults.append(f"{name}: PackageVersion {manifest.get('PackageVersion')!r} is not allowed")
    for field in ("DefaultLocale", "PackageLocale"):
        if field in manifest and not LOCALE.match(str(manifest[field])):
            faults.append(f"{name}: {field} {manifest[field]!r} is no locale")
    return faults + field_faults(name, manifest)


def installer_faults(name, manifest, release):
    faults = []
    if manifest.get("InstallerType") != "zip" or \
            manifest.get("NestedInstallerType") != "portable":
        faults.append(f"{name}: the installer is not a zip holding a portable program")
    for field, allowed in (("InstallerType", INSTALLER_TYPES),
                           ("NestedInstallerType", NESTED_INSTALLER_TYPES)):
        if field in manifest and manifest[field] not in allowed:
            faults.append(f"{name}: {field} {manifest[field]!r} is none of winget's")
    nested = manifest.get("NestedInstallerFiles") or []
    if [file.get("RelativeFilePath") for file in nested] != [names.EXE] or \
            not nested[0].get("PortableCommandAlias"):
        faults.append(f"{name}: the nested file is not {names.EXE} under a command alias")
    for file in nested:
        faults += field_faults(name, file)
    architectures = []
    for installer in manifest.get("Installers") or []:
        architecture = installer.get("Architecture")
        architectures.append(architecture)
        where = f"{name}: the {architecture} installer"
        if architecture not in ARCHITECTURES:
            faults.append(f"{where}: {architecture!r} is none of winget's architectures")
        url, digest = installer.get("InstallerUrl", ""), str(installer.get("InstallerSha256"))
        faults += field_faults(where, installer)
        zip_name = release.zip_of(url)
        expected = {"x64": "win64", "x86": "win32"}.get(architecture)
        if zip_name is None or not zip_name.endswith(f"-{expected}.zip"):
            faults.append(f"{where}: {url!r} does not end in its zip's name")
        elif not SHA256.match(digest) or digest.lower() != release.zips[zip_name]:
            faults.append(f"{where}: InstallerSha256 is not {zip_name}'s line in SHA256SUMS")
        elif not release.holds(zip_name, names.EXE):
            faults.append(f"{where}: {zip_name} holds no {names.EXE}")
    if sorted(architectures) != ["x64", "x86"]:
        faults.append(f"{name}: the installers are {architectures}, not one x86 and one x64")
    return faults


def winget_faults(folder, release):
    identifier = manifests.PACKAGE_IDENTIFIER
    files = {f"{identifier}.yaml": "version", f"{identifier}.installer.yaml": "installer"}
    locales = sorted(folder.glob(f"{identifier}.locale.*.yaml"))
    files.update({path.name: "defaultLocale" for path in locales})
    found = {path.name for path in folder.glob("*.yaml")}
    faults = [f"winget: {name} is missing" for name in sorted(set(files) - found)]
    faults += [f"winget: {name} belongs to no manifest set" for name in sorted(found - set(files))]
    loaded = {name: yaml.safe_load((folder / name).read_text())
              for name in sorted(set(files) & found)}
    for name, manifest in loaded.items():
        faults += manifest_faults(name, manifest, files[name])
        if manifest.get("PackageVersion") != release.version:
            faults.append(f"{name}: PackageVersion is not the release's {release.version}")
        if files[name] == "installer":
            faults += installer_faults(name, manifest, release)
    for field in ("PackageIdentifier", "PackageVersion", "ManifestVersion"):
        if len({str(manifest.get(field)) for manifest in loaded.values()}) > 1:
            faults.append(f"winget: the manifests differ in {field}")
    default = loaded.get(f"{identifier}.yaml", {}).get("DefaultLocale")
    if f"{identifier}.locale.{default}.yaml" not in loaded:
        faults.append(f"winget: no manifest of the default locale {default!r}")
    return faults


def scoop_autoupdate_faults(manifest, release, scoop_arch):
    """Scoop's autoupdate for this same version must come back to this release's zips."""
    current = manifest["architecture"][scoop_arch]["url"]
    autoupdate = manifest.get("autoupdate", {})
    template = autoupdate.get("architecture", {}).get(scoop_arch, {}).get("url", "")
    where = f"scoop: autoupdate's {scoop_arch}"
    if template.replace("$version", release.version) != current or "$version" not in template:
        return [f"{where} address does not give {current} for version {release.version}"]
    hashes = autoupdate.get("hash", {})
    base = current.rpartition("/")[0]
    if hashes.get("url", "").replace("$baseurl", base) != f"{base}/{names.SUMS}":
        return [f"{where} hashes do not come from the SHA256SUMS beside the zip"]
    zip_name = current.rpartition("/")[2]
    pattern = (hashes.get("regex", "").replace("$sha256", "([a-fA-F0-9]{64})")
               .replace("$basename", re.escape(zip_name)))
    found = re.findall(pattern, (release.out / names.SUMS).read_text()) if pattern else []
    if found != [release.zips.get(zip_name)]:
        return [f"{where} hash, found in SHA256SUMS, is {found}, not {zip_name}'s"]
    return []


def scoop_faults(path, release):
    if not path.exists():
        return [f"scoop: {path.name} is missing"]
    manifest = json.loads(path.read_text())
    faults = [f"scoop: lacks {field}" for field in
              ("version", "description", "homepage", "license", "architecture", "shortcuts",
               "checkver", "autoupdate") if not manifest.get(field)]
    if faults:
        return faults
    if manifest["version"] != release.version:
        faults.append(f"scoop: version is not the release's {release.version}")
    if not URL.match(manifest["homepage"]):
        faults.append(f"scoop: homepage {manifest['homepage']!r} is no http or https address")
    license_id = manifest["license"]
    license_id = license_id.get("identifier") if isinstance(license_id, dict) else license_id
    if license_id not in json.loads(check_sbom.LICENSE_IDS.read_text()):
        faults.append(f"scoop: the licence {license_id!r} is no SPDX identifier")
    for arch, (_, scoop_arch) in sorted(manifests.ARCHITECTURES.items()):
        entry = manifest["architecture"].get(scoop_arch, {})
        zip_name = release.zip_of(entry.get("url", ""))
        if zip_name is None or not zip_name.endswith(f"-{arch}.zip"):
            faults.append(f"scoop: the {scoop_arch} url does not end in its zip's name")
            continue
        if str(entry.get("hash", "")).removeprefix("sha256:").lower() != release.zips[zip_name]:
            faults.append(f"scoop: the {scoop_arch} hash is not {zip_name}'s line in SHA256SUMS")
        if not all(release.holds(zip_name, shortcut[0]) for shortcut in manifest["shortcuts"]):
            faults.append(f"scoop: a shortcut starts a file that {zip_name} does not hold")
        faults += scoop_autoupdate_faults(manifest, release, scoop_arch)
    checkver = manifest["checkver"]
    found = re.search(checkver.get("regex", "$^"), f"{names.stem(release.version, 'win64')}.zip")
    if not URL.match(checkver.get("url", "")) or not found or found.group(1) != release.version:
        faults.append("scoop: checkver does not find the version in the zip's name")
    return faults


def faults_of(out):
    release = Release(out)
    return (winget_faults(out / "winget", release) +
            scoop_faults(out / "scoop" / manifests.SCOOP_NAME, release))
