"""Leaves out, in each gcovr tracefile, the branches of the lines that its target did not run
but another target did.

gcov marks a call's exception edge as such only in a function that ran, so in a function that
one target never ran every such edge reads as a branch not taken; merged with a target that ran
the line, they would count as branches that no test takes. The target that ran the line says
which of its branches were taken."""

import json
import sys


def lines_of(tracefile):
    for entry in tracefile["files"]:
        for line in entry["lines"]:
            yield entry["file"], line


def main(paths):
    tracefiles = {}
    for path in paths:
        with open(path) as file:
            tracefiles[path] = json.load(file)
    ran = {(name, line["line_number"]) for tracefile in tracefiles.values()
           for name, line in lines_of(tracefile) if line["count"]}
    for path, tracefile in tracefiles.items():
        for name, line in lines_of(tracefile):
            if not line["count"] and (name, line["line_number"]) in ran:
                line["branches"] = []
        with open(path, "w") as file:
            json.dump(tracefile, file)


if __name__ == "__main__":
    main(sys.argv[1:])
