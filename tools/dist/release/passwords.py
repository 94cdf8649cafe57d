"""The password and PIN files: every tool is given the file's first line without its line end,
never on its command line and never in a file of its own. Without a password file, a password
is asked for at the terminal."""

import contextlib
import getpass
import os

from . import Refused, inputs

# Far longer than any password, and far shorter than the 64 KiB a pipe holds.
LONGEST = 4096


def first_line(path, variable, secret="password"):
    """The first line of the file that `variable` names, which holds the `secret`: refused
    when empty or longer than LONGEST bytes."""
    what = f"{secret} file"
    data = inputs.head(path, variable, what, LONGEST)
    line = data.split(b"\n", 1)[0]
    if len(line) > LONGEST:
        raise Refused(f"cannot read the {what} {path} ({variable}): its first line is longer "
                      f"than {LONGEST} bytes; the {secret} is the first line")
    line = line.rstrip(b"\r")
    if not line:
        raise Refused(f"the {what} {path} ({variable}) is empty: its first line is the {secret}")
    return line


def asked(what, variable):
    """The password of `what`, typed at the terminal after a prompt that names it; without a
    terminal, a refusal that asks for its file, `variable`."""
    try:
        os.close(os.open("/dev/tty", os.O_RDWR | os.O_NOCTTY))
    except OSError:
        raise Refused(f"{what} needs its password and there is no terminal to ask for it on: "
                      f"name its file in {variable}") from None
    return getpass.getpass(f"password of {what}: ").encode()


@contextlib.contextmanager
def pipe(secret):
    """A descriptor that a child process inherits and reads `secret` from, as /dev/fd/N; the
    secret is written whole before, which a pipe holds: it is at most LONGEST bytes."""
    read, write = os.pipe()
    try:
        with os.fdopen(write, "wb") as writer:
            writer.write(secret)
        yield read
    finally:
        os.close(read)
