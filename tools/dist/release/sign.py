"""`make sign`: signs the release that `make dist` left in dist/, all or nothing, with whatever
key the maintainer holds; its inputs come from the environment (docs/releasing.md lists them).

Before any work it reads every input and checks that dist/ is a folder it may replace. It then
packs the release again from the build trees and BUILDINFO and refuses a dist/ that differs in
any file: only what `make dist` built is signed. Each HotKeys.exe is signed with osslsigncode
and only its detached signature is kept: the release is then packed again with the signatures
attached, exactly as `make dist SIGNATURES=<folder>` packs it for anyone who rebuilds.
SHA256SUMS, which then names the signatures too, is signed with minisign. All of it is made in
.dist-signing/ beside dist/ and checked there; only then does the signed release take dist/'s
place, in one step, so that a failure or a signal leaves dist/ as it was.
"""

import contextlib
import ctypes
import dataclasses
import errno
import io
import json
import os
import pathlib
import re
import shutil
import signal
import stat
import sys
import tempfile

from . import Refused, authenticode, dist, inputs, keys, manifests, names, sums_signature

AT_FDCWD, RENAME_EXCHANGE = -100, 2  # from <fcntl.h> and <linux/fs.h>
SIGNALS = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP)
MINISIG = f"{names.SUMS}.minisig"


class Stopped(Refused):
    """A signal that ended the signing before dist/ was replaced."""


class Signals:
    """SIGINT, SIGTERM and SIGHUP end the signing with Stopped, once, so that the folders it
    made are removed on the way out. Once held, from the swap or the clean-up on, they are only
    noted: dist/ may be signed already, and a clean-up cut short would leave what it removes."""

    def __init__(self, out):
        self.out, self.caught, self.holding = out, None, False

    def __enter__(self):
        self.previous = {number: signal.signal(number, self.arrived) for number in SIGNALS}
        return self

    def __exit__(self, *exception):
        for number, handler in self.previous.items():
            signal.signal(number, handler)

    def arrived(self, number, frame):
        first, self.caught = self.caught is None, signal.Signals(number).name
        if first and not self.holding:
            raise Stopped(f"stopped by {self.caught}: {self.out.name}/ is as it was")

    def hold(self):
        self.holding = True


@dataclasses.dataclass(frozen=True)
class Signing:
    """One run of `make sign`: the release in `out`, packed again from the build `trees` made
    out of `sources` and signed with `keys` in the folder `work`; the manifests written for
    `release_url` (None: the address of those in `out`), the sums' signature checked against
    `public_key`, the release key's published half, when there is one."""
    out: pathlib.Path
    sources: pathlib.Path
    trees: list
    keys: keys.Keys
    release_url: str | None
    public_key: pathlib.Path
    work: pathlib.Path | None = None

    @property
    def staging(self):
        return self.work / "release"


def recorded_build(out):
    """The one-line fields of the BUILDINFO of the release in `out`, refused unless they hold
    the Version, Commit and Source-Date-Epoch it is packed again from."""
    text = (out / "BUILDINFO").read_bytes().decode(errors="replace")
    build = dict(re.findall(r"^([A-Za-z-]+): (\S+)$", text, re.M))
    if not (build.get("Version") and re.fullmatch(r"[0-9a-f]{40,64}", build.get("Commit", ""))
            and re.fullmatch(r"[0-9]{1,12}", build.get("Source-Date-Epoch", ""))):
        raise Refused(f"{out.name}/BUILDINFO records no Version, Commit and Source-Date-Epoch "
                      "(seconds since 1970) that the release could be packed again from: it is "
                      "not what `make dist` wrote; run `make dist` again")
    return build


def check_replaceable(out):
    """Refuses, before any work, a dist/ that the signed release could not take the place of:
    the swap moves the folder itself, so it must be one, not a link to one, and this user must
    be able to write it and the folder it lies in."""
    if out.is_symlink():
        raise Refused(f"{out.name}/ is a symbolic link to {os.readlink(out)}: make sign replaces "
                      f"{out.name}/ itself; run `make dist` with {out.name}/ a real folder")
    if not (out / "BUILDINFO").is_file():
        raise Refused(f"{out} holds no release: run `make dist` first")
    for folder, name in ((out, f"{out.name}/"), (out.parent, f"the folder of {out.name}/")):
        if not os.access(folder, os.W_OK | os.X_OK):
            raise Refused(f"{name} is read-only for this user: make sign replaces {out.name}/ "
                          "and must write it and the folder it lies in")


