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
import errno
import fcntl
import io
import json
import os
import pathlib
import re
import shutil
import signal
import sys
import tempfile

from . import Refused, authenticode, dist, manifests, names, passwords, sums_signature

AUTHENTICODE_KEYS = ("SIGN_PKCS12", "SIGN_PKCS11_MODULE")
# The files the environment names, each read before any work is done.
INPUTS = {"SIGN_PKCS12": "key file", "SIGN_PASSWORD_FILE": "password file",
          "SIGN_PKCS11_MODULE": "PKCS#11 module", "SIGN_PIN_FILE": "PIN file",
          "SIGN_CA_FILE": "CA file", "MINISIGN_KEY": "key file",
          "MINISIGN_PASSWORD_FILE": "password file"}
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


def recorded_build(out):
    """The one-line fields of the BUILDINFO of the release in `out`: its Version, Commit and
    Source-Date-Epoch among them."""
    return dict(re.findall(r"^([A-Za-z-]+): (\S+)$", (out / "BUILDINFO").read_text(), re.M))


def check_inputs(environment):
    for variable, what in INPUTS.items():
        path = environment.get(variable)
        if not path:
            continue
        try:
            open(path, "rb").close()
        except FileNotFoundError:
            raise Refused(f"no such {what}: {path} ({variable})") from None
        except OSError as error:
            raise Refused(f"cannot read the {what} {path} ({variable}): {error.strerror}") \
                from None
    if environment.get("SIGN_CA_FILE"):
        authenticode.check_authorities(environment["SIGN_CA_FILE"])


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


def minisign_password(environment):
    """(the release key's password, or None for a key without one; what it unlocks, in a
    refusal): the first line of MINISIGN_PASSWORD_FILE, else typed at the terminal."""
    key, password_file = environment["MINISIGN_KEY"], environment.get("MINISIGN_PASSWORD_FILE")
    if password_file:
        return passwords.first_line(password_file), \
            f"the minisign key {key} (MINISIGN_PASSWORD_FILE)"
    what = f"the minisign key {key}"
    if not sums_signature.needs_password(key):
        return None, what
    return passwords.asked(what, "MINISIGN_PASSWORD_FILE"), what


def files_of(folder):
    return {path.relative_to(folder).as_posix(): path for path in folder.rglob("*")
            if path.is_file() or path.is_symlink()}


def check_built(out, built):
    """Refuses, naming the first file that differs, an `out` whose files are not those of the
    release packed again in `built`; a signature of the sums is left out, being signed anew."""
    released, expected = files_of(out), files_of(built)
    released.pop(MINISIG, None)
    for name in sorted(released.keys() | expected.keys()):
        if name not in expected:
            fault = "is not part of the release"
        elif name not in released:
            fault = "is missing from the release"
        elif released[name].is_symlink() or \
                released[name].read_bytes() != expected[name].read_bytes():
            fault = "differs from the file"
        else:
            continue
        raise Refused(f"{out.name}/{name} {fault} that `make dist` builds from the build trees "
                      "and BUILDINFO: only what `make dist` built is signed; run `make dist` "
                      "again")


def pack(out, into, sources, trees, signatures, environment, release_url):
    """The release recorded in out/BUILDINFO, packed into `into` from `trees`, its detached
    signatures taken from `signatures`."""
    build = recorded_build(out)
    dist.release_files(into, sources, trees, int(build["Source-Date-Epoch"]), build["Commit"],
                       signatures, environment.get("SIGN_CA_FILE"), release_url, shown=out)


def sign_programs(out, staging, work, sources, trees, key, environment, release_url):
    """Signs each program of the unsigned release that `trees` built and packs the release
    signed into `staging`."""
    signatures = work / "signatures"
    signatures.mkdir()
    for arch, _, tree in trees:
        version = json.loads((tree / "release.json").read_text())["version"]
        signature = authenticode.sign(tree / names.EXE, key,
                                      environment.get("SIGN_TIMESTAMP_URL"))
        (signatures / names.signature(version, arch)).write_bytes(signature)
    pack(out, staging, sources, trees, signatures, environment, release_url)


def sign_sums(staging, out, environment, password, password_of, public_key):
    """SHA256SUMS.minisig, checked against the release key's published half when there is one,
    else against the public half of the key that made it."""
    build = recorded_build(staging)
    key = environment["MINISIGN_KEY"]
    sums_signature.sign(staging, key, password, password_of,
                        f"HotKeys {build['Version']}, commit {build['Commit']}")
    if public_key.is_file():
        if not sums_signature.verify(staging, public_key):
            raise Refused(f"MINISIGN_KEY is not the release key whose public half is "
                          f"{public_key}")
        return
    with tempfile.TemporaryDirectory(prefix="hotkeys-minisign-") as work:
        if not sums_signature.verify(staging, sums_signature.public_key(
                key, password, password_of, pathlib.Path(work) / "minisign.pub")):
            raise Refused(f"{out.name}/{MINISIG} does not verify")


