"""Turns gcovr's JSON of the whole run into the list of `make coverage`'s unrun lines: each line
of the program that no test ran, runs of them together, with the function it lies in."""

import bisect
import json
import sys


def unrun_lines(source):
    return [line["line_number"] for line in source["lines"]
            if not line["count"] and not line.get("gcovr/noncode") and not line.get("gcovr/excluded")]


def runs(numbers):
    """[3, 4, 5, 9] -> [[3, 5], [9, 9]]"""
    found = []
    for number in numbers:
        if found and number == found[-1][1] + 1:
            found[-1][1] = number
        else:
            found.append([number, number])
    return found


def main(path):
    with open(path) as tracefile:
        files = json.load(tracefile)["files"]
    listed = []
    for source in sorted(files, key=lambda s: s["file"]):
        functions = sorted((f["lineno"], f["name"]) for f in source.get("functions", []))
        starts = [start for start, _ in functions]
        for first, last in runs(unrun_lines(source)):
            at = bisect.bisect_right(starts, first) - 1
            function = functions[at][1] if at >= 0 else "outside any function"
            where = f"{first}" if first == last else f"{first}-{last}"
            listed.append((last - first + 1, f"{source['file']}:{where:<9} {function}"))
    print(f"{sum(count for count, _ in listed)} lines of the program that no test runs:\n")
    print("\n".join(text for _, text in listed))


if __name__ == "__main__":
    main(sys.argv[1])
