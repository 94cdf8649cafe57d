#!/usr/bin/env bash
# Runs the built widget under Wine with the project's prefix: on $DISPLAY when there is one,
# otherwise on a private Xvfb, where it saves build/screenshot.png after the first paint and
# stops everything again.
set -euo pipefail
cd "$(dirname "$0")/.."
harness=(env PYTHONPATH=tests/e2e PYTHONDONTWRITEBYTECODE=1 tools/python3 -m harness)
prefix="$PWD/build/wineprefix"

if [ -n "${DISPLAY:-}" ]; then
    "${harness[@]}" prefix "$prefix"
    exec env WINEPREFIX="$prefix" WINEDEBUG=-all wine build/win64/HotKeys.exe
fi
exec "${harness[@]}" screenshot build/win64 "$prefix" build/screenshot.png
