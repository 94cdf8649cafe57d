"""The minisign signature of SHA256SUMS, which says who made the release: the sums alone only
say that a download is intact. minisign asks for the key's password on its standard input,
which is the password file when one is named (never its command line), else the terminal."""

import contextlib
import subprocess

from . import Refused

SUMS = "SHA256SUMS"


def sign(out, key, password_file, trusted_comment):
    """Writes out/SHA256SUMS.minisig. The trusted comment is signed with the sums."""
    with contextlib.ExitStack() as stack:
        password = stack.enter_context(open(password_file, "rb")) if password_file else None
        result = subprocess.run(["minisign", "-S", "-s", str(key), "-m", SUMS,
                                 "-x", f"{SUMS}.minisig", "-t", trusted_comment],
                                cwd=out, stdin=password, capture_output=True, text=True)
    if result.returncode != 0:
        raise Refused(f"minisign could not sign {SUMS}:\n{result.stdout}{result.stderr}")


def verify(out, public_key):
    """Whether out/SHA256SUMS.minisig is a signature of out/SHA256SUMS by `public_key`."""
    return subprocess.run(["minisign", "-V", "-q", "-p", str(public_key), "-m", SUMS],
                          cwd=out, capture_output=True).returncode == 0
