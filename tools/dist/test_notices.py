"""The notices follow the link: a throwaway program linked with the toolchain gets the notices
of what went in, and one that also links zlib, which no library of components.json claims, is
refused with the archive and its package named. The rules that pick the paragraphs of Debian's
copyright files are checked on small hand-written ones."""
import pathlib
import subprocess
import tempfile
import unittest

from release import Refused, copyright, debian_packages, dist, linkmap, notices

REPO = pathlib.Path(__file__).resolve().parents[2]
COMPILER = "x86_64-w64-mingw32-gcc-posix"
OBJDUMP = "x86_64-w64-mingw32-objdump"
PROGRAM = "#include <zlib.h>\nint main(void) { return ZLIB_LINK ? (int)compressBound(1) : 0; }\n"


def link(work, name, *libraries):
    """A static Windows program, with the same start files and runtime as HotKeys.exe, and the
    map of its link. Its own object is given by a relative path, as the build gives its own."""
    (work / f"{name}.c").write_text(PROGRAM)
    define = f"-DZLIB_LINK={1 if libraries else 0}"
    subprocess.run([COMPILER, define, "-c", f"{name}.c"], cwd=work, check=True)
    subprocess.run([COMPILER, "-static", "-o", f"{name}.exe", f"{name}.o", f"-Wl,-Map={name}.map",
                    *libraries], cwd=work, check=True)
    return work / f"{name}.map"


def notices_of(link_map):
    """(the notices text, or the refusal)."""
    try:
        return notices.notices_text("9.9.9", notices.components(link_map.read_text(), OBJDUMP))
    except notices.Uncovered as refusal:
        return refusal


def installed_version(package):
    return debian_packages.query("${Version}", [package])[0]


