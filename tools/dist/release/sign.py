"""`make sign`: signs the release that `make dist` left in dist/, in one step, with whatever
key the maintainer holds; its inputs come from the environment (docs/releasing.md lists them).

Each HotKeys.exe is signed with osslsigncode and only its detached signature is kept: the
release is then packed again from the same build trees with the signatures attached, exactly
as `make dist SIGNATURES=<folder>` packs it for anyone who rebuilds. SHA256SUMS, which then
names the signatures too, is signed with minisign.
"""

import json
import pathlib
import re
import tempfile

from . import Refused, authenticode, dist, names, sums_signature

AUTHENTICODE_KEYS = ("SIGN_PKCS12", "SIGN_PKCS11_MODULE")


def recorded_build(out):
    """The one-line fields of the BUILDINFO of the release in `out`: its Version, Commit and
    Source-Date-Epoch among them."""
    return dict(re.findall(r"^([A-Za-z-]+): (\S+)$", (out / "BUILDINFO").read_text(), re.M))


def sign_programs(out, sources, trees, environment, release_url=None):
    """Signs the unsigned release in `out`, built from `trees`, and packs it again signed."""
    key = authenticode.key_arguments(environment)
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
        dist.release_files(out, sources, trees, int(build["Source-Date-Epoch"]), build["Commit"],
                           signatures, environment.get("SIGN_CA_FILE"), release_url)


def sign_sums(out, environment, public_key):
    """SHA256SUMS.minisig, checked against the release key's published half when there is one."""
    build = recorded_build(out)
    sums_signature.sign(out, environment["MINISIGN_KEY"],
                        environment.get("MINISIGN_PASSWORD_FILE"),
                        f"HotKeys {build['Version']}, commit {build['Commit']}")
    if public_key.is_file() and not sums_signature.verify(out, public_key):
        raise Refused(f"MINISIGN_KEY is not the release key whose public half is {public_key}")
    print(f"signed {names.SUMS} with minisign: {out / names.SUMS}.minisig")


def sign_release(repo, environment, release_url=None):
    repo = pathlib.Path(repo).resolve()
    out, sources = repo / "dist", repo / "build" / "dist" / "src"
    has_certificate = any(environment.get(name) for name in AUTHENTICODE_KEYS)
    if not has_certificate and not environment.get("MINISIGN_KEY"):
        raise Refused("nothing to sign with: name a code-signing key (SIGN_PKCS12 or "
                      "SIGN_PKCS11_MODULE) or the release key MINISIGN_KEY")
    if not (out / "BUILDINFO").is_file():
        raise Refused(f"{out} holds no release: run `make dist` first")
    if has_certificate:
        sign_programs(out, sources, dist.trees_of(sources), environment, release_url)
    if environment.get("MINISIGN_KEY"):
        sign_sums(out, environment, repo / "minisign.pub")
