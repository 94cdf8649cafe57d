"""What GNU ld's link map (-Map) says went into a program from outside its own build: each
archive member it included, and each object file it loaded whole (the start files)."""

import collections
import os
import re

# "path(member)" opens a line of the first section, the member included and, on the same or the
# next line, the reference that pulled it in.
INCLUDED_MEMBER = re.compile(r"^(\S+\.a)\(([^)]+)\)")
LOADED_OBJECT = re.compile(r"^LOAD (\S+\.o)$")


def linked_inputs(map_text):
    """{absolute path of each archive or object file: sorted member names (empty for an object
    file)}. Relative paths are the build's own objects and archives, which the linker is given
    from the build tree."""
    inputs = collections.defaultdict(set)
    section = ""
    for line in map_text.splitlines():
        if line and not line[0].isspace() and not INCLUDED_MEMBER.match(line) and \
                not line.startswith("LOAD "):
            section = line
        if section.startswith("Archive member included"):
            found = INCLUDED_MEMBER.match(line)
            if found:
                inputs[found.group(1)].add(found.group(2))
        loaded = LOADED_OBJECT.match(line)
        if loaded:
            inputs[loaded.group(1)]
    return {os.path.normpath(path): sorted(members) for path, members in inputs.items()
            if os.path.isabs(path)}
