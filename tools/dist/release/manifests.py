"""The manifests with which Windows' package managers install a release from where it is
published: a winget manifest set (manifest version 1.6) and a Scoop manifest. Each installs the
zip of each architecture at the SHA-256 that SHA256SUMS gives it; they are written as data, with
Debian's YAML and JSON libraries."""

import json

import yaml

from . import names, sbom

PACKAGE_IDENTIFIER = "HotKeys.HotKeys"
COMMAND_ALIAS = "hotkeys"
WINGET_VERSION = "1.6.0"
LOCALE = "en-US"
SCOOP_NAME = "hotkeys.json"
DESCRIPTION = ("A small widget that sends F1-F12 and the digits 1-5, pressed anywhere, to two "
               "windows bound with Alt+N and Alt+M")
ARCHITECTURES = {"win64": ("x64", "64bit"), "win32": ("x86", "32bit")}  # winget's, Scoop's


def address(release_url, name):
    return f"{release_url.rstrip('/')}/{name}"


def license_url(release):
    return f"https://spdx.org/licenses/{release['license']}.html"


def winget_files(release, sums, release_url):
    """{file name: manifest} of the version, installer and default-locale manifests."""
    version = release["version"]
    common = {"PackageIdentifier": PACKAGE_IDENTIFIER, "PackageVersion": version}
    installers = [{"Architecture": architecture,
                   "InstallerUrl": address(release_url, f"{names.stem(version, arch)}.zip"),
                   "InstallerSha256": sums[f"{names.stem(version, arch)}.zip"].upper()}
                  for arch, (architecture, _) in sorted(ARCHITECTURES.items())]
    return {
        f"{PACKAGE_IDENTIFIER}.yaml": ("version", {
            **common, "DefaultLocale": LOCALE}),
        f"{PACKAGE_IDENTIFIER}.installer.yaml": ("installer", {
            **common,
            "InstallerType": "zip",
            "NestedInstallerType": "portable",
            "NestedInstallerFiles": [{"RelativeFilePath": names.EXE,
                                      "PortableCommandAlias": COMMAND_ALIAS}],
            "Installers": installers}),
        f"{PACKAGE_IDENTIFIER}.locale.{LOCALE}.yaml": ("defaultLocale", {
            **common,
            "PackageLocale": LOCALE,
            "Publisher": sbom.copyright_holder(release),
            "PublisherUrl": release["pages"]["Label5"],
            "PackageName": "HotKeys",
            "PackageUrl": release["pages"]["Label4"],
            "License": release["license"],
            "LicenseUrl": license_url(release),
            "Copyright": release["copyright"],
            "ShortDescription": DESCRIPTION}),
    }


def winget_text(manifest_type, fields):
    schema = f"https://aka.ms/winget-manifest.{manifest_type}.{WINGET_VERSION}.schema.json"
    body = {**fields, "ManifestType": manifest_type, "ManifestVersion": WINGET_VERSION}
    # The comment lets editors check the file against its schema, as winget's own tools do.
    return (f"# yaml-language-server: $schema={schema}\n" +
            yaml.safe_dump(body, sort_keys=False, allow_unicode=True, width=1000))


def scoop(release, sums, release_url):
    """The Scoop manifest. Its autoupdate takes the next release's hashes from that release's
    SHA256SUMS, published beside its zips."""
    version = release["version"]
    architecture, autoupdate = {}, {}
    for arch, (_, scoop_arch) in sorted(ARCHITECTURES.items()):
        url = address(release_url, f"{names.stem(version, arch)}.zip")
        architecture[scoop_arch] = {"url": url, "hash": sums[f"{names.stem(version, arch)}.zip"]}
        autoupdate[scoop_arch] = {"url": url.replace(version, "$version")}
    return {
        "version": version,
        "description": DESCRIPTION,
        "homepage": release["pages"]["Label4"],
        "license": {"identifier": release["license"], "url": license_url(release)},
        "architecture": architecture,
        "shortcuts": [[names.EXE, "HotKeys"]],
        # The home page links the newest zips by name.
        "checkver": {"url": release["pages"]["Label4"],
                     "regex": r"HotKeys-([\d.]+)-win64\.zip"},
        "autoupdate": {"architecture": autoupdate,
                       "hash": {"url": f"$baseurl/{names.SUMS}",
                                "regex": r"$sha256\s+$basename"}},
    }


def release_url_of(out):
    """The address that the manifests in `out` were written for; None without manifests."""
    scoop_manifest = out / "scoop" / SCOOP_NAME
    if not scoop_manifest.is_file():
        return None
    architectures = json.loads(scoop_manifest.read_text())["architecture"]
    url = architectures[ARCHITECTURES["win64"][1]]["url"]
    return url.rsplit("/", 1)[0]


def write(out, release, release_url):
    """out/winget/ and out/scoop/, from out/SHA256SUMS."""
    sums = names.read_sums(out)
    (out / "winget").mkdir()
    for name, (manifest_type, fields) in winget_files(release, sums, release_url).items():
        (out / "winget" / name).write_text(winget_text(manifest_type, fields))
    (out / "scoop").mkdir()
    (out / "scoop" / SCOOP_NAME).write_text(
        json.dumps(scoop(release, sums, release_url), indent=4, ensure_ascii=False) + "\n")
