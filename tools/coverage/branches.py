"""Sets the branches of each gcovr tracefile from gcov's JSON output, a call's exception edges
left out.

gcovr reads gcov's text output, which marks an exception edge as such only in a function that
ran: in a function, or an instance of a template, that never ran, every such edge reads as a
branch not taken. gcov's JSON output marks each one wherever it is.

Where one target never ran a line that another target did, the first target's branches of that
line are left out too: compiled for another architecture, its branches need not be the same, and
the target that ran the line says which were taken.

Standard input names one tracefile a line: the tracefile, the object folder of its target and
that target's gcov."""

import json
import os
import subprocess
import sys


def fields(record, where, *names):
    """The named fields of one record of gcov's or gcovr's output; a field missing means that the
    tool's layout has changed under this script, which then stops rather than count wrongly."""
    missing = [name for name in names if name not in record]
    if missing:
        sys.exit(f"tools/coverage/branches.py: {where} has no field {', '.join(missing)}; "
                 "its output is no longer laid out as this script reads it")
    return [record[name] for name in names]


def branches_of(objects, gcov, root):
    """(file, line) -> that line's branches, with the exception edges marked, over every function
    and template instance of the target."""
    found = {}
    for folder, _, names in os.walk(objects):
        for name in names:
            if not name.endswith(".gcda"):
                continue
            output = subprocess.run(
                [gcov, "--json-format", "--stdout", "--branch-probabilities",
                 "--object-directory", folder, os.path.join(folder, name)],
                cwd=root, check=True, capture_output=True, text=True).stdout
            where = f"{gcov} --json-format of {name}"
            for document in output.splitlines():
                for source in fields(json.loads(document), where, "files")[0]:
                    file, lines = fields(source, where, "file", "lines")
                    path = os.path.relpath(os.path.join(root, file), root)
                    for line in lines:
                        number, branches = fields(line, where, "line_number", "branches")
                        merged = found.setdefault((path, number), [])
                        for index, branch in enumerate(branches):
                            count, fallthrough, throw = fields(branch, where, "count",
                                                               "fallthrough", "throw")
                            if index == len(merged):
                                merged.append({"count": 0, "fallthrough": fallthrough,
                                               "throw": False})
                            merged[index]["count"] += count
                            merged[index]["throw"] |= throw
    return found


def lines_of(tracefile, tracefile_path):
    where = f"gcovr's {tracefile_path}"
    for source in fields(tracefile, where, "files")[0]:
        file, lines = fields(source, where, "file", "lines")
        for line in lines:
            fields(line, where, "line_number", "count", "branches")
            yield file, line


def main(root, runs):
    tracefiles = {}
    for tracefile_path, objects, gcov in runs:
        with open(tracefile_path) as file:
            tracefile = json.load(file)
        found = branches_of(objects, gcov, root)
        for path, line in lines_of(tracefile, tracefile_path):
            line["branches"] = [branch for branch in found.get((path, line["line_number"]), [])
                                if not branch["throw"]]
        tracefiles[tracefile_path] = tracefile
    ran = {(path, line["line_number"]) for tracefile_path, tracefile in tracefiles.items()
           for path, line in lines_of(tracefile, tracefile_path) if line["count"]}
    for tracefile_path, tracefile in tracefiles.items():
        for path, line in lines_of(tracefile, tracefile_path):
            if not line["count"] and (path, line["line_number"]) in ran:
                line["branches"] = []
        with open(tracefile_path, "w") as file:
            json.dump(tracefile, file)


if __name__ == "__main__":
    main(os.getcwd(), [line.split() for line in sys.stdin if line.strip()])
