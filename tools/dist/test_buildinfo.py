"""BUILDINFO names the package of each part of both toolchains, at the version installed, and
nothing of the machine, the directory, the environment or the moment it was written in."""
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

HERE = pathlib.Path(__file__).parent
WRITE = ("import sys; from release import buildinfo; "
         "sys.stdout.write(buildinfo.buildinfo('c0ffee', 1700000000, '1.2.3'))")

# One package for each part of the build that shapes the bytes.
PARTS = {
    "64-bit C++ compiler and libstdc++": "g++-mingw-w64-x86-64-posix",
    "32-bit C++ compiler and libstdc++": "g++-mingw-w64-i686-posix",
    "64-bit libgcc and libssp": "gcc-mingw-w64-x86-64-posix",
    "32-bit libgcc and libssp": "gcc-mingw-w64-i686-posix",
    "64-bit assembler, linker, windres": "binutils-mingw-w64-x86-64",
    "32-bit assembler, linker, windres": "binutils-mingw-w64-i686",
    "64-bit runtime and import libraries": "mingw-w64-x86-64-dev",
    "32-bit runtime and import libraries": "mingw-w64-i686-dev",
    "Windows headers": "mingw-w64-common",
    "the optimiser's polyhedral library": "libisl23",
    "CMake": "cmake",
    "CMake's platform modules": "cmake-data",
    "make": "make",
    "zlib, which deflates the zips": "zlib1g",
}


def write_buildinfo(cwd, **environment):
    env = dict(os.environ, PYTHONPATH=str(HERE), PYTHONDONTWRITEBYTECODE="1", **environment)
    return subprocess.run([sys.executable, "-c", WRITE], cwd=cwd, env=env, check=True,
                          capture_output=True, text=True).stdout


def installed(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], check=True,
                          capture_output=True, text=True).stdout


class BuildInfo(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
            cls.texts = [
                write_buildinfo(first, HOME=first, TZ="UTC", LC_ALL="C", SOURCE_DATE_EPOCH="1"),
                # A library preloaded into the build's tools, as reprotest's faketime is, is no
                # package of the build's; make at a terminal has CMake colour what it prints.
                write_buildinfo(second, HOME=second, TZ="Asia/Tokyo", LC_ALL="C.UTF-8",
                                SOURCE_DATE_EPOCH="2", LD_PRELOAD="libX11.so.6",
                                MAKE_TERMOUT="/dev/pts/0", MAKE_TERMERR="/dev/pts/0"),
            ]
        cls.lines = cls.texts[0].splitlines()

    def test_each_part_of_the_build_is_named_at_its_installed_version(self):
        for part, package in PARTS.items():
            with self.subTest(part=part):
                named = [line for line in self.lines if line.startswith(f" {package}:")]
                self.assertEqual(len(named), 1, self.texts[0])
                qualified_name, version = named[0].strip().rstrip(",").split(" ", 1)
                self.assertEqual(version, f"(= {installed(qualified_name)})")

    def test_the_commit_and_its_time_are_named_and_nothing_of_the_machine(self):
        self.assertEqual(self.texts[0], self.texts[1])
        self.assertIn("Commit: c0ffee", self.lines)
        self.assertIn("Source-Date-Epoch: 1700000000", self.lines)
        self.assertEqual([line for line in self.lines if "/" in line], [])


if __name__ == "__main__":
    unittest.main()
