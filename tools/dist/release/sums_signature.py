"""The minisign signature of SHA256SUMS, which says who made the release: the sums alone only
say that a download is intact. minisign asks for the key's password on its standard input,
which is given the first line of the password file when one is named (never its command line),
else is the terminal."""

import subprocess

from . import Refused, passwords

SUMS = "SHA256SUMS"


def minisign(arguments, key, password_file, **options):
    """Runs minisign with the secret `key`, refusing a wrong password in so many words."""
    password = passwords.first_line(password_file) + b"\n" if password_file else None
    result = subprocess.run(["minisign", *arguments, "-s", str(key)], input=password,
                            capture_output=True, **options)
    output = (result.stdout + result.stderr).decode(errors="replace")
    if "Wrong password" in output:
        raise Refused(f"wrong password for the minisign key {key} (MINISIGN_PASSWORD_FILE)")
    if result.returncode != 0:
        raise Refused(f"minisign {arguments[0]} failed:\n{output}")


def sign(out, key, password_file, trusted_comment):
    """Writes out/SHA256SUMS.minisig. The trusted comment is signed with the sums."""
    minisign(["-S", "-m", SUMS, "-x", f"{SUMS}.minisig", "-t", trusted_comment], key,
             password_file, cwd=out)


def public_key(key, password_file, target):
    """Writes the public half of the secret `key` to `target`."""
    minisign(["-R", "-p", str(target)], key, password_file)
    return target


def verify(out, public_key):
    """Whether out/SHA256SUMS.minisig is a signature of out/SHA256SUMS by `public_key`."""
    return subprocess.run(["minisign", "-V", "-q", "-p", str(public_key), "-m", SUMS],
                          cwd=out, capture_output=True).returncode == 0
