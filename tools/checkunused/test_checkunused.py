"""Tests for checkunused: small program trees, each with its own kind of unused code."""

import contextlib
import io
import tempfile
import unittest
from pathlib import Path

import checkunused

# A program that uses everything it declares; the tests reach into it too.
USED = {
    "base/DEPS": "\n",
    "base/Size.h": ("#pragma once\nnamespace hk {\nconstexpr int kLimit = 4;\n"
                    "struct Size { int width; };\nusing Count = unsigned;\n"
                    "Count clamp(Size size);\n}\n"),
    "base/Size.cpp": ('#include "base/Size.h"\nnamespace hk {\n'
                      "Count clamp(Size size) { return size.width < kLimit ? 0 : 1; }\n}\n"),
    "app/DEPS": "include base\n",
    "app/Main.cpp": ('#include "base/Size.h"\n'
                     "int main() { return static_cast<int>(hk::clamp({3})); }\n"),
    "tests/SizeTest.cpp": '#include "base/Size.h"\nint t() { return hk::kLimit; }\n',
}


def run_check(files, allowed="# nothing\n"):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            (Path(root) / path).parent.mkdir(parents=True, exist_ok=True)
            (Path(root) / path).write_text(text)
        (Path(root) / "allowed.txt").write_text(allowed)
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            code = checkunused.main(["--root", root, "--allowed", str(Path(root) / "allowed.txt")])
        return code, out.getvalue()


def changed(path, old, new):
    files = dict(USED)
    assert old in files[path]
    files[path] = files[path].replace(old, new)
    return files


class CheckUnusedTest(unittest.TestCase):
    def test_a_program_that_uses_all_it_declares_passes(self):
        code, out = run_check(USED)
        self.assertEqual(code, 0, out)

    def test_each_kind_used_only_outside_the_program_fails(self):
        cases = {
            "function": changed("base/Size.h", "Count clamp(Size size);\n",
                                "Count clamp(Size size);\ninline int twice(int x) { return 2 * x; }\n"),
            "constant": changed("base/Size.cpp", "size.width < kLimit", "size.width < 4"),
            "type": changed("base/Size.h", "struct Size { int width; };\n",
                            "struct Size { int width; };\nenum class Spare { One };\n"),
            "alias": changed("base/Size.h", "using Count = unsigned;\n",
                             "using Count = unsigned;\nusing Spare = int;\n"),
        }
        expected = {"function": "'twice'", "constant": "'kLimit'", "type": "'Spare'",
                    "alias": "'Spare'"}
        for kind, files in cases.items():
            with self.subTest(kind):
                code, out = run_check(files)
                self.assertEqual(code, 1, out)
                self.assertIn(expected[kind], out)

    def test_a_name_in_a_comment_or_string_is_no_use(self):
        files = changed("app/Main.cpp", "int main()",
                        '// kLimit\nconst char* text = "kLimit";\nint main()')
        files = changed("base/Size.cpp", "size.width < kLimit", "size.width < 4") | {
            "app/Main.cpp": files["app/Main.cpp"]}
        code, out = run_check(files)
        self.assertEqual(code, 1, out)
        self.assertIn("'kLimit'", out)

    def test_an_allowed_name_passes_only_with_a_reason(self):
        files = changed("base/Size.cpp", "size.width < kLimit", "size.width < 4")
        code, out = run_check(files, "kLimit  read by the debugger\n")
        self.assertEqual(code, 0, out)
        with self.assertRaises(ValueError):
            run_check(files, "kLimit\n")


if __name__ == "__main__":
    unittest.main()
