#!/usr/bin/env python3
"""Fails unless the built program carries the hardening it is linked with.

Reads the PE headers through objdump: the DLL characteristics (randomised base, with 64-bit
entropy in a 64-bit image, no-execute data), the relocations that make the randomised base usable, the section
flags (nothing both writable and executable), the stack-canary failure handler, and the
imported DLLs, which must all be the system's own.
"""
import re
import subprocess
import sys

REQUIRED_CHARACTERISTICS = ("DYNAMIC_BASE", "NX_COMPAT")
# A 32-bit image has no room for more entropy; the loader ignores the flag there.
REQUIRED_CHARACTERISTICS_64 = ("HIGH_ENTROPY_VA",)

# DLLs that every Windows installation carries; anything else would have to ship beside the exe.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll", "oleaut32.dll",
    "advapi32.dll", "comctl32.dll", "msvcrt.dll", "ucrtbase.dll",
}
SYSTEM_DLL_PATTERN = re.compile(r"api-ms-win-crt-[a-z0-9-]+\.dll")

# Written by libssp's __stack_chk_fail: present only when canary checks were compiled in.
CANARY_HANDLER_TEXT = b"stack smashing detected"


def objdump(objdump_path, option, exe):
    return subprocess.run([objdump_path, option, exe], check=True, capture_output=True,
                          text=True).stdout


def dll_characteristics(private_headers):
    match = re.search(r"^DllCharacteristics\s+([0-9a-fA-F]+)\n((?:\t+\S.*\n)*)", private_headers,
                      re.MULTILINE)
    if not match:
        return set()
    return set(match.group(2).split())


def is_64_bit(private_headers):
    return re.search(r"^Magic\s+020b\b", private_headers, re.MULTILINE) is not None


def imported_dlls(private_headers):
    return [name.lower() for name in re.findall(r"DLL Name: (\S+)", private_headers)]


def sections(section_headers):
    """(name, flags) of every section: objdump prints the flags on the line after the name."""
    found = re.findall(r"^\s*\d+\s+(\S+)\s+[0-9a-f]+.*\n\s+(.*)$", section_headers, re.MULTILINE)
    return [(name, {flag.strip() for flag in flags.split(",")}) for name, flags in found]


def faults(objdump_path, exe):
    private_headers = objdump(objdump_path, "-p", exe)
    section_headers = objdump(objdump_path, "-h", exe)
    problems = []
    characteristics = dll_characteristics(private_headers)
    required = REQUIRED_CHARACTERISTICS
    if is_64_bit(private_headers):
        required += REQUIRED_CHARACTERISTICS_64
    for flag in required:
        if flag not in characteristics:
            problems.append(f"DllCharacteristics lacks {flag}")
    found_sections = sections(section_headers)
    if not found_sections:
        problems.append("no section headers found")
    if ".reloc" not in {name for name, _ in found_sections}:
        problems.append("no .reloc section: the loader cannot move the image")
    for name, flags in found_sections:
        # objdump marks a section CODE when it is executable and READONLY unless it is writable.
        if "CODE" in flags and "READONLY" not in flags:
            problems.append(f"section {name} is both writable and executable")
    with open(exe, "rb") as image:
        if CANARY_HANDLER_TEXT not in image.read():
            problems.append("no stack-canary failure handler linked in")
    dlls = imported_dlls(private_headers)
    if not dlls:
        problems.append("no imports found")
    for dll in dlls:
        if dll not in SYSTEM_DLLS and not SYSTEM_DLL_PATTERN.fullmatch(dll):
            problems.append(f"imports {dll}, which is not a system DLL")
    return problems


def main():
    objdump_path, exe = sys.argv[1], sys.argv[2]
    problems = faults(objdump_path, exe)
    for problem in problems:
        print(f"{exe}: {problem}")
    if not problems:
        print(f"{exe}: hardened; imports only system DLLs")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
