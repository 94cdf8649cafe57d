#!/usr/bin/env python3
"""Checks the folder layering of the product code.

Each top-level folder holding a DEPS file is a product folder. Its DEPS says
which other product folders its files may include (`include NAME...`) and
whether the folder is portable (`portable`: no Windows halves at all). The
checker reports every include that breaks those rules, every cycle among the
folders or among the units of one folder (Foo.h with Foo.cpp), and optionally
a folder that has grown past a share of all lines.
"""

import argparse
import fnmatch
import os
import posixpath
import re
import sys
from dataclasses import dataclass, field
from pathlib import Path

DEPS_NAME = "DEPS"
SOURCE_SUFFIXES = (".h", ".cpp")
WINDOWS_HALF_SUFFIXES = ("_win.h", "_win.cpp")
WINDOWS_SYSTEM_HEADERS = frozenset({
    "windows.h", "windowsx.h", "shellapi.h", "ole2.h", "objbase.h",
    "commctrl.h", "winuser.h", "wingdi.h", "winbase.h", "shlobj.h",
})
INCLUDE_LINE = re.compile(r'^\s*#\s*include\s*([<"])([^">]*)[">]')
NO_INCLUDES = "\u2014"


@dataclass
class Rule:
    """What one folder's DEPS allows; line numbers kept for error messages."""
    folder: str
    allowed: dict[str, int] = field(default_factory=dict)
    portable: bool = False


@dataclass
class Report:
    folders: list[str]
    file_count: int
    lines: dict[str, int]
    included: dict[str, set[str]]
    order: list[str]
    violations: list[str]


def find_product_folders(root: Path) -> list[str]:
    return sorted(entry.name for entry in root.iterdir()
                  if entry.is_dir() and (entry / DEPS_NAME).is_file())


def parse_deps(folder: str, text: str) -> tuple[Rule, list[str]]:
    rule = Rule(folder)
    errors = []
    for number, raw in enumerate(text.splitlines(), start=1):
        words = raw.split("#", 1)[0].split()
        if not words:
            continue
        if words[0] == "include":
            for name in words[1:]:
                rule.allowed.setdefault(name, number)
        elif words == ["portable"]:
            rule.portable = True
        else:
            errors.append(f"{folder}/{DEPS_NAME}:{number}: "
                          f"unknown line '{raw.strip()}' "
                          "(expected 'include NAME...' or 'portable')")
    return rule, errors


def check_allowed_names(rule: Rule, folders: list[str]) -> list[str]:
    errors = []
    for name, number in rule.allowed.items():
        where = f"{rule.folder}/{DEPS_NAME}:{number}"
        if name == rule.folder:
            errors.append(f"{where}: names its own folder {name}")
        elif name not in folders:
            errors.append(f"{where}: names {name}, which is not a product folder")
    return errors


def declared_graph(rules: dict[str, Rule]) -> dict[str, set[str]]:
    return {folder: {name for name in rule.allowed
                     if name in rules and name != folder}
            for folder, rule in rules.items()}


def files_under(root: Path, folder: str) -> list[str]:
    """All files below the folder, as sorted root-relative paths with '/'."""
    found = []
    for directory, subdirectories, names in os.walk(root / folder):
        subdirectories.sort()
        relative = Path(directory).relative_to(root).as_posix()
        found.extend(f"{relative}/{name}" for name in sorted(names))
    return found


def is_windows_half(path: str) -> bool:
    return path.endswith(WINDOWS_HALF_SUFFIXES)


def read_text(path: Path) -> str:
    # Sources are UTF-8; a stray byte must not stop the whole check.
    return path.read_bytes().decode("utf-8", errors="replace")


def count_lines(text: str) -> int:
    return text.count("\n") + (0 if text.endswith("\n") or not text else 1)


def includes_in(text: str) -> list[tuple[str, str]]:
    """(delimiter, header) for every #include line, delimiter '"' or '<'."""
    return [match.groups() for match in map(INCLUDE_LINE.match, text.splitlines())
            if match]


def check_quoted_include(root: Path, path: str, header: str, rule: Rule,
                         folders: list[str]) -> tuple[list[str], str | None]:
    """Violations of one quoted include, and the product folder it reaches."""
    errors = []
    if is_windows_half(header) and not is_windows_half(path):
        errors.append(f"{path}: portable file includes the Windows half {header}")
    normal = posixpath.normpath(header)
    target = normal.split("/", 1)[0]
    if "/" not in normal or target not in folders:
        errors.append(f"{path}: includes \"{header}\", which is not in a product folder "
                      "(product code includes product code only, as folder/File.h)")
        return errors, None
    if not (root / normal).is_file():
        errors.append(f"{path}: includes {header}, which does not exist")
    if target != rule.folder and target not in rule.allowed:
        errors.append(f"{path}: includes {header}, but {rule.folder}/{DEPS_NAME} "
                      f"does not allow {target}")
    return errors, target


def check_source_file(root: Path, path: str, text: str, rule: Rule,
                      folders: list[str]) -> tuple[list[str], set[str]]:
    """Violations in one source file, and the other product folders it includes."""
    errors = []
    reached = set()
    for delimiter, header in includes_in(text):
        if delimiter == "<":
            if header.lower() in WINDOWS_SYSTEM_HEADERS and not is_windows_half(path):
                errors.append(f"{path}: portable file includes <{header}>")
            continue
        found, target = check_quoted_include(root, path, header, rule, folders)
        errors.extend(found)
        if target and target != rule.folder:
            reached.add(target)
    return errors, reached


def unit_of(path: str) -> str:
    """A header and its source are one unit: app/Foo.h and app/Foo.cpp are app/Foo."""
    return posixpath.splitext(posixpath.normpath(path))[0]


