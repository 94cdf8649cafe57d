"""The minisign signature of SHA256SUMS, which says who made the release: the sums alone only
say that a download is intact. minisign reads the key's password from its standard input, never
from its command line."""

import base64
import binascii
import subprocess
import typing

from . import Refused, names


class Key(typing.NamedTuple):
    """The release key: the path of its secret half, its password (None for a key without
    one), and what the password unlocks, in a refusal."""
    path: str
    password: bytes | None
    password_of: str


def needs_password(key_file):
    """Whether the secret key whose file holds `key_file` is encrypted with a password: the
    file's second line is the key in base64, whose bytes 2 and 3 name the key derivation, zero
    for none."""
    try:
        return base64.b64decode(key_file.splitlines()[1])[2:4] != b"\0\0"
    except (IndexError, binascii.Error):
        return True  # not a key minisign wrote: it says so itself


def minisign(arguments, key, **options):
    """Runs minisign with the secret `key`, refusing a wrong password in so many words."""
    result = subprocess.run(["minisign", *arguments, "-s", key.path],
                            input=key.password + b"\n" if key.password is not None else None,
                            capture_output=True, **options)
    output = (result.stdout + result.stderr).decode(errors="replace")
    if "Wrong password" in output:
        raise Refused(f"wrong password for {key.password_of}")
    if result.returncode != 0:
        raise Refused(f"{output.rstrip()}\nminisign {arguments[0]} failed (its output is above)")


def sign(out, key, trusted_comment):
    """Writes out/SHA256SUMS.minisig. The trusted comment is signed with the sums."""
    minisign(["-S", "-m", names.SUMS, "-x", f"{names.SUMS}.minisig", "-t", trusted_comment], key,
             cwd=out)


def public_key(key, target):
    """Writes the public half of the secret `key` to `target`."""
    minisign(["-R", "-p", str(target)], key)
    return target


def verify(out, public_key):
    """Whether out/SHA256SUMS.minisig is a signature of out/SHA256SUMS by `public_key`."""
    return subprocess.run(["minisign", "-V", "-q", "-p", str(public_key), "-m", names.SUMS],
                          cwd=out, capture_output=True).returncode == 0
