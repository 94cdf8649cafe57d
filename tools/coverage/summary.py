"""Turns gcovr's JSON summary into the text summary of `make coverage`: the lines and branches
run, for the whole program, each folder and each file."""

import collections
import json
import sys


def share(covered, total):
    return f"{covered:5}/{total:<5} {100 * covered / total:5.1f} %" if total else f"{'-':>19}"


def row(name, counts):
    return f"{name:<40} {share(counts[0], counts[1])}   {share(counts[2], counts[3])}"


def main(path):
    with open(path) as summary:
        files = json.load(summary)["files"]
    folders = collections.defaultdict(lambda: [0, 0, 0, 0])
    total = [0, 0, 0, 0]
    lines = []
    for entry in sorted(files, key=lambda e: e["filename"]):
        counts = [entry["line_covered"], entry["line_total"], entry["branch_covered"],
                  entry["branch_total"]]
        for i, count in enumerate(counts):
            folders[entry["filename"].split("/")[0]][i] += count
            total[i] += count
        lines.append(row(entry["filename"], counts))
    heading = f"{'':<40} {'lines run':>19}   {'branches run':>19}"
    print("Lines and branches of the program that the unit and end-to-end tests run; a call's")
    print("exception edges are not counted as branches.\n")
    print(heading)
    print(row("program", total) + "\n")
    for folder in sorted(folders):
        print(row(folder + "/", folders[folder]))
    print()
    print("\n".join(lines))


if __name__ == "__main__":
    main(sys.argv[1])
