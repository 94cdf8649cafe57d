"""The password and PIN files: every tool is given the file's first line without its line end,
and never on its command line."""

import contextlib
import os
import pathlib
import tempfile


def first_line(path):
    with open(path, "rb") as file:
        return file.readline().rstrip(b"\r\n")


@contextlib.contextmanager
def private_copy(path):
    """A file holding only the first line of `path`, for a tool that reads its password from a
    file; it lies in a folder only this user may enter, and is deleted after."""
    with tempfile.TemporaryDirectory(prefix="hotkeys-password-") as folder:
        copy = pathlib.Path(folder) / "password"
        descriptor = os.open(copy, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
        with os.fdopen(descriptor, "wb") as file:
            file.write(first_line(path))
        yield copy
