"""The harness's own instruments, checked against a probe window before anything relies on them."""

import pytest

from harness import screen
from harness.configuration import Configuration
from harness.driver import ERROR_INTERNAL_ERROR, START_ATTEMPTS, DriverError
from harness.host import NOT_MADE
from harness.keys import VK_F, VK_MENU, VK_N
from harness.poll import wait_until
from harness.probe import WM_KEYDOWN, WM_SYSKEYDOWN
from harness.session import Session

ALT_DOWN_BIT = 1 << 29
WHITE, BLACK = (255, 255, 255), (0, 0, 0)  # a window's default background, the empty screen


def test_keys_keep_alt_held_posts_arrive_verbatim_and_the_screen_shows_where_windows_are(
        tool, open_probe):
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

    left, top, right, bottom = tool.facts(window).rect
    middle = ((left + right) // 2, (top + bottom) // 2)

    shot = wait_until(lambda: screen.capture(tool), "the probe's white client area on screen",
                      accept=lambda shot: shot.pixel(*middle) == WHITE)
    assert shot.pixel(right + 10, middle[1]) == BLACK
    assert shot.region(middle[0], middle[1], middle[0] + 2, middle[1] + 1) == bytes(WHITE * 2)


@pytest.fixture
def not_a_program(tmp_path):
    path = tmp_path / "garbage.exe"
    path.write_bytes(b"MZ, but no program")
    return path


def test_a_start_is_tried_again_only_when_the_system_lost_the_process_before_it_ran(
        tool, not_a_program, monkeypatch):
    starts = []
    answer = tool.call

    def counted(*args, **kwargs):
        starts.append(args[0])
        return answer(*args, **kwargs)

    monkeypatch.setattr(tool, "call", counted)
    with pytest.raises(DriverError):
        tool.start(not_a_program)  # the program cannot run: it is not tried again
    assert starts == ["start"]

    # Wine now and then loses a new process before it runs (ERROR_INTERNAL_ERROR).
    answer = lambda *args, **kwargs: (1, [f"error={ERROR_INTERNAL_ERROR}".encode()])
    with pytest.raises(DriverError):
        tool.start(not_a_program)
    assert starts == ["start"] * (1 + START_ATTEMPTS)


def test_a_program_wine_could_not_start_is_told_from_one_that_failed(bench, not_a_program):
    if not hasattr(bench.host, "wine"):
        pytest.skip(f"Wine's loader: {NOT_MADE}")
    from harness.wine import never_started
    refused = bench.host.wine._run_once([str(not_a_program)], 60)
    assert never_started(refused.returncode, refused.stdout), (refused.returncode, refused.stdout)
    failed = bench.host.wine._run_once(["cmd", "/c", "exit 1"], 60)
    assert failed.returncode == 1 and not never_started(failed.returncode, failed.stdout)


def test_a_configuration_is_written_checked_against_what_programs_see_and_taken_back(bench, tool):
    before = tool.system()
    wanted = Configuration(codepage=932, dpi=144, windows="win10", keyboard="de")
    with bench.host.registry(wanted):
        started_now = Session(bench, "C")  # a program reads them when it starts
        inside = started_now.tool.system()
        started_now.stop()
    after = tool.system()

    assert (inside["dpi"], inside["version"]) == (144, "10.0")
    # The locale and the keyboard are no registry values: those two did not take.
    assert [wrong.split(":")[0] for wrong in wanted.mismatches(inside)] == ["acp", "letters"]
    assert after == before
    assert Configuration(codepage=before["acp"], keyboard="us").mismatches(after) == []
