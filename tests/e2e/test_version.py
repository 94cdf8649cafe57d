"""The version resource of the built executable, read back from the file as Windows' file
properties read it, against the version the build was configured with (release.json)."""

import json
import pathlib
import struct

from harness.resource import find_resource

RT_VERSION = 16
VS_VERSION_INFO = 1
FIXED_SIGNATURE = 0xFEEF04BD
LICENSE = pathlib.Path(__file__).resolve().parents[2] / "LICENSE"


def _aligned(at):
    return (at + 3) & ~3


def _node(data, at):
    """(key, value bytes, children) of one block of a version resource."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, at)
    end = at + 6
    while data[end:end + 2] != b"\0\0":
        end += 2
    key = data[at + 6:end].decode("utf-16-le")
    value_at = _aligned(end + 2)
    value = data[value_at:value_at + value_length * (2 if is_text else 1)]
    children, child = [], _aligned(value_at + len(value))
    while child < at + length:
        children.append(_node(data, child))
        child = _aligned(child + struct.unpack_from("<H", data, child)[0])
    return key, value, children


def read_version(exe):
    data = exe.read_bytes()
    found = find_resource(data, RT_VERSION, VS_VERSION_INFO)
    assert found, f"{exe} has no version resource"
    offset, size = found
    key, fixed, children = _node(data[offset:offset + size], 0)
    assert key == "VS_VERSION_INFO"
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    assert signature == FIXED_SIGNATURE
    strings = {name: text.decode("utf-16-le").rstrip("\0")
               for block, _, tables in children if block == "StringFileInfo"
               for _, _, values in tables for name, text, _ in values}
    numbers = {name: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
               for name, ms, ls in (("file", file_ms, file_ls), ("product", product_ms, product_ls))}
    return numbers, strings


def test_the_exe_carries_the_configured_version_its_names_and_the_licence_of_license(
        build_tree):
    release = json.loads((build_tree / "release.json").read_text())
    version = release["version"]
    major, minor, patch = (int(part) for part in version.split("."))
    license_text = LICENSE.read_text()
    copyright_line = next(line for line in license_text.splitlines()
                          if line.startswith("Copyright "))

    numbers, strings = read_version(build_tree / "HotKeys.exe")

    assert numbers == {"file": (major, minor, patch, 0), "product": (major, minor, patch, 0)}
    assert strings["FileVersion"] == strings["ProductVersion"] == version
    assert strings["ProductName"] == strings["InternalName"] == "HotKeys"
    assert strings["OriginalFilename"] == "HotKeys.exe"
    assert strings["FileDescription"].startswith("HotKeys")
    assert license_text.startswith(f"{release['license']} License\n")
    assert strings["LegalCopyright"] == f"{copyright_line}. {release['license']} License"
