"""Release archives of both programs, built from the committed sources, byte for byte the same
wherever and whenever they are built: a zip per program (the exe, README.txt, LICENSE.txt and the
notices of what the exe links), their unpacked contents, the bill of materials
(HotKeys-<version>.spdx.json), BUILDINFO (what made the bytes) and SHA256SUMS; with the detached
signatures of a signed release attached and published beside them; and, given the address they
will be published at, the manifests of Windows' package managers.

Every time stamp comes from the last commit (SOURCE_DATE_EPOCH): the linker writes it into the PE
header and the zip entries carry it. Compiled paths are mapped away (cmake/Release.cmake) and the
zip entries have a fixed order and fixed permissions. BUILDINFO names the commit, its time and
the Debian packages of the tools (buildinfo.py), nothing of where or when it was built.
"""

import contextlib
import fcntl
import hashlib
import json
import os
import pathlib
import re
import shutil
import subprocess
import tempfile
import time
import zipfile

from . import Refused, authenticode, check_manifests, check_sbom, manifests, names, notices, sbom
from .buildinfo import buildinfo

PROGRAMS = (("win32", "32-bit Windows (it runs on 64-bit Windows too)"),
            ("win64", "64-bit Windows"))
ENTRY_MODE = 0o100644  # a regular file, readable by all
# The release's files and folders, readable by all and writable by their owner alone, whatever
# the umask of the releaser.
FILE_MODE, FOLDER_MODE = 0o644, 0o755


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
    """Builds a preset's HotKeys.exe, with its link map HotKeys.map and release.json beside it."""
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    for command in (["cmake", "--preset", preset],
                    ["cmake", "--build", "--preset", preset, "--target", "HotKeys"]):
        subprocess.run(command, cwd=sources, env=env, check=True, stdout=subprocess.DEVNULL)


def linked_libraries(tree, version):
    """The libraries linked into the tree's HotKeys.exe, with their notices, read from its link
    map with the objdump of the toolchain that linked it."""
    cache = (tree / "CMakeCache.txt").read_text()
    objdump = re.search(r"^CMAKE_OBJDUMP:FILEPATH=(.+)$", cache, re.M).group(1)
    libraries = notices.components((tree / "HotKeys.map").read_text(), objdump)
    return libraries, notices.notices_text(version, libraries)


def readme(template, release, arch, platform, libraries):
    pages = "\n".join(f"      {page}" for page in release["pages"].values())
    linked = [library["name"] for library in libraries]
    text = (template.replace("@VERSION@", release["version"]).replace("@ARCH@", arch)
            .replace("@PLATFORM@", platform).replace("@PAGES@", pages)
            .replace("@LICENSE@", release["license"])
            .replace("@LIBRARIES@", ", ".join(linked[:-1]) + " and " + linked[-1]))
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


def program(tree, out, version, arch, signatures, authorities):
    """The tree's HotKeys.exe as released: signed when `signatures` holds its signature, which
    is then published beside the zips."""
    if signatures is None:
        return (tree / "HotKeys.exe").read_bytes()
    signature = pathlib.Path(signatures) / names.signature(version, arch)
    if not signature.is_file():
        raise Refused(f"{signatures} holds no {signature.name}")
    shutil.copyfile(signature, out / signature.name)
    return authenticode.attach(tree / "HotKeys.exe", signature, authorities)


def package(out, sources, trees, epoch, commit, signatures=None, authorities=None):
    """The zip of each build tree [(arch, platform, tree)], its contents unpacked beside it, and
    the bill of materials of both; with `signatures`, each exe signed and its signature beside
    the zips. Returns the names for SHA256SUMS, and the release."""
    template = (sources / "tools" / "dist" / "README.txt.in").read_text()
    license_text = windows_text((sources / "LICENSE").read_text())
    files_to_sum, document = [], None
    for arch, platform, tree in trees:
        release = json.loads((tree / "release.json").read_text())
        name = names.stem(release["version"], arch)
        exe = program(tree, out, release["version"], arch, signatures, authorities)
        libraries, notices_text = linked_libraries(tree, release["version"])
        files = [(names.EXE, exe),
                 ("README.txt", readme(template, release, arch, platform, libraries)),
                 ("LICENSE.txt", license_text),
                 ("THIRD-PARTY-NOTICES.txt", windows_text(notices_text))]
        unpacked = out / name
        unpacked.mkdir()
        for file_name, data in files:
            (unpacked / file_name).write_bytes(data)
        write_zip(out / f"{name}.zip", files, epoch)
        document = document or sbom.Document(release, commit, epoch)
        document.add_program(arch, platform, f"{name}.zip", (out / f"{name}.zip").read_bytes(),
                             f"{name}/{names.EXE}", exe, libraries)
        files_to_sum += [f"{name}.zip", f"{name}/{names.EXE}"]
        if signatures is not None:
            files_to_sum.append(names.signature(release["version"], arch))
        print(f"{name}: version {release['version']}, link pages embedded:")
        for label, page in release["pages"].items():
            print(f"  {label}: {page}")
    bill = names.bill(release["version"])
    (out / bill).write_text(json.dumps(document.spdx, indent=2, ensure_ascii=False) + "\n")
    return files_to_sum + [bill], release