def units_included(path: str, text: str, folder: str) -> set[str]:
    """The other units of its own folder that a file includes."""
    return {unit_of(header) for delimiter, header in includes_in(text)
            if delimiter == '"' and unit_of(header).split("/", 1)[0] == folder} - {unit_of(path)}


def check_portable_folder(rule: Rule, paths: list[str]) -> list[str]:
    if not rule.portable:
        return []
    return [f"{path}: Windows file in {rule.folder}/, which its {DEPS_NAME} marks portable"
            for path in paths if fnmatch.fnmatch(posixpath.basename(path), "*_win.*")]


def find_cycles(graph: dict[str, set[str]]) -> list[list[str]]:
    """One cycle for every back edge a depth-first walk meets.

    Each is a closed path starting at its first name, so the report reads the
    same whichever folder the walk happened to enter the cycle from.
    """
    cycles = []
    finished = set()
    walking = []

    def visit(node: str) -> None:
        walking.append(node)
        for following in sorted(graph.get(node, ())):
            if following in walking:
                loop = walking[walking.index(following):]
                start = loop.index(min(loop))
                cycles.append(loop[start:] + loop[:start] + [loop[start]])
            elif following not in finished:
                visit(following)
        walking.pop()
        finished.add(node)

    for node in sorted(graph):
        if node not in finished:
            visit(node)
    return cycles


def layer_order(graph: dict[str, set[str]]) -> list[str]:
    """Folders from the lowest layer up; each layer sorted by name.

    A folder's layer is one above the highest folder it depends on. Folders
    caught in a cycle have no layer and come last, by name.
    """
    placed: list[str] = []
    remaining = set(graph)
    while remaining:
        layer = sorted(folder for folder in remaining
                       if graph[folder].isdisjoint(remaining))
        if not layer:
            layer = sorted(remaining)
        placed.extend(layer)
        remaining.difference_update(layer)
    return placed


def share_percent(lines: int, total: int) -> int:
    """Whole percentage, halves rounded up."""
    return (lines * 200 + total) // (2 * total) if total else 0


def check_max_share(lines: dict[str, int], max_share: float) -> list[str]:
    total = sum(lines.values())
    return [f"{folder}/: holds {count:,} of {total:,} product lines "
            f"({count * 100 / total:.1f} %), above the {max_share:g} % limit"
            for folder, count in sorted(lines.items())
            if count * 100 > max_share * total]


def format_table(report: Report) -> str:
    total = sum(report.lines.values())
    rows = ["| folder | lines | share | includes |", "|---|---|---|---|"]
    for folder in report.order:
        reached = [other for other in report.order if other in report.included[folder]]
        rows.append(f"| {folder}/ | {report.lines[folder]:,} "
                    f"| {share_percent(report.lines[folder], total)} % "
                    f"| {', '.join(reached) or NO_INCLUDES} |")
    rows.append(f"| total | {total:,} | {100 if total else 0} % | |")
    return "\n".join(rows)


def check(root: Path, max_share: float | None = None) -> Report:
    folders = find_product_folders(root)
    rules: dict[str, Rule] = {}
    violations: list[str] = []
    for folder in folders:
        rules[folder], errors = parse_deps(folder, read_text(root / folder / DEPS_NAME))
        violations += errors
    for folder in folders:
        violations += check_allowed_names(rules[folder], folders)

    lines = dict.fromkeys(folders, 0)
    included = {folder: set() for folder in folders}
    units: dict[str, set[str]] = {}
    file_count = 0
    for folder in folders:
        paths = files_under(root, folder)
        violations += check_portable_folder(rules[folder], paths)
        for path in [path for path in paths if path.endswith(SOURCE_SUFFIXES)]:
            text = read_text(root / path)
            errors, reached = check_source_file(root, path, text, rules[folder], folders)
            violations += errors
            included[folder] |= reached
            units.setdefault(unit_of(path), set()).update(units_included(path, text, folder))
            lines[folder] += count_lines(text)
            file_count += 1

    declared = declared_graph(rules)
    violations += [f"{cycle[0]}/{DEPS_NAME}: cycle: {' -> '.join(cycle)}"
                   for cycle in find_cycles(declared)]
    violations += [f"{cycle[0]}/: its files include in a cycle: {' -> '.join(cycle)}"
                   for cycle in find_cycles(included)]
    violations += [f"{cycle[0].split('/')[0]}/: its units (Foo.h with Foo.cpp) include in a "
                   f"cycle: {' -> '.join(cycle)}" for cycle in find_cycles(units)]
    if max_share is not None:
        violations += check_max_share(lines, max_share)
    return Report(folders, file_count, lines, included, layer_order(declared), violations)


def parse_arguments(argv: list[str] | None) -> argparse.Namespace:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=Path,
                        default=Path(__file__).resolve().parents[2],
                        help="repository root (default: two levels above this script)")
    parser.add_argument("--max-share", type=float, metavar="PERCENT",
                        help="report a folder holding more than PERCENT of all product lines")
    parser.add_argument("--table", action="store_true",
                        help="print a Markdown table of the folders, lowest layer first")
    return parser.parse_args(argv)


def main(argv: list[str] | None = None) -> int:
    arguments = parse_arguments(argv)
    report = check(arguments.root, arguments.max_share)
    if not report.folders:
        print(f"{arguments.root}: no product folders (no top-level folder holds a "
              f"{DEPS_NAME} file)")
        return 1
    if arguments.table:
        print(format_table(report))
    for violation in report.violations:
        print(violation)
    count = len(report.violations)
    outcome = f"{count} violation{'' if count == 1 else 's'}" if count else "no violations"
    print(f"layering: {len(report.folders)} folders, {report.file_count} files, {outcome}")
    return 1 if report.violations else 0


if __name__ == "__main__":
    sys.exit(main())
