#!/usr/bin/env python3
"""Fails unless the built program carries the application manifest it is meant to.

Reads the manifest out of the executable's resource directory (type RT_MANIFEST, id 1, the one
Windows reads when it creates the process) and checks what Windows acts on: the program asks for
no elevation, names the versions it supports, is not DPI-aware, and does not select version 6
of the common controls.
"""
import pathlib
import sys
import xml.etree.ElementTree as ElementTree

# The PE resource reader that the end-to-end tests use to find the form description.
from harness.resource import find_resource

RT_MANIFEST = 24
CREATEPROCESS_MANIFEST_RESOURCE_ID = 1

SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
# Windows reads each DPI setting only in its own namespace; elsewhere it is silently ignored.
DPI_SETTINGS = (
    ("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware", "false", True),
    ("{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness", "unaware", False),
)
VISUAL_STYLES_ASSEMBLY = "microsoft.windows.common-controls"


def local_name(tag):
    return tag.rsplit("}", 1)[-1]


def elements(root, name):
    return [e for e in root.iter() if local_name(e.tag) == name]


def execution_level_faults(root):
    levels = [(e.get("level"), e.get("uiAccess"))
              for e in elements(root, "requestedExecutionLevel")]
    if levels != [("asInvoker", "false")]:
        yield f"requestedExecutionLevel is {levels}, not asInvoker without uiAccess"


def supported_os_faults(root):
    declared = {e.get("Id", "").lower() for e in elements(root, "supportedOS")}
    for guid, version in SUPPORTED_OS.items():
        if guid not in declared:
            yield f"no supportedOS for {version} ({guid})"


def dpi_faults(root):
    for tag, unaware, required in DPI_SETTINGS:
        values = [(e.text or "").lower() for e in root.iter(tag)]
        if (required or values) and values != [unaware]:
            yield f"{local_name(tag)} is {values}, not [{unaware!r}]"
    known = {tag for tag, _, _ in DPI_SETTINGS}
    misplaced = [e.tag for e in elements(root, "dpiAware") + elements(root, "dpiAwareness")
                 if e.tag not in known]
    if misplaced:
        yield f"{misplaced} outside their namespaces, where Windows ignores them"


def visual_styles_faults(root):
    for e in elements(root, "assemblyIdentity"):
        if (e.get("name") or "").lower() == VISUAL_STYLES_ASSEMBLY:
            yield f"depends on {e.get('name')} {e.get('version')} (visual styles)"


def faults(manifest):
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as error:
        return [f"the manifest is not well-formed XML: {error}"]
    return [*execution_level_faults(root), *supported_os_faults(root), *dpi_faults(root),
            *visual_styles_faults(root)]


def main():
    exe = sys.argv[1]
    data = pathlib.Path(exe).read_bytes()
    found = find_resource(data, RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID)
    if found is None:
        print(f"{exe}: no manifest resource with id 1, the one Windows reads")
        return 1
    offset, size = found
    manifest = data[offset:offset + size]
    problems = faults(manifest)
    print(manifest.decode("utf-8", "replace"))
    for problem in problems:
        print(f"{exe}: {problem}")
    if not problems:
        print(f"{exe}: asInvoker, Windows 7 to 11, not DPI-aware, no visual styles")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
