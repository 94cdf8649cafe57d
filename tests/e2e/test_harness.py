"""The harness's own instruments, checked against a probe window before anything relies on them."""

import pytest

from harness import screen, wintool
from harness.configuration import Configuration
from harness.keys import VK_F, VK_MENU, VK_N
from harness.poll import wait_until
from harness.probe import WM_KEYDOWN, WM_SYSKEYDOWN
from harness.processes import Process
from harness.wine import LOADER_ATTEMPTS, never_started, windows_path
from harness.wintool import WinTool, WinToolError

ALT_DOWN_BIT = 1 << 29
WHITE, BLACK = (255, 255, 255), (0, 0, 0)  # a window's default background, the empty screen


def test_keys_keep_alt_held_across_the_key_and_posts_arrive_verbatim(tool, open_probe):
    probe = open_probe("Bench")
    window = probe.windows[0]
    tool.set_foreground(window)

    tool.keys("alt+n")
    downs = probe.wait_received(window, 2, WM_SYSKEYDOWN)
    assert [m.wparam for m in downs] == [VK_MENU, VK_N]
    assert downs[1].lparam & ALT_DOWN_BIT

    tool.post(window, WM_KEYDOWN, VK_F[5], 0)
    assert [(m.wparam, m.lparam) for m in probe.wait_received(window, 1)] == [(VK_F[5], 0)]
    assert probe.focused() == window


def test_screen_capture_reads_the_pixels_where_windows_are(bench, open_probe, tool):
    probe = open_probe("Bench")
    left, top, right, bottom = tool.facts(probe.windows[0]).rect
    middle = ((left + right) // 2, (top + bottom) // 2)

    def painted():
        shot = screen.capture(bench.display.name)
        return shot if shot.pixel(*middle) == WHITE else None

    shot = wait_until(painted, "the probe's white client area on screen")
    assert shot.pixel(right + 10, middle[1]) == BLACK
    assert shot.region(middle[0], middle[1], middle[0] + 2, middle[1] + 1) == bytes(WHITE * 2)


@pytest.fixture
def not_a_program(tmp_path):
    path = tmp_path / "garbage.exe"
    path.write_bytes(b"MZ, but no program")
    return path


def test_a_program_wine_could_not_start_is_told_from_one_that_failed(bench, tool, not_a_program):
    refused = bench.wine._run_once([str(not_a_program)], 60)
    assert never_started(refused.returncode, refused.stdout), (refused.returncode, refused.stdout)

    failed = tool._run("info", hex(0xDEAD), check=False)
    assert failed.returncode != 0 and not never_started(failed.returncode, failed.stdout)


def test_only_a_launcher_that_wine_could_not_start_is_started_again(bench, tool, not_a_program,
                                                                     monkeypatch):
    launches = []

    def counted(*args, **kwargs):
        launches.append(args)
        return Process(*args, **kwargs)

    monkeypatch.setattr(wintool, "Process", counted)
    with pytest.raises(WinToolError):
        tool.start(windows_path(str(not_a_program)))  # the launcher ran, the program cannot
    assert len(launches) == 1

    with pytest.raises(WinToolError):
        WinTool(bench.wine, str(not_a_program)).start("notepad")
    assert len(launches) == 1 + LOADER_ATTEMPTS


def test_a_configuration_is_written_checked_against_what_programs_see_and_taken_back(bench, tool):
    before = tool.system()
    wanted = Configuration(codepage=932, dpi=144, windows="win10", keyboard="de")
    with wanted.registry(bench.wine):
        inside = tool.system()
    after = tool.system()

    assert (inside["dpi"], inside["version"]) == (144, "10.0")
    # The locale and the keyboard are no registry values: those two did not take.
    assert [wrong.split(":")[0] for wrong in wanted.mismatches(inside)] == ["acp", "keyboard"]
    assert after == before
    assert Configuration(codepage=before["acp"], keyboard="us").mismatches(after) == []
