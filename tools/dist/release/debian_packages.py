"""What dpkg knows about the files a build uses: which installed package owns each, and that
package's version. BUILDINFO names the packages of the tools; the third-party notices name the
packages of the libraries linked into the program."""

import os
import subprocess

from . import Refused


class Unowned(Refused):
    """A file that no installed package owns."""


def merged_usr_names(path):
    """A file's real path and its other name under a merged /usr, where dpkg may know it."""
    real = os.path.realpath(path)
    return real, real.removeprefix("/usr") if real.startswith("/usr/") else "/usr" + real


def owners(paths):
    """dpkg's name for the package of each file, from one query (dpkg reads its whole file list
    on each call)."""
    names = {path: merged_usr_names(path) for path in paths}
    query = sorted({alias for aliases in names.values() for alias in aliases})
    found = subprocess.run(["dpkg-query", "-S", *query], capture_output=True, text=True)
    owner = {}
    for line in found.stdout.splitlines():
        packages, _, path = line.partition(": ")
        if not line.startswith("diversion by"):
            owner[path] = packages.split(", ")[0]
    result = {}
    for path, aliases in names.items():
        found_owners = [owner[alias] for alias in aliases if alias in owner]
        if not found_owners:
            raise Unowned(f"{path} belongs to no installed package")
        result[path] = found_owners[0]
    return result


def query(fields, packages):
    """dpkg-query's line of `fields` for each package, in the order of the names given."""
    return subprocess.run(["dpkg-query", "-W", f"-f={fields}\\n", *packages], check=True,
                          capture_output=True, text=True).stdout.splitlines()


def upstream_version(debian_version):
    """The version upstream gave its release: without Debian's epoch, revision and repacking
    marks (1:1.2.13+dfsg-1 -> 1.2.13)."""
    version = debian_version.partition(":")[2] or debian_version
    version = version.split("-")[0]
    for repack in ("+dfsg", "+ds", "+repack"):
        version = version.split(repack)[0]
    return version
