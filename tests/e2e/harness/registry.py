"""Values in the Wine prefix's registry, set for one test and put back afterwards."""

import contextlib


def _query(wine, key, name):
    done = wine.run("reg", "query", key, "/v", name)
    if done.returncode != 0:
        return None
    for line in done.stdout.decode("latin-1").splitlines():
        words = line.split(None, 2)
        if len(words) == 3 and words[0] == name:
            return words[1], words[2]
    return None


def _set(wine, key, name, kind, data):
    wine.output("reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f")


@contextlib.contextmanager
def registry_value(wine, key, name, kind, data):
    """Programs started inside the block see the value; the old one (or none) comes back after."""
    old = _query(wine, key, name)
    _set(wine, key, name, kind, data)
    try:
        yield
    finally:
        if old is None:
            wine.run("reg", "delete", key, "/v", name, "/f")
        else:
            _set(wine, key, name, old[0], str(int(old[1], 16)) if old[0] == "REG_DWORD" else old[1])