def settle_modes(out):
    """Gives every file and folder of the release in `out` the release's mode."""
    out.chmod(FOLDER_MODE)
    for folder, folders, files in os.walk(out):
        for name in folders:
            os.chmod(os.path.join(folder, name), FOLDER_MODE)
        for name in files:
            os.chmod(os.path.join(folder, name), FILE_MODE)


def release_files(out, sources, trees, epoch, commit, signatures=None, authorities=None,
                  release_url=None, shown=None):
    """Everything a release publishes, in `out`, each part read back against the others; the
    package managers' manifests when the address of the release is given. What it prints names
    the folder `shown`, where the release will be (`out` itself by default)."""
    shown = shown or out
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    files_to_sum, release = package(out, sources, trees, epoch, commit, signatures, authorities)
    (out / "BUILDINFO").write_text(buildinfo(commit, epoch, release["version"]))
    files_to_sum.append("BUILDINFO")
    lines = "".join(f"{sha256(out / file)}  {file}\n" for file in sorted(files_to_sum))
    (out / names.SUMS).write_text(lines)
    print(f"built from {commit} (SOURCE_DATE_EPOCH={epoch}) in {shown}:")
    print(lines, end="")
    check_sums(out, shown)
    check_sbom.check(out, {arch: tree / "HotKeys.map" for arch, _, tree in trees})
    print(f"{names.bill(release['version'])} matches the zips, the exes and their link maps")
    if release_url:
        manifests.write(out, release, release_url)
        faults = check_manifests.faults_of(out)
        if faults:
            raise Refused("the manifests do not match the release:\n  " + "\n  ".join(faults))
        print(f"winget and Scoop manifests of {release_url} in {shown}/winget and "
              f"{shown}/scoop")
    settle_modes(out)


def check_sums(out, shown=None):
    result = subprocess.run(["sha256sum", "--quiet", "-c", names.SUMS], cwd=out,
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise Refused(f"{result.stdout.rstrip()}\n{shown or out}/{names.SUMS} does not match "
                      "its files (above)")


def trees_of(sources):
    """[(arch, platform, build tree)] of both programs, built by `make dist` in `sources`."""
    return [(arch, platform, sources / "build" / arch) for arch, platform in PROGRAMS]


@contextlib.contextmanager
def locked(out, command):
    """Holds the folder `out` lies in, for one `make dist` or `make sign` at a time: one
    would pack the release again from build trees the other is rebuilding, or replace what the
    other just wrote. The second is refused rather than kept waiting: it would then sign or
    overwrite a release other than the one its releaser saw."""
    lock = os.open(out.parent, os.O_RDONLY | os.O_CLOEXEC)
    try:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            raise Refused(f"another `make dist` or `make sign` is writing {out.name}/ in "
                          f"{out.parent}: run `make {command}` again once it has finished") \
                from None
        yield
    finally:
        os.close(lock)


def make_dist(repo, signatures=None, authorities=None, release_url=None):
    repo = pathlib.Path(repo).resolve()
    with locked(repo / "dist", "dist"):
        epoch = int(git(repo, "log", "-1", "--format=%ct"))
        commit = git(repo, "rev-parse", "HEAD")
        sources = repo / "build" / "dist" / "src"
        export_sources(repo, sources)
        for arch, _ in PROGRAMS:
            build(sources, arch, epoch)
        release_files(repo / "dist", sources, trees_of(sources), epoch, commit, signatures,
                      authorities, release_url)
def published_sums(out):
    """SHA256SUMS, and the sums of the package managers' manifests, which it leaves out."""
    manifests_written = sorted(path for folder in ("winget", "scoop")
                               for path in (out / folder).iterdir())
    return (out / names.SUMS).read_text() + "".join(
        f"{sha256(path)}  {path.relative_to(out)}\n" for path in manifests_written)


def check(repo):
    """Two `make dist` runs, in two clones at paths of different lengths, must agree, manifests
    included (written for an address in the reserved domain of the link pages)."""
    repo = pathlib.Path(repo).resolve()
    commit = git(repo, "rev-parse", "HEAD")  # both clones build it, whatever is committed meanwhile
    with tempfile.TemporaryDirectory(prefix="hotkeys-dist-check-") as work:
        results = []
        for path in ("a/x", "bb/second-clone"):
            clone = pathlib.Path(work) / path
            subprocess.run(["git", "clone", "-q", str(repo), str(clone)], check=True)
            git(clone, "checkout", "-q", commit)
            subprocess.run(["make", "-C", str(clone), "dist",
                            "RELEASE_URL=https://hotkeys.example/download"], check=True)
            results.append(published_sums(clone / "dist"))
        if results[0] != results[1]:
            print("the two builds differ:\n" + results[0] + "---\n" + results[1])
            return 1
    print("both builds gave the same bytes:\n" + results[0], end="")
    return 0