def check_staged(staging, out, environment):
    """Every signature of the signed release verifies, and its sums match its files."""
    for signature in staging.glob("*.authenticode.pem"):
        authenticode.verify(staging / signature.name.removesuffix(".authenticode.pem") /
                            names.EXE, environment.get("SIGN_CA_FILE"))
    dist.check_sums(staging, out)


def exchange(first, second):
    """Swaps two folders in one step (renameat2), so that no moment sees either missing."""
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.renameat2(AT_FDCWD, bytes(first), AT_FDCWD, bytes(second), RENAME_EXCHANGE) != 0:
        error = ctypes.get_errno()
        raise Refused(f"cannot replace {second.name}/: {os.strerror(error)}; it is as it was")


def warn(text):
    print(f"warning: {text}", file=sys.stderr)


@contextlib.contextmanager
def signing_folder(out, signals):
    """.<out>-signing beside `out`, private to this user, for the staging folder and every
    temporary file of one run; it goes when the run ends, however it ends. The folder `out`
    lies in is locked meanwhile, so that a run finding one is sure a stopped run left it."""
    folder = out.parent / f".{out.name}-signing"
    lock = os.open(out.parent, os.O_RDONLY)
    try:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            raise Refused(f"another `make sign` is signing {out.name}/") from None
        if os.path.lexists(folder):
            shutil.rmtree(folder)
            print(f"removed {folder.name}/ beside {out.name}/, which a stopped `make sign` left",
                  file=sys.stderr)
        folder.mkdir(mode=0o700)
        previous, tempfile.tempdir = tempfile.tempdir, str(folder)
        try:
            yield folder
        finally:
            tempfile.tempdir = previous
            signals.hold()
            failures = []
            shutil.rmtree(folder, onerror=lambda *failure: failures.append(failure[2][1]))
            if failures:
                warn(f"{folder.name}/ beside {out.name}/ could not be removed whole "
                     f"({failures[0]}); the next `make sign` removes it")
    finally:
        os.close(lock)


def in_words(error, out):
    """A refusal for a failure to write the signed release beside `out`."""
    if error.errno in (errno.ENOSPC, errno.EDQUOT):
        return Refused(f"no space left beside {out.name}/: make sign needs room for two more "
                       f"copies of the release; {out.name}/ is as it was")
    return Refused(f"cannot write the signed release beside {out.name}/: {error.strerror}; "
                   f"{out.name}/ is as it was")


def sign_in(out, staging, work, sources, trees, key, environment, release_url, public_key):
    """The signed release of `out`, made and checked in `staging`."""
    password, password_of = minisign_password(environment) \
        if environment.get("MINISIGN_KEY") else (None, None)
    # A release signed already keeps its programs' signatures when only the sums are signed.
    released = None if key or not any(out.glob("*.authenticode.pem")) else out
    built = work / "built" if key else staging
    with contextlib.redirect_stdout(io.StringIO()):
        pack(out, built, sources, trees, released, environment, manifests.release_url_of(out))
    check_built(out, built)
    if key:
        sign_programs(out, staging, work, sources, trees, key, environment,
                      release_url or manifests.release_url_of(out))
    if environment.get("MINISIGN_KEY"):
        sign_sums(staging, out, environment, password, password_of, public_key)
    check_staged(staging, out, environment)
    staging.chmod(out.stat().st_mode & 0o7777)


def sign(out, sources, trees, environment, release_url, public_key):
    """Signs the release in `out`, built from `trees` out of `sources`; the manifests are
    written again for `release_url`, or for the address of those already in `out`."""
    has_certificate = any(environment.get(name) for name in AUTHENTICODE_KEYS)
    if not has_certificate and not environment.get("MINISIGN_KEY"):
        raise Refused("nothing to sign with: name a code-signing key (SIGN_PKCS12 or "
                      "SIGN_PKCS11_MODULE) or the release key MINISIGN_KEY")
    check_inputs(environment)
    key = authenticode.key_arguments(environment) if has_certificate else None
    check_replaceable(out)
    with Signals(out) as signals:
        with signing_folder(out, signals) as work:
            staging = work / "release"
            try:
                sign_in(out, staging, work, sources, trees, key, environment, release_url,
                        public_key)
            except OSError as error:
                raise in_words(error, out) from None
            signals.hold()
            exchange(staging, out)
        if signals.caught:
            warn(f"{signals.caught} came after {out.name}/ was replaced: it is signed")
    if environment.get("MINISIGN_KEY"):
        print(f"signed {names.SUMS} with minisign: {out / MINISIG}")


def sign_release(repo, environment, release_url=None):
    repo = pathlib.Path(repo).resolve()
    sources = repo / "build" / "dist" / "src"
    sign(repo / "dist", sources, dist.trees_of(sources), environment, release_url,
         repo / "minisign.pub")
