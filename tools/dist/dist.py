#!/usr/bin/env python3
"""Release archives of both programs, built from the committed sources, byte for byte the same
wherever and whenever they are built.

    dist.py build REPO   writes REPO/dist: a zip per program (the exe, README.txt, LICENSE.txt
                         and the notices of what the exe links), their unpacked contents, the
                         bill of materials (HotKeys-<version>.spdx.json), BUILDINFO (what made
                         the bytes) and SHA256SUMS
    dist.py check REPO   builds twice, in two clones at different paths, and compares the sums

Every time stamp comes from the last commit (SOURCE_DATE_EPOCH): the linker writes it into the PE
header and the zip entries carry it. Compiled paths are mapped away (cmake/Release.cmake) and the
zip entries have a fixed order and fixed permissions. BUILDINFO names the commit, its time and
the Debian packages of the tools (tools/dist/buildinfo.py), nothing of where or when it was built.
"""

import hashlib
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

import check_sbom
import sbom
from buildinfo import buildinfo

PROGRAMS = (("win32", "32-bit Windows (it runs on 64-bit Windows too)"),
            ("win64", "64-bit Windows"))
ENTRY_MODE = 0o100644  # a regular file, readable by all


def git(repo, *args):
    return subprocess.run(["git", "-C", str(repo), *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def export_sources(repo, target):
    """The committed tree of HEAD, without whatever the working tree adds or changes."""
    shutil.rmtree(target, ignore_errors=True)
    target.mkdir(parents=True)
    archive = subprocess.run(["git", "-C", str(repo), "archive", "--format=tar", "HEAD"],
                             check=True, capture_output=True).stdout
    subprocess.run(["tar", "-x", "-C", str(target)], input=archive, check=True)


def build(sources, preset, epoch):
    """The build tree of a preset: HotKeys.exe, release.json, and the notices of what the exe
    links (THIRD-PARTY-NOTICES.txt, third-party.json, from HotKeys.map)."""
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    for command in (["cmake", "--preset", preset],
                    ["cmake", "--build", "--preset", preset, "--target", "HotKeys", "notices"]):
        subprocess.run(command, cwd=sources, env=env, check=True, stdout=subprocess.DEVNULL)
    return sources / "build" / preset


def readme(template, release, arch, platform, libraries):
    pages = "\n".join(f"      {page}" for page in release["pages"].values())
    names = [library["name"] for library in libraries]
    text = (template.replace("@VERSION@", release["version"]).replace("@ARCH@", arch)
            .replace("@PLATFORM@", platform).replace("@PAGES@", pages)
            .replace("@LICENSE@", release["license"])
            .replace("@LIBRARIES@", ", ".join(names[:-1]) + " and " + names[-1]))
    return windows_text(text)


def windows_text(text):
    """A text file as Notepad expects it, with CRLF line ends."""
    return text.replace("\n", "\r\n").encode("utf-8")


def write_zip(path, files, epoch):
    """A zip whose bytes depend only on the files' contents and the commit's time."""
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip cannot date before 1980
    with zipfile.ZipFile(path, "w") as archive:
        for name, data in files:
            entry = zipfile.ZipInfo(name, stamp)
            entry.create_system = 3
            entry.external_attr = ENTRY_MODE << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(entry, data, compresslevel=9)


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def bill_name(release):
    return f"HotKeys-{release['version']}.spdx.json"


def package(out, sources, trees, epoch, commit):
    """The zip of each build tree [(arch, platform, tree)], its contents unpacked beside it, and
    the bill of materials of both; returns the names for SHA256SUMS."""
    template = (sources / "tools" / "dist" / "README.txt.in").read_text()
    license_text = windows_text((sources / "LICENSE").read_text())
    names, document = [], None
    for arch, platform, tree in trees:
        release = json.loads((tree / "release.json").read_text())
        name = f"HotKeys-{release['version']}-{arch}"
        exe = (tree / "HotKeys.exe").read_bytes()
        libraries = json.loads((tree / "third-party.json").read_text())
        files = [("HotKeys.exe", exe),
                 ("README.txt", readme(template, release, arch, platform, libraries)),
                 ("LICENSE.txt", license_text),
                 ("THIRD-PARTY-NOTICES.txt",
                  windows_text((tree / "THIRD-PARTY-NOTICES.txt").read_text()))]
        unpacked = out / name
        unpacked.mkdir()
        for file_name, data in files:
            (unpacked / file_name).write_bytes(data)
        write_zip(out / f"{name}.zip", files, epoch)
        document = document or sbom.Document(release, commit, epoch)
        document.add_program(arch, platform, f"{name}.zip", (out / f"{name}.zip").read_bytes(),
                             f"{name}/HotKeys.exe", exe, libraries)
        names += [f"{name}.zip", f"{name}/HotKeys.exe"]
        print(f"{name}: version {release['version']}, link pages embedded:")
        for label, page in release["pages"].items():
            print(f"  {label}: {page}")
    bill = bill_name(release)
    (out / bill).write_text(json.dumps(document.spdx, indent=2, ensure_ascii=False) + "\n")
    return names + [bill], release


def make_dist(repo):
    repo = pathlib.Path(repo).resolve()
    epoch = int(git(repo, "log", "-1", "--format=%ct"))
    commit = git(repo, "rev-parse", "HEAD")
    sources = repo / "build" / "dist" / "src"
    export_sources(repo, sources)
    out = repo / "dist"
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir()
    trees = [(arch, platform, build(sources, arch, epoch)) for arch, platform in PROGRAMS]
    sums, release = package(out, sources, trees, epoch, commit)
    (out / "BUILDINFO").write_text(buildinfo(commit, epoch, release["version"]))
    sums.append("BUILDINFO")
    lines = "".join(f"{sha256(out / file)}  {file}\n" for file in sorted(sums))
    (out / "SHA256SUMS").write_text(lines)
    print(f"built from {commit} (SOURCE_DATE_EPOCH={epoch}) in {out}:")
    print(lines, end="")
    subprocess.run(["sha256sum", "--quiet", "-c", "SHA256SUMS"], cwd=out, check=True)
    check_sbom.check(out, {arch: tree / "HotKeys.map" for arch, _, tree in trees})
    print(f"{bill_name(release)} matches the zips, the exes and their link maps")
    return lines


def check(repo):
    """Two `make dist` runs, in two clones at paths of different lengths, must agree."""
    repo = pathlib.Path(repo).resolve()
    commit = git(repo, "rev-parse", "HEAD")  # both clones build it, whatever is committed meanwhile
    with tempfile.TemporaryDirectory(prefix="hotkeys-dist-check-") as work:
        results = []
        for path in ("a/x", "bb/second-clone"):
            clone = pathlib.Path(work) / path
            subprocess.run(["git", "clone", "-q", str(repo), str(clone)], check=True)
            git(clone, "checkout", "-q", commit)
            subprocess.run(["make", "-C", str(clone), "dist"], check=True)
            results.append((clone / "dist" / "SHA256SUMS").read_text())
        if results[0] != results[1]:
            print("the two builds differ:\n" + results[0] + "---\n" + results[1])
            return 1
    print("both builds gave the same bytes:\n" + results[0], end="")
    return 0


def main():
    command, repo = sys.argv[1], sys.argv[2]
    if command == "build":
        make_dist(repo)
        return 0
    if command == "check":
        return check(repo)
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main())
