"""The names of a release's files, which its sums, bill of materials and manifests refer to."""

SUMS = "SHA256SUMS"
EXE = "HotKeys.exe"


def stem(version, arch):
    """The zip's name without .zip, and the folder of its unpacked contents."""
    return f"HotKeys-{version}-{arch}"


def signature(version, arch):
    """The detached Authenticode signature of that zip's HotKeys.exe."""
    return f"{stem(version, arch)}.authenticode.pem"


def bill(version):
    return f"HotKeys-{version}.spdx.json"


def read_sums(out):
    """{file name: SHA-256} of out/SHA256SUMS."""
    lines = (out / SUMS).read_text().splitlines()
    return {name: digest for digest, name in (line.split("  ", 1) for line in lines)}
