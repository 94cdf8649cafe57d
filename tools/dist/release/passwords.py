"""The password and PIN files: every tool is given the file's first line without its line end,
never on its command line and never in a file of its own. Without a password file, a password
is asked for at the terminal."""

import contextlib
import getpass
import os

from . import Refused


def first_line(path):
    with open(path, "rb") as file:
        return file.readline().rstrip(b"\r\n")


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
    secret is written whole before, since a pipe holds 64 KiB, far more than a password."""
    read, write = os.pipe()
    try:
        with os.fdopen(write, "wb") as writer:
            writer.write(secret)
        yield read
    finally:
        os.close(read)
