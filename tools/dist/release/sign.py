"""`make sign`: signs the release that `make dist` left in dist/, all or nothing, with whatever
key the maintainer holds; its inputs come from the environment (docs/releasing.md lists them).

Each HotKeys.exe is signed with osslsigncode and only its detached signature is kept: the
release is then packed again from the same build trees with the signatures attached, exactly
as `make dist SIGNATURES=<folder>` packs it for anyone who rebuilds. SHA256SUMS, which then
names the signatures too, is signed with minisign. All of it is made in a folder beside dist/
and checked there; only then does that folder take dist/'s place, in one step, so that a
failure leaves dist/ as it was.
"""

import contextlib
import ctypes
import json
import os
import pathlib
import re
import shutil
import tempfile

from . import Refused, authenticode, dist, manifests, names, sums_signature

AUTHENTICODE_KEYS = ("SIGN_PKCS12", "SIGN_PKCS11_MODULE")
# The files the environment names, each read before any work is done.
INPUTS = {"SIGN_PKCS12": "key file", "SIGN_PASSWORD_FILE": "password file",
          "SIGN_PKCS11_MODULE": "PKCS#11 module", "SIGN_PIN_FILE": "PIN file",
          "SIGN_CA_FILE": "CA file", "MINISIGN_KEY": "key file",
          "MINISIGN_PASSWORD_FILE": "password file"}
AT_FDCWD, RENAME_EXCHANGE = -100, 2  # from <fcntl.h> and <linux/fs.h>


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


def sign_programs(out, staging, sources, trees, key, environment, release_url):
    """Signs the unsigned release in `out`, built from `trees`, and packs it signed into
    `staging`."""
    build = recorded_build(out)
    with tempfile.TemporaryDirectory(prefix="hotkeys-signatures-") as signatures:
        for arch, _, tree in trees:
            exe = tree / names.EXE
            version = json.loads((tree / "release.json").read_text())["version"]
            released = out / names.stem(version, arch) / names.EXE
            if not released.is_file() or released.read_bytes() != exe.read_bytes():
                raise Refused(f"{released} is not the unsigned program built in {tree}: "
                              "run `make dist` first")
            signature = authenticode.sign(exe, key, environment.get("SIGN_TIMESTAMP_URL"))
            (pathlib.Path(signatures) / names.signature(version, arch)).write_bytes(signature)
        dist.release_files(staging, sources, trees, int(build["Source-Date-Epoch"]),
                           build["Commit"], signatures, environment.get("SIGN_CA_FILE"),
                           release_url)


def sign_sums(out, environment, public_key):
    """SHA256SUMS.minisig, checked against the release key's published half when there is one,
    else against the public half of the key that made it."""
    build = recorded_build(out)
    key, password_file = environment["MINISIGN_KEY"], environment.get("MINISIGN_PASSWORD_FILE")
    sums_signature.sign(out, key, password_file,
                        f"HotKeys {build['Version']}, commit {build['Commit']}")
    if public_key.is_file():
        if not sums_signature.verify(out, public_key):
            raise Refused(f"MINISIGN_KEY is not the release key whose public half is "
                          f"{public_key}")
        return
    with tempfile.TemporaryDirectory(prefix="hotkeys-minisign-") as work:
        if not sums_signature.verify(out, sums_signature.public_key(
                key, password_file, pathlib.Path(work) / "minisign.pub")):
            raise Refused(f"{names.SUMS}.minisig does not verify")


def check_staged(staging, environment):
    """Every signature of the signed release verifies, and its sums match its files."""
    for signature in staging.glob("*.authenticode.pem"):
        authenticode.verify(staging / signature.name.removesuffix(".authenticode.pem") /
                            names.EXE, environment.get("SIGN_CA_FILE"))
    dist.check_sums(staging)


def exchange(first, second):
    """Swaps two folders in one step (renameat2), so that no moment sees either missing."""
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.renameat2(AT_FDCWD, bytes(first), AT_FDCWD, bytes(second), RENAME_EXCHANGE) != 0:
        error = ctypes.get_errno()
        raise OSError(error, os.strerror(error), str(second))


@contextlib.contextmanager
def staged(out):
    """A new folder beside `out` that takes its place when the block succeeds."""
    staging = pathlib.Path(tempfile.mkdtemp(prefix=f".{out.name}-signing-", dir=out.parent))
    try:
        yield staging
        staging.chmod(out.stat().st_mode & 0o7777)
        exchange(staging, out)
    finally:
        shutil.rmtree(staging)


def sign(out, sources, trees, environment, release_url, public_key):
    """Signs the release in `out`, built from `trees` out of `sources`; the manifests are
    written again for `release_url`, or for the address of those already in `out`."""
    has_certificate = any(environment.get(name) for name in AUTHENTICODE_KEYS)
    if not has_certificate and not environment.get("MINISIGN_KEY"):
        raise Refused("nothing to sign with: name a code-signing key (SIGN_PKCS12 or "
                      "SIGN_PKCS11_MODULE) or the release key MINISIGN_KEY")
    check_inputs(environment)
    key = authenticode.key_arguments(environment) if has_certificate else None
    if not (out / "BUILDINFO").is_file():
        raise Refused(f"{out} holds no release: run `make dist` first")
    with staged(out) as staging:
        if key:
            sign_programs(out, staging, sources, trees, key, environment,
                          release_url or manifests.release_url_of(out))
        else:
            shutil.copytree(out, staging, dirs_exist_ok=True)
        if environment.get("MINISIGN_KEY"):
            sign_sums(staging, environment, public_key)
        check_staged(staging, environment)
    if environment.get("MINISIGN_KEY"):
        print(f"signed {names.SUMS} with minisign: {out / names.SUMS}.minisig")


def sign_release(repo, environment, release_url=None):
    repo = pathlib.Path(repo).resolve()
    sources = repo / "build" / "dist" / "src"
    sign(repo / "dist", sources, dist.trees_of(sources), environment, release_url,
         repo / "minisign.pub")
