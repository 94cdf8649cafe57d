"""Where one run of the end-to-end tests finds its programs and keeps its files. CTest sets each
in the environment; the defaults suit a run of pytest by hand from a built tree."""

import os
import pathlib

ROOT = pathlib.Path(__file__).resolve().parents[3]
WIN_DIR = pathlib.Path(os.environ.get("HOTKEYS_WIN_DIR", ROOT / "build" / "win64"))
ARTIFACTS = pathlib.Path(os.environ.get("HOTKEYS_E2E_ARTIFACTS", ROOT / "build" / "e2e"))


def _desktop():
    """The desktop of tests/e2e/desktops.json that CTest gave this run ("id:1,slots:1"), so that
    two files running at once never share a Wine prefix; 0 for a run by hand."""
    fields = os.environ.get("CTEST_RESOURCE_GROUP_0_DESKTOP", "id:0")
    return dict(field.split(":") for field in fields.split(","))["id"]


# Made once per build tree and desktop, and kept (harness.wine.Wine.ensure_prefix).
PREFIX = ROOT / "build" / f"wineprefix-{_desktop()}"
