"""How HotKeys is released: reproducible archives of both programs, their notices, bill of
materials and BUILDINFO (`make dist`), their signatures (`make sign`) and the manifests that
let Windows package managers install them. `python3 -m release` runs it (see __main__.py)."""


class Refused(Exception):
    """A release step that cannot go on, with what the maintainer is to do about it: every
    error the steps raise derives from it, so that `python3 -m release` prints it once."""
