"""Where one run of the end-to-end tests finds its programs and keeps its files: CTest sets each
in the environment, and the defaults suit a run of pytest by hand from a built tree."""

import os
import pathlib

ROOT = pathlib.Path(__file__).resolve().parents[3]
WIN_DIR = pathlib.Path(os.environ.get("HOTKEYS_WIN_DIR", ROOT / "build" / "win64"))
ARTIFACTS = pathlib.Path(os.environ.get("HOTKEYS_E2E_ARTIFACTS", ROOT / "build" / "e2e"))
# The desktop of desktops.json that CTest gave this run ("id:1,slots:1"), 0 by hand: files that
# run at once never share a Wine prefix. Each prefix is made once and kept.
_DESKTOP = os.environ.get("CTEST_RESOURCE_GROUP_0_DESKTOP", "id:0").split(",")[0]
PREFIX = ROOT / "build" / f"wineprefix-{_DESKTOP.removeprefix('id:')}"
