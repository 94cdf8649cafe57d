"""The build trees of both presets (`make build`), which the release tests pack as `make dist`
packs its own, at a fixed commit and time."""
import json
import os
import pathlib

from release import dist

REPO = pathlib.Path(__file__).resolve().parents[2]
COMMIT = "0123456789abcdef0123456789abcdef01234567"
EPOCH = 1796601600  # 2026-12-07T00:00:00Z


def tree(arch):
    return pathlib.Path(os.environ.get(f"HOTKEYS_{arch.upper()}_DIR", REPO / "build" / arch))


def version():
    return json.loads((tree("win64") / "release.json").read_text())["version"]


def trees():
    return [(arch, platform, tree(arch)) for arch, platform in dist.PROGRAMS]


def release(out, **options):
    """Everything `make dist` publishes, packed into `out` from the presets' builds."""
    dist.release_files(out, REPO, trees(), EPOCH, COMMIT, **options)
    return out
