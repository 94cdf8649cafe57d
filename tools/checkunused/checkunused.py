#!/usr/bin/env python3
"""Fails when the program holds a function, constant or type that the program itself never uses:
one referenced only from the tests, the benchmarks or the fuzzers counts as unused, since none of
them is read.

    checkunused.py --root REPO [--allowed FILE]

The program's files are those of the folders that hold a DEPS file. Functions are found by
cppcheck's unusedFunction check over all of them at once; constants (kName) and types (class,
struct, enum, using) by counting where their names appear outside their own declaration. A name
in the allow-list is let through; each entry there says why.
"""

import argparse
import re
import subprocess
import sys
from pathlib import Path

CPPCHECK_FINDING = re.compile(
    r"^(?P<file>[^:]+):(?P<line>\d+):\d+: style: The function '(?P<name>[^']+)' is never used\.")
DECLARATIONS = (
    ("constant", re.compile(r"\bconst(?:expr|init)?\b[^;=(]*?\b(?P<name>k[A-Z]\w*)\s*(?:=|\{|\[)")),
    ("type", re.compile(r"^\s*(?:enum\s+class|enum|class|struct)\s+(?:\[\[[^\]]*\]\]\s*)?"
                        r"(?P<name>[A-Z]\w*)\b(?!\s*;)")),
    ("type", re.compile(r"^\s*using\s+(?P<name>[A-Z]\w*)\s*=")),
)
WORD = re.compile(r"[A-Za-z_]\w*")


def program_files(root):
    files = []
    for deps in sorted(root.glob("*/DEPS")):
        files += sorted(p for p in deps.parent.iterdir() if p.suffix in (".h", ".cpp"))
    return files


def without_comments_and_strings(text):
    """Keeps the line structure, so that line numbers still hold."""
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'',
                         re.DOTALL)
    return pattern.sub(lambda m: "\n" * m.group(0).count("\n") if m.group(0).startswith("/*")
                       else ('""' if m.group(0).startswith('"') else ""), text)


def declarations(code_by_file):
    found = []
    for path, code in code_by_file.items():
        for number, line in enumerate(code.splitlines(), 1):
            for kind, pattern in DECLARATIONS:
                match = pattern.search(line)
                if match:
                    found.append((path, number, kind, match.group("name")))
    return found


def unused_names(code_by_file):
    """Constants and types whose name appears nowhere but on its own declaration lines."""
    uses = {}
    for path, code in code_by_file.items():
        for number, line in enumerate(code.splitlines(), 1):
            for word in set(WORD.findall(line)):
                uses.setdefault(word, set()).add((path, number))
    declared = declarations(code_by_file)
    sites = {}
    for path, number, _, name in declared:
        sites.setdefault(name, set()).add((path, number))
    return [(path, number, kind, name) for path, number, kind, name in declared
            if uses.get(name, set()) <= sites[name]]


def unused_functions(root, files, cppcheck):
    result = subprocess.run(
        [cppcheck, "--enable=unusedFunction", "--language=c++", "--std=c++20", "--quiet",
         "-I", ".", "--platform=win64", "--library=windows", "-D_WIN32", "-D_WIN64",
         *[str(p.relative_to(root)) for p in files]],
        cwd=root, capture_output=True, text=True)
    found = []
    for line in result.stderr.splitlines():
        match = CPPCHECK_FINDING.match(line)
        if match:
            found.append((root / match["file"], int(match["line"]), "function", match["name"]))
    if result.returncode != 0 and not found:
        raise RuntimeError(f"cppcheck failed: {result.stderr[-2000:]}")
    return found


def read_allowed(path):
    """Lines of `name  why`; a name without a reason is refused."""
    allowed = {}
    for number, line in enumerate(path.read_text().splitlines(), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        name, _, why = line.partition(" ")
        if not why.strip():
            raise ValueError(f"{path}:{number}: '{name}' is allowed without a reason")
        allowed[name] = why.strip()
    return allowed


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=Path, default=Path(__file__).resolve().parents[2])
    parser.add_argument("--allowed", type=Path,
                        default=Path(__file__).resolve().parent / "allowed.txt")
    parser.add_argument("--cppcheck", default="cppcheck")
    args = parser.parse_args(argv)
    root = args.root.resolve()
    files = program_files(root)
    code = {p: without_comments_and_strings(p.read_text(encoding="latin-1")) for p in files}
    allowed = read_allowed(args.allowed)
    findings = sorted(unused_functions(root, files, args.cppcheck) + unused_names(code))
    left = [f for f in findings if f[3] not in allowed]
    for path, number, kind, name in left:
        print(f"{path.relative_to(root)}:{number}: the {kind} '{name}' is used only outside the "
              "program, or nowhere")
    print(f"unused code: {len(files)} program files, {len(left)} unused, "
          f"{len(findings) - len(left)} allowed ({', '.join(sorted(allowed)) or 'none'})")
    return 1 if left else 0


if __name__ == "__main__":
    sys.exit(main())