class ThrowawayLink(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.TemporaryDirectory()
        cls.work = pathlib.Path(cls.directory.name)
        cls.plain_notices = notices_of(link(cls.work, "plain"))
        cls.zlib = notices_of(link(cls.work, "zlib", "-lz"))

    @classmethod
    def tearDownClass(cls):
        cls.directory.cleanup()

    def test_a_library_without_notices_is_refused_by_archive_and_package(self):
        self.assertIsInstance(self.zlib, notices.Uncovered)
        libz = "/usr/x86_64-w64-mingw32/lib/libz.a"
        self.assertIn(f"libz.a ({libz}), from the Debian package libz-mingw-w64-dev "
                      f"{installed_version('libz-mingw-w64-dev')}", str(self.zlib))
        self.assertIn("tools/dist/components.json", str(self.zlib))

    def test_the_runtime_linked_is_named_at_the_installed_versions_with_its_notices(self):
        self.assertIsInstance(self.plain_notices, str, self.plain_notices)
        for library, package in (("mingw-w64 runtime", "mingw-w64-x86-64-dev"),
                                 ("libgcc", "gcc-mingw-w64-x86-64-posix")):
            with self.subTest(library=library):
                version = installed_version(package)
                self.assertIn(f"{library} {debian_packages.upstream_version(version)}\n",
                              self.plain_notices)
                self.assertIn(f"  Debian package:  {package} {version}\n", self.plain_notices)
        # The runtime's conditions for binary copies, and the exception of GCC's libraries.
        self.assertIn("2. Redistributions in binary form must reproduce the accompanying",
                      self.plain_notices)
        self.assertIn("GCC RUNTIME LIBRARY EXCEPTION", self.plain_notices)
        self.assertNotIn("winpthreads", self.plain_notices)


# The headings as a French locale gives them.
MAP = """\
Membre d'archive inclus pour satisfaire la référence par fichier (symbole)

/usr/lib/gcc/x/12/../../../../x/lib/libmingw32.a(lib64_libmingw32_a-crt0_c.o)
                              /usr/x/lib/crt2.o (main)
/usr/lib/gcc/x/12/libgcc.a(_ctors.o)  /usr/x/lib/crt2.o (__main)
libhotkeys_core.a(ByteReader.cpp.obj)
                              objects.a(Main_win.cpp.obj) (ByteReader)

Sections d'entrée supprimées

 .text          0x0 0x0 /usr/x/lib/libmingw32.a(lib64_libmingw32_a-other.o)

Script de l'éditeur de liens et table de projection mémoire

LOAD /usr/x/lib/../lib/crt2.o
LOAD objects.a
LOAD /usr/x/lib/libkernel32.a
"""

MACHINE_READABLE = copyright.MACHINE_READABLE + """
Upstream-Name: example

Files: *
Copyright: 2020 the project
License: ZPL-2.1
 Binary copies must reproduce this.
 .
 No warranty.

Files: runtime/misc/*
Copyright: public-domain
License: public-domain

Files: runtime/misc/getopt.c
Copyright: 2000 Someone
License: BSD-2-clause-NetBSD and ISC

Files: runtime/tests/*
Copyright: 2001 Tester
License: GPL-2+

Files: tools/gendef/*
Copyright: 2009 Tool writer
License: GPL-3+

License: public-domain
 Placed in the public domain.

License: BSD-2-clause-NetBSD
 Two clauses.

License: ISC
 Permission to use.
"""

RUNTIME = {"code": ["*", "runtime/"], "headers": [], "left out": ["runtime/tests/"]}


def paragraphs_taken(sources, table=None):
    table = table or notices.load_table()
    _, copyright_text, sections, refs, _ = notices.machine_readable_notices(
        table, RUNTIME, MACHINE_READABLE, sources)
    return copyright_text, sections, refs


class BuiltPrograms(unittest.TestCase):
    def test_every_library_linked_into_both_built_programs_has_its_notices(self):
        # The presets' builds (`make build`) link as `make dist` does; a Debian update that
        # moves a paragraph of a copyright file is found here, not only when releasing.
        for arch, _ in dist.PROGRAMS:
            with self.subTest(arch=arch):
                _, text = dist.linked_libraries(REPO / "build" / arch, "9.9.9")
                self.assertIn("GCC RUNTIME LIBRARY EXCEPTION", text)


class Rules(unittest.TestCase):
    def test_the_map_gives_included_members_and_start_files_from_outside_the_build(self):
        self.assertEqual(linkmap.linked_inputs(MAP), {
            "/usr/x/lib/libmingw32.a": ["lib64_libmingw32_a-crt0_c.o"],
            "/usr/lib/gcc/x/12/libgcc.a": ["_ctors.o"],
            "/usr/x/lib/crt2.o": [],
        })

    def test_a_named_file_paragraph_is_taken_only_when_that_file_is_linked(self):
        without, _, _ = paragraphs_taken({"crt0_c.c"})
        with_getopt, sections, _ = paragraphs_taken({"crt0_c.c", "getopt.c"})
        self.assertNotIn("Someone", without)
        self.assertIn("2000 Someone", with_getopt)
        self.assertTrue(any("Two clauses." in s and "Permission to use." in s for s in sections))

    def test_tools_tests_and_left_out_directories_bring_no_paragraph(self):
        copyright_text, _, _ = paragraphs_taken({"crt0_c.c", "gendef.c", "t1.c"})
        self.assertEqual(copyright_text, "2020 the project\npublic-domain")

    def test_the_licence_is_the_expression_of_the_paragraphs_taken(self):
        table = notices.load_table()
        expression, *_ = notices.machine_readable_notices(table, RUNTIME, MACHINE_READABLE,
                                                          {"getopt.c"})
        self.assertEqual(expression,
                         "BSD-2-Clause AND ISC AND LicenseRef-public-domain AND ZPL-2.1")
        _, _, refs = paragraphs_taken({"getopt.c"})
        self.assertEqual(refs, {"LicenseRef-public-domain": "Placed in the public domain."})

    def test_a_licence_without_an_spdx_identifier_or_a_moved_paragraph_stops_the_build(self):
        table = notices.load_table()
        table["spdx"] = {"ZPL-2.1": "ZPL-2.1"}
        with self.assertRaisesRegex(Refused, 'Debian licence "public-domain"'):
            paragraphs_taken({"crt0_c.c"}, table)
        with self.assertRaisesRegex(Refused, "GCC RUNTIME"):
            copyright.quote("GCC is Copyright\nFree Software Foundation, Inc.\n",
                            "GCC RUNTIME LIBRARY EXCEPTION", "GCC.")

    def test_versions_are_upstream_ones_without_debian_epoch_revision_or_repacking(self):
        for debian, upstream in (("10.0.0-3", "10.0.0"), ("12.2.0-14+deb12u1+25.2+b1", "12.2.0"),
                                 ("1:1.2.13+dfsg-1", "1.2.13")):
            self.assertEqual(debian_packages.upstream_version(debian), upstream)


if __name__ == "__main__":
    unittest.main()
