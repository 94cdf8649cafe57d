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
            for document in output.splitlines():
                for source in json.loads(document)["files"]:
                    path = os.path.relpath(os.path.join(root, source["file"]), root)
                    for line in source["lines"]:
                        merged = found.setdefault((path, line["line_number"]), [])
                        for index, branch in enumerate(line["branches"]):
                            if index == len(merged):
                                merged.append({"count": 0, "fallthrough": branch["fallthrough"],
                                               "throw": False})
                            merged[index]["count"] += branch["count"]
                            merged[index]["throw"] |= branch["throw"]
    return found


def lines_of(tracefile):
    for source in tracefile["files"]:
        for line in source["lines"]:
            yield source["file"], line


def main(root, runs):
    tracefiles = {}
    for tracefile_path, objects, gcov in runs:
        with open(tracefile_path) as file:
            tracefile = json.load(file)
        found = branches_of(objects, gcov, root)
        for path, line in lines_of(tracefile):
            line["branches"] = [branch for branch in found.get((path, line["line_number"]), [])
                                if not branch["throw"]]
        tracefiles[tracefile_path] = tracefile
    ran = {(path, line["line_number"]) for tracefile in tracefiles.values()
           for path, line in lines_of(tracefile) if line["count"]}
    for tracefile_path, tracefile in tracefiles.items():
        for path, line in lines_of(tracefile):
            if not line["count"] and (path, line["line_number"]) in ran:
                line["branches"] = []
        with open(tracefile_path, "w") as file:
            json.dump(tracefile, file)


if __name__ == "__main__":
    main(os.getcwd(), [line.split() for line in sys.stdin if line.strip()])