def entries(folder):
    """{name: path} of everything under `folder`, links not followed; a folder's name ends in
    "/", so that an empty one counts too."""
    found = {}
    for root, folders, files in os.walk(folder):
        for name in folders + files:
            path = pathlib.Path(root, name)
            is_folder = stat.S_ISDIR(path.lstat().st_mode)
            found[path.relative_to(folder).as_posix() + "/" * is_folder] = path
    return found


def check_built(out, built):
    """Refuses, naming the first entry that differs, an `out` whose entries are not those of
    the release packed again in `built`; a signature of the sums is left out, being signed
    anew. Only regular files are read: a link, a FIFO or a device differs from any file."""
    released, expected = entries(out), entries(built)
    released.pop(MINISIG, None)
    for name in sorted(released.keys() | expected.keys()):
        if name not in expected:
            fault = "is not part of the release that `make dist` builds"
        elif name not in released:
            fault = "is missing, though `make dist` builds it"
        elif name.endswith("/"):
            continue
        elif not stat.S_ISREG(released[name].lstat().st_mode) or \
                released[name].read_bytes() != expected[name].read_bytes():
            fault = "differs from the file that `make dist` builds"
        else:
            continue
        raise Refused(f"{out.name}/{name} {fault} from the build trees and BUILDINFO: only what "
                      "`make dist` built is signed; run `make dist` again")


def pack(signing, into, signatures, release_url):
    """The release recorded in the BUILDINFO of `signing.out`, packed into `into` from its
    build trees, the detached signatures taken from `signatures`."""
    build = recorded_build(signing.out)
    dist.release_files(into, signing.sources, signing.trees, int(build["Source-Date-Epoch"]),
                       build["Commit"], signatures, signing.keys.authorities, release_url,
                       shown=signing.out)


def sign_programs(signing):
    """Signs each program of the unsigned release and packs the release signed into the
    staging folder."""
    signatures = signing.work / "signatures"
    signatures.mkdir()
    for arch, _, tree in signing.trees:
        version = json.loads((tree / "release.json").read_text())["version"]
        signature = authenticode.sign(tree / names.EXE, signing.keys.certificate,
                                      signing.keys.timestamp_url)
        (signatures / names.signature(version, arch)).write_bytes(signature)
    pack(signing, signing.staging, signatures,
         signing.release_url or manifests.release_url_of(signing.out))


def sign_sums(signing):
    """SHA256SUMS.minisig, checked against the release key's published half when there is one,
    else against the public half of the key that made it."""
    staging, key = signing.staging, signing.keys.minisign
    build = recorded_build(staging)
    sums_signature.sign(staging, key, f"HotKeys {build['Version']}, commit {build['Commit']}")
    if signing.public_key.is_file():
        if not sums_signature.verify(staging, signing.public_key):
            raise Refused(f"MINISIGN_KEY is not the release key whose public half is "
                          f"{signing.public_key}")
        return
    with tempfile.TemporaryDirectory(prefix="hotkeys-minisign-") as work:
        if not sums_signature.verify(staging, sums_signature.public_key(
                key, pathlib.Path(work) / "minisign.pub")):
            raise Refused(f"{signing.out.name}/{MINISIG} does not verify")


def check_staged(signing):
    """Every signature of the signed release verifies, and its sums match its files."""
    staging = signing.staging
    for signature in staging.glob("*.authenticode.pem"):
        authenticode.verify(staging / signature.name.removesuffix(".authenticode.pem") /
                            names.EXE, signing.keys.authorities)
    dist.check_sums(staging, signing.out)


def exchange(first, second):
    """Swaps two folders in one step (renameat2), so that no moment sees either missing."""
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.renameat2(AT_FDCWD, bytes(first), AT_FDCWD, bytes(second), RENAME_EXCHANGE) != 0:
        error = ctypes.get_errno()
        raise Refused(f"cannot replace {second.name}/: {os.strerror(error)}; it is as it was")


def warn(text):
    print(f"warning: {text}", file=sys.stderr)


def remove_tree(folder):
    """Removes `folder` and everything in it, links not followed, a folder inside that this
    user made read-only included; returns the first failure, or None."""
    def opened(path):
        with contextlib.suppress(OSError):
            os.chmod(path, 0o700)

    opened(folder)
    for root, folders, _ in os.walk(folder):
        for name in folders:
            if not os.path.islink(os.path.join(root, name)):
                opened(os.path.join(root, name))
    failures = []
    shutil.rmtree(folder, onerror=lambda *failure: failures.append(
        f"{os.path.relpath(failure[1], folder.parent)}: {failure[2][1].strerror}"))
    return failures[0] if failures else None


