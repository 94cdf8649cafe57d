"""Tests for checkdeps: small product trees, each broken in one way."""

import contextlib
import io
import tempfile
import unittest
from pathlib import Path

import checkdeps

# Five folders in four layers, whose order the alphabet would get wrong.
LAYERED = {
    "base/DEPS": "# The ground floor.\nportable\n",
    "base/Error.h": "#pragma once\n#include <string>\n\nstruct Error {};\n",
    "platform/DEPS": "include base\n",
    "platform/Window_win.h": '#include <windows.h>\n#include "base/Error.h"\n',
    "platform/Window_win.cpp": '#include "platform/Window_win.h"\n',
    "picture/DEPS": "include base  # pictures need nothing else\n",
    "picture/Bitmap.h": '#pragma once\n#include "base/Error.h"',
    "form/DEPS": "include base\ninclude platform\n",
    "form/Form.h": '  #  include "base/Error.h"\n',
    "app/DEPS": "include\ninclude base platform picture form\n",
    "app/Main.h": "",
    "app/Main_win.cpp": ('#include <Windows.h>\n#include "platform/Window_win.h"\n'
                         '#include "form/Form.h"\n#include "picture/Bitmap.h"\n'
                         '#include "app/Main.h"\n'),
    "app/detail/Title.cpp": '#include "app/Main.h"\n',
    "app/Icon_win.ico": "",
    "tests/MainTest.cpp": '#include "tests/Helpers.h"\n',
}


def write_tree(root, files):
    for path, text in files.items():
        (Path(root) / path).parent.mkdir(parents=True, exist_ok=True)
        (Path(root) / path).write_text(text)


def check(files, max_share=None):
    with tempfile.TemporaryDirectory() as root:
        write_tree(root, files)
        return checkdeps.check(Path(root), max_share)


def violations(changes):
    return check({**LAYERED, **changes}).violations


