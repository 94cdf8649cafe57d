"""The release's commands, which the Makefile runs:

    python3 -m release build REPO [--signatures DIR] [--release-url URL]    make dist
    python3 -m release check REPO                                           make dist-check
    python3 -m release sign REPO [--release-url URL]                        make sign

`build` writes REPO/dist from the committed tree of HEAD; with --signatures, the detached
signatures of a signed release in DIR are attached to the programs it builds; with
--release-url, the address the zips will be published at, it writes the package managers'
manifests too. `sign` signs what `build` wrote, with the keys the environment names. Both take
SIGN_CA_FILE from the environment: the certificate authority a signature is checked against,
when Debian's do not include it. The Makefile runs each with exec, so that a signal make passes
on (SIGTERM) reaches it.
"""

import argparse
import os
import sys

from . import Refused, dist, keys, sign


def main():
    parser = argparse.ArgumentParser(prog="python3 -m release")
    parser.add_argument("command", choices=("build", "check", "sign"))
    parser.add_argument("repo")
    parser.add_argument("--signatures")
    parser.add_argument("--release-url")
    arguments = parser.parse_args()
    try:
        if arguments.command == "build":
            dist.make_dist(arguments.repo, arguments.signatures or None,
                           keys.authorities(os.environ), arguments.release_url or None)
        elif arguments.command == "check":
            return dist.check(arguments.repo)
        else:
            sign.sign_release(arguments.repo, os.environ, arguments.release_url or None)
    except Refused as refusal:
        sys.stdout.flush()  # the refusal is the last line, also where both go to one pipe
        print(refusal, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
