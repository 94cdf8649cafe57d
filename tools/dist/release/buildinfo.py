"""BUILDINFO: what made a release's bytes, in the manner of Debian's .buildinfo files.

It names the commit, its time (SOURCE_DATE_EPOCH) and the exact version of each Debian package
that owns a file the build runs, includes or links: the compilers and their libraries, the
binutils (assembler, linker, windres), the Windows headers and import libraries, CMake and its
modules, make, and the Python and zlib that write the zips. The packages are found from those
files rather than listed by hand, so the list follows the toolchain. Nothing in it depends on
where or when the build ran.
"""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import zipfile

from . import debian_packages

TOOLCHAINS = ("x86_64-w64-mingw32", "i686-w64-mingw32")
COMPILER_PROGRAMS = ("cc1plus", "cc1", "collect2", "as", "ld")
LINKED_FILES = ("crt2.o", "libstdc++.a", "libgcc.a", "libssp.a", "libwinpthread.a", "libmingw32.a",
                "libkernel32.a")


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def first_included_header(compiler, header):
    """The file the compiler takes for #include <header>: -H prints it first, on stderr."""
    result = subprocess.run([compiler, "-x", "c++", "-E", "-H", "-o", os.devnull, "-"],
                            input=f"#include <{header}>\n", check=True, capture_output=True,
                            text=True)
    return result.stderr.splitlines()[0].lstrip(". ")


def shared_libraries(program):
    """The host libraries a program is linked with, as ldd lists them: not those that LD_PRELOAD
    adds to this run (reprotest's faketime does)."""
    environment = {name: value for name, value in os.environ.items() if name != "LD_PRELOAD"}
    listed = subprocess.run(["ldd", program], capture_output=True, text=True,
                            env=environment).stdout
    return [line.split("=> ")[1].split(" (")[0] for line in listed.splitlines() if "=> /" in line]


def with_libraries(programs):
    """What a tool makes may depend on the libraries it runs with (isl, mpfr, gmp, zlib...)."""
    return [*programs, *(library for program in programs for library in shared_libraries(program))]


def toolchain_files(prefix):
    compiler = shutil.which(f"{prefix}-g++-posix")
    programs = [compiler, shutil.which(f"{prefix}-windres")]
    programs += [run(compiler, f"-print-prog-name={name}").strip() for name in COMPILER_PROGRAMS]
    yield from with_libraries(programs)
    for name in LINKED_FILES:
        yield run(compiler, f"-print-file-name={name}").strip()
    yield first_included_header(compiler, "windows.h")


def cmake_files():
    """CMake and the platform module of the Windows presets. The module's path is written to a
    file: what CMake prints is coloured when make runs at a terminal (MAKE_TERMOUT). The file's
    name reaches the script as a variable, which no character of it can end."""
    cmake = shutil.which("cmake")
    yield cmake
    with tempfile.TemporaryDirectory(prefix="hotkeys-buildinfo-") as work:
        script, found = pathlib.Path(work) / "module.cmake", pathlib.Path(work) / "module.txt"
        script.write_text('file(WRITE "${FOUND}" '
                          '"${CMAKE_ROOT}/Modules/Platform/Windows-GNU.cmake")\n')
        subprocess.run([cmake, f"-DFOUND={found}", "-P", str(script)], check=True,
                       capture_output=True)
        yield found.read_text()


def zip_writer_files():
    """The interpreter, with the zlib that deflates the entries, and its zipfile module."""
    yield from with_libraries([sys.executable])
    yield zipfile.__file__


def files_the_build_reads():
    files = []
    for prefix in TOOLCHAINS:
        files += toolchain_files(prefix)
    files += cmake_files()
    files.append(shutil.which("make"))
    files += zip_writer_files()
    return files


def installed_versions(packages):
    """'name:architecture (= version)' of each package, as dpkg reports it, in order."""
    lines = debian_packages.query("${Package}:${Architecture} (= ${Version})", sorted(packages))
    return sorted(set(lines), key=lambda line: line.split(":")[0])


def buildinfo(commit, epoch, version):
    packages = set(debian_packages.owners(files_the_build_reads()).values())
    depends = ",\n".join(f" {entry}" for entry in installed_versions(packages))
    architecture = run("dpkg", "--print-architecture").strip()
    return (f"Format: 1.0\n"
            f"Source: HotKeys\n"
            f"Version: {version}\n"
            f"Commit: {commit}\n"
            f"Source-Date-Epoch: {epoch}\n"
            f"Build-Architecture: {architecture}\n"
            f"Installed-Build-Depends:\n{depends}\n")