class CheckDepsTest(unittest.TestCase):
    def test_layered_tree_is_clean(self):
        report = check(LAYERED)
        self.assertEqual(report.violations, [])
        self.assertEqual(report.folders, ["app", "base", "form", "picture", "platform"])
        self.assertEqual(report.file_count, 8)

    def test_each_bad_include_is_reported_against_its_file(self):
        cases = [
            ({"form/Form.h": '#include "picture/Bitmap.h"\n'},
             "form/Form.h", ["picture/Bitmap.h", "form/DEPS does not allow picture"]),
            ({"app/detail/Title.cpp": '#include "tests/Helpers.h"\n'},
             "app/detail/Title.cpp", ["tests/Helpers.h", "not in a product folder"]),
            ({"form/Form.h": '#include "Form.h"\n'},
             "form/Form.h", ['"Form.h"', "not in a product folder"]),
            ({"form/Form.h": '#include "../platform/Window.h"\n'},
             "form/Form.h", ["../platform/Window.h", "not in a product folder"]),
            ({"form/Form.h": '#include "base/Missing.h"\n'},
             "form/Form.h", ["base/Missing.h", "does not exist"]),
            ({"form/Form.h": '#include "platform/Window_win.h"\n'},
             "form/Form.h", ["portable", "platform/Window_win.h"]),
            ({"app/detail/Title.cpp": "#include <ShellAPI.h>\n"},
             "app/detail/Title.cpp", ["portable", "<ShellAPI.h>"]),
            ({"base/Error_win.cpp": ""},
             "base/Error_win.cpp", ["in base/", "marks portable"]),
        ]
        for changes, path, fragments in cases:
            with self.subTest(changes=changes):
                found = violations(changes)
                self.assertEqual(len(found), 1, found)
                self.assertTrue(found[0].startswith(path + ": "), found[0])
                for fragment in fragments:
                    self.assertIn(fragment, found[0])

    def test_every_violation_is_reported_not_just_the_first(self):
        found = violations({"form/Form.h": '#include "picture/Bitmap.h"\n#include <windows.h>\n',
                            "picture/Bitmap.h": '#include "platform/Missing.h"\n'})
        self.assertEqual([violation.split(":")[0] for violation in found],
                         ["form/Form.h"] * 2 + ["picture/Bitmap.h"] * 2)

    def test_deps_lines_are_checked_with_their_line_numbers(self):
        cases = [
            ("include base\n\n# platform below\nrequire platform\n",
             ["form/DEPS:4: unknown line 'require platform'"]),
            ("include base platform\nportable please\n", ["form/DEPS:2: unknown line"]),
            ("include base platform tests\n", ["form/DEPS:1: names tests"]),
            ("include base\ninclude platform form\n", ["form/DEPS:2: names its own folder"]),
            ("# comment only\ninclude base platform # and nothing above\n", []),
        ]
        for deps, expected in cases:
            with self.subTest(deps=deps):
                found = violations({"form/DEPS": deps})
                self.assertEqual(len(found), len(expected), found)
                for violation, start in zip(found, expected):
                    self.assertTrue(violation.startswith(start), violation)

    def test_cycles_are_reported_as_paths(self):
        declared = violations({"base/DEPS": "portable\ninclude picture\n"})
        self.assertEqual(declared, ["base/DEPS: cycle: base -> picture -> base"])
        included = violations({"base/Error.h": '#include "form/Form.h"\n'})
        self.assertEqual(len(included), 2, included)
        self.assertIn("base/DEPS does not allow form", included[0])
        self.assertTrue(included[1].endswith("cycle: base -> form -> base"), included[1])
        units = violations({"app/Main.h": '#include "app/detail/Title.h"\n',
                            "app/detail/Title.h": ""})
        self.assertEqual(units, ["app/: its units (Foo.h with Foo.cpp) include in a cycle: "
                                 "app/Main -> app/detail/Title -> app/Main"])

    def test_find_cycles_tells_a_cycle_from_a_shared_dependency(self):
        cases = [
            ({"a": {"b", "c"}, "b": {"d"}, "c": {"d"}, "d": set()}, []),
            ({"a": {"b"}, "b": {"c"}, "c": {"a"}}, [["a", "b", "c", "a"]]),
            ({"a": {"b"}, "b": set(), "c": {"d"}, "d": {"c"}}, [["c", "d", "c"]]),
            ({"a": {"c"}, "c": {"d"}, "d": {"b"}, "b": {"c"}}, [["b", "c", "d", "b"]]),
        ]
        for graph, expected in cases:
            with self.subTest(graph=graph):
                self.assertEqual(checkdeps.find_cycles(graph), expected)

    def test_max_share_fires_above_the_limit_and_not_at_it(self):
        files = {"small/DEPS": "", "small/A.h": "\n" * 40,
                 "large/DEPS": "include small\n", "large/B.h": "\n" * 60}
        for limit, flagged in [(60, []), (59.5, ["large"]), (40, ["large"]),
                               (39.9, ["large", "small"])]:
            with self.subTest(limit=limit):
                found = check(files, limit).violations
                self.assertEqual([violation.split("/")[0] for violation in found], flagged)

    def test_table_lists_folders_by_layer_with_lines_and_actual_includes(self):
        report = check(LAYERED)
        self.assertEqual(checkdeps.format_table(report).splitlines(), [
            "| folder | lines | share | includes |",
            "|---|---|---|---|",
            "| base/ | 4 | 25 % | \u2014 |",
            "| picture/ | 2 | 13 % | base |",
            "| platform/ | 3 | 19 % | base |",
            "| form/ | 1 | 6 % | base |",
            "| app/ | 6 | 38 % | picture, platform, form |",
            "| total | 16 | 100 % | |",
        ])
        self.assertEqual(checkdeps.share_percent(0, 0), 0)
        table = checkdeps.format_table(check({"big/DEPS": "", "big/Big.cpp": "x\n" * 1234}))
        self.assertEqual(table.splitlines()[2:], ["| big/ | 1,234 | 100 % | \u2014 |",
                                                  "| total | 1,234 | 100 % | |"])

    def test_command_line_prints_table_then_violations_then_summary(self):
        table_head = "| folder | lines | share | includes |"
        cases = [
            (LAYERED, 0, 9, table_head, "layering: 5 folders, 8 files, no violations"),
            ({**LAYERED, "form/Form.h": '#include "picture/Bitmap.h"\n'}, 1, 10,
             table_head, "layering: 5 folders, 8 files, 1 violation"),
            ({"tests/MainTest.cpp": ""}, 1, 1, "", "no product folders"),
        ]
        for files, status, line_count, first, last in cases:
            with self.subTest(last=last), tempfile.TemporaryDirectory() as root:
                write_tree(root, files)
                output = io.StringIO()
                with contextlib.redirect_stdout(output):
                    self.assertEqual(checkdeps.main(["--root", root, "--table"]), status)
                lines = output.getvalue().splitlines()
                self.assertEqual(len(lines), line_count, lines)
                self.assertTrue(lines[0].startswith(first), lines[0])
                self.assertIn(last, lines[-1])

if __name__ == "__main__":
    unittest.main()
