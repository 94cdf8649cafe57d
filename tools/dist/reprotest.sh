#!/usr/bin/env bash
# `make reprotest`: Debian's reprotest builds `make dist` twice, the second time under every
# variation this machine allows, and fails unless dist/ comes out the same both times. Installs
# reprotest, disorderfs (file ordering) and faketime (time) when they are missing. The artifacts
# of both builds stay in build/reprotest.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"

"$repo/tools/install-deps.sh" reprotest disorderfs faketime

# reprotest copies its source root, .git included, for each build: give it a clone of HEAD, as
# `make dist-check` does, so that nothing of this working tree but its commit goes in.
work="$(mktemp -d "${TMPDIR:-/tmp}/hotkeys-reprotest-XXXXXX")"
trap 'rm -rf "$work"' EXIT
git clone -q "$repo" "$work/hotkeys"
git -C "$work/hotkeys" checkout -q "$(git -C "$repo" rev-parse HEAD)"
store="$repo/build/reprotest"
rm -rf "$store"

# Every variation but user_group, which needs a second account that sudo may switch to
# (user_group.available in reprotest(1)); this target creates no accounts. diffoscope, a large
# install, is left out: on a difference, compare the two builds kept in build/reprotest.
cd "$work/hotkeys"
reprotest --variations=+all,-user_group --no-diffoscope --store-dir="$store" 'make dist' 'dist/*'
