"""What GNU ld's link map (-Map) says went into a program from outside its own build: each
archive member it included, and each object file it loaded whole (the start files)."""

import collections
import os
import re

# "path(member)" opens a line only in the map's first section, one line per member included;
# the reference that pulled it in follows on that line or the next, indented. The headings are
# in the language of the build's locale, so the lines are known by their shape alone, and the
# object files by the linker script's LOAD.
INCLUDED_MEMBER = re.compile(r"^(\S+\.a)\(([^)]+)\)")
LOADED_OBJECT = re.compile(r"^LOAD (\S+\.o)$")


def linked_inputs(map_text):
    """{absolute path of each archive or object file: sorted member names (empty for an object
    file)}. Relative paths are the build's own objects and archives, which the linker is given
    from the build tree."""
    inputs = collections.defaultdict(set)
    for line in map_text.splitlines():
        included = INCLUDED_MEMBER.match(line)
        if included:
            inputs[included.group(1)].add(included.group(2))
        loaded = LOADED_OBJECT.match(line)
        if loaded:
            inputs[loaded.group(1)]
    return {os.path.normpath(path): sorted(members) for path, members in inputs.items()
            if os.path.isabs(path)}
