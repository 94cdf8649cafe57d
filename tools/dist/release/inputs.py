"""The files the environment names (keys, passwords, PINs, certificate authorities), opened
without waiting and read up to a limit: a FIFO, a device or a folder is refused before a byte
is read, so that a wrong name can neither hang the release nor fill its memory."""

import os
import stat

from . import Refused

KINDS = {stat.S_IFDIR: "a folder", stat.S_IFIFO: "a FIFO", stat.S_IFCHR: "a device",
         stat.S_IFBLK: "a device", stat.S_IFSOCK: "a socket"}


def opened(path, variable, what):
    """A descriptor of the regular file at `path`, which `variable` names as its `what`."""
    try:
        descriptor = os.open(path, os.O_RDONLY | os.O_NONBLOCK | os.O_NOCTTY | os.O_CLOEXEC)
    except FileNotFoundError:
        raise Refused(f"no such {what}: {path} ({variable})") from None
    except OSError as error:
        raise Refused(f"cannot read the {what} {path} ({variable}): {error.strerror}") from None
    mode = os.fstat(descriptor).st_mode
    if not stat.S_ISREG(mode):
        os.close(descriptor)
        kind = KINDS.get(stat.S_IFMT(mode), "no regular file")
        raise Refused(f"cannot read the {what} {path} ({variable}): it is {kind}, not a file")
    return descriptor


def check(path, variable, what):
    """Refuses, in the releaser's words, a file that a tool would fail on or wait at."""
    os.close(opened(path, variable, what))


def head(path, variable, what, limit):
    """The file's first `limit` bytes and one more, so that the caller sees whether it is
    longer."""
    with os.fdopen(opened(path, variable, what), "rb") as file:
        return file.read(limit + 1)


def whole(path, variable, what, limit):
    """The file's bytes, refused past `limit` bytes."""
    data = head(path, variable, what, limit)
    if len(data) > limit:
        raise Refused(f"cannot read the {what} {path} ({variable}): it is larger than "
                      f"{limit // 1024} KiB, far more than a {what} holds; is it the right file?")
    return data