def clear_leftover(folder, out):
    """Removes what a stopped run, or a hand, left at `folder` beside `out`: a folder whole, and
    anything else, a link included, as the one entry it is, never followed."""
    try:
        mode = folder.lstat().st_mode
    except FileNotFoundError:
        return
    if stat.S_ISDIR(mode):
        failure = remove_tree(folder)
        if failure:
            raise Refused(f"{folder.name}/ beside {out.name}/, which a stopped `make sign` "
                          f"left, cannot be removed ({failure}): remove it yourself")
        print(f"removed {folder.name}/ beside {out.name}/, which a stopped `make sign` left",
              file=sys.stderr)
        return
    kind = "a symbolic link" if stat.S_ISLNK(mode) else \
        inputs.KINDS.get(stat.S_IFMT(mode), "a file")
    try:
        folder.unlink()
    except OSError as error:
        raise Refused(f"{folder.name} beside {out.name}/, where make sign keeps its work, is "
                      f"{kind} that cannot be removed ({error.strerror}): move it away") from None
    print(f"removed {folder.name} beside {out.name}/, {kind} where make sign keeps its work "
          "(a link is removed, never followed)", file=sys.stderr)


@contextlib.contextmanager
def signing_folder(out, signals):
    """.<out>-signing beside `out`, private to this user, for the staging folder and every
    temporary file of one run; it goes when the run ends, however it ends. The caller holds the
    folder `out` lies in (dist.locked), so that a run finding one is sure a stopped run left
    it."""
    folder = out.parent / f".{out.name}-signing"
    clear_leftover(folder, out)
    folder.mkdir(mode=0o700)
    previous, tempfile.tempdir = tempfile.tempdir, str(folder)
    try:
        yield folder
    finally:
        tempfile.tempdir = previous
        signals.hold()
        failure = remove_tree(folder)
        if failure:
            warn(f"{folder.name}/ beside {out.name}/ could not be removed whole ({failure}); "
                 "the next `make sign` removes it")


def in_words(error, out):
    """A refusal for a failure to write the signed release beside `out`."""
    if error.errno in (errno.ENOSPC, errno.EDQUOT):
        return Refused(f"no space left beside {out.name}/: make sign needs room for two more "
                       f"copies of the release; {out.name}/ is as it was")
    return Refused(f"cannot write the signed release beside {out.name}/: {error.strerror}; "
                   f"{out.name}/ is as it was")


def sign_in(signing):
    """The signed release of `signing.out`, made and checked in the staging folder."""
    certificate = signing.keys.certificate
    # A release signed already keeps its programs' signatures when only the sums are signed.
    released = None if certificate or not any(signing.out.glob("*.authenticode.pem")) \
        else signing.out
    built = signing.work / "built" if certificate else signing.staging
    with contextlib.redirect_stdout(io.StringIO()):
        pack(signing, built, released, manifests.release_url_of(signing.out))
    check_built(signing.out, built)
    if certificate:
        sign_programs(signing)
    if signing.keys.minisign:
        sign_sums(signing)
    check_staged(signing)
    dist.settle_modes(signing.staging)


def sign(out, sources, trees, environment, release_url, public_key):
    """Signs the release in `out`, built from `trees` out of `sources`, with the keys the
    environment names; the manifests are written again for `release_url`, or for the address
    of those already in `out`."""
    with Signals(out) as signals:
        with dist.locked(out, "sign"):
            check_replaceable(out)
            signing = Signing(out, sources, trees, keys.from_environment(environment),
                              release_url, public_key)
            with signing_folder(out, signals) as work:
                signing = dataclasses.replace(signing, work=work)
                try:
                    sign_in(signing)
                except OSError as error:
                    raise in_words(error, out) from None
                signals.hold()
                exchange(signing.staging, out)
        if signals.caught:
            warn(f"{signals.caught} came after {out.name}/ was replaced: it is signed")
    if signing.keys.minisign:
        print(f"signed {names.SUMS} with minisign: {out / MINISIG}")


def sign_release(repo, environment, release_url=None):
    repo = pathlib.Path(repo).resolve()
    sources = repo / "build" / "dist" / "src"
    sign(repo / "dist", sources, dist.trees_of(sources), environment, release_url,
         repo / "minisign.pub")
