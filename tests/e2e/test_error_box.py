"""Errors shown to the user: an error in a message handler or in FormCreate comes up in the error
box over the widget, which then carries on; a stored form description that cannot be read, or
an application window that cannot be made, ends start-up with the "Application Error" box and exit
code 1; the system's reason for an error comes in a language that the system's code page shows.
The faults come from patched copies of the executable and from a build whose hotkey platform
fails, never from the program itself."""

import pathlib
import re
import struct
from typing import Callable, NamedTuple

import pytest

from harness.binding import bind
from harness.keys import MOD_ALT, VK_1, VK_F, VK_N
from harness.messagebox import IDOK, MB_ICONINFORMATION, MB_ICONSTOP, MB_OK, BoxTool
from harness.onscreen import ORIGIN, on_screen, pointer  # noqa: F401 (a fixture)
from harness.poll import Timeout, wait_until
from harness.resource import find_rcdata_entry, read_exe_form, without_form_description
from harness.session import Session

# The system's words for ERROR_ACCESS_DENIED (Wine's differ from Windows'), then what the user
# can do about it.
ERROR_ACCESS_DENIED = 5
REFUSED_TEXT = (b"%s runs with higher rights than HotKeys, so Windows does not let HotKeys send "
                b"it keys. Start HotKeys as administrator to drive it.")
FATAL_TEXT = re.compile(rb"Exception (\w+) in module (\S+) at ([0-9A-F]{8})\.\r\n(.*)\r\n",
                        re.DOTALL)


def box_tool(bench, runner):
    """The box commands of the driver of `runner`: the bench itself or a Session."""
    return BoxTool(runner.tool)


@pytest.fixture
def boxes(bench):
    return box_tool(bench, bench)


@pytest.fixture(scope="module")
def stop_icon(bench):
    """The platform's stop icon as a message box shows it, told apart from another icon."""
    tool = box_tool(bench, bench)
    stop = tool.reference_icon(bench.tool, MB_OK | MB_ICONSTOP)
    assert stop != tool.reference_icon(bench.tool, MB_OK | MB_ICONINFORMATION)
    return stop


def patched_copy(exe, folder, patch, name="HotKeys.exe"):
    """A copy named HotKeys.exe (so its title stays "Hotkeys"), or `name`, whose stored form
    description `patch(data, offset, form)` has changed in place; returns its path."""
    data = bytearray(pathlib.Path(exe).read_bytes())
    form, offset, _ = read_exe_form(exe)
    patch(data, offset, form)
    copy = pathlib.Path(folder) / name
    copy.write_bytes(data)
    return copy


def replace_in_form(old, new):
    def patch(data, offset, _form):
        at = data.index(old, offset)
        data[at:at + len(new)] = new
    return patch


def picture_data(form, name="Image1"):
    """Offset in the description of a picture's payload, after its 4-byte byte count: a length
    byte, the class name, the file's length S and the file."""
    return form.child(name).props["Picture.Data"].offset + 4


def code_section(exe):
    """The range of offsets from the module's start that its code occupies."""
    data = pathlib.Path(exe).read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, optional_size = struct.unpack_from("<H", data, pe + 6)[0], \
        struct.unpack_from("<H", data, pe + 20)[0]
    table = pe + 24 + optional_size
    for at in range(table, table + 40 * count, 40):
        if data[at:at + 8].rstrip(b"\0") == b".text":
            size, address = struct.unpack_from("<II", data, at + 8)
            return range(address, address + size)
    raise AssertionError("no code section")


def cut_before_first_picture(data, offset, form):
    entry, _ = find_rcdata_entry(data, "TFORM1")
    struct.pack_into("<I", data, entry + 4, form.child("Image1").props["Picture.Data"].offset)


def bitmap_signature_broken(data, offset, form):
    at = offset + picture_data(form) + 1 + len("TPNGGraphic") + 4
    assert data[at:at + 2] == b"BM"
    data[at + 1] = ord("X")


def payload_longer_than_stored(data, offset, form):
    at = offset + picture_data(form) + 1 + len("TPNGGraphic")
    struct.pack_into("<I", data, at, struct.unpack_from("<I", data, at)[0] + 1)


class StartUpFailure(NamedTuple):
    """A start-up that fails: the copy's patch, the error and the message the fatal box shows, the
    program copied under a name, and the locale it runs in (LANG and LC_MESSAGES), if not the
    bench's."""
    patch: Callable
    error_type: str
    message: bytes | None
    copy_of: tuple[str, str] = ("HotKeys.exe", "HotKeys.exe")
    locale: tuple[str, str] | None = None


def windowless(reason, locale=None):
    """The faulty build copied as Windowless.exe, which cannot make its application window
    (ERROR_NOT_ENOUGH_MEMORY), with the system's reason for that."""
    return StartUpFailure(lambda *_: None, "SystemError", b"System Error.  Code: 8.\r\n" + reason,
                          ("HotKeysFaulty.exe", "Windowless.exe"), locale)


START_UP_FAILURES = {
    "bad signature": StartUpFailure(replace_in_form(b"TPF0", b"TPFX"), "FormReadError",
                                    b'Form description does not start with "TPF0".'),
    "truncated object": StartUpFailure(cut_before_first_picture, "FormReadError", None),
    "unknown property": StartUpFailure(
        replace_in_form(b"PixelsPerInch", b"PixelsPerInck"), "FormReadError",
        b"Form description: Form1 has no property PixelsPerInck."),
    "bad bitmap header": StartUpFailure(bitmap_signature_broken, "InvalidBitmap",
                                        b"Bitmap image is not valid."),
    "payload shorter than it claims": StartUpFailure(payload_longer_than_stored,
                                                     "PictureReadError", b"Stream read error."),
    # The reason in Wine's words, in a language that the system's code page (LANG) shows: the
    # user's display language (LC_MESSAGES) where it can, else the system's, else US English.
    "no application window": windowless(b"Not enough memory."),
    "no application window, Russian throughout": windowless(
        "Недостаточно памяти для выполнения команды.".encode("cp1251"),
        ("ru_RU.UTF-8", "ru_RU.UTF-8")),
    "no application window, Russian display on a Western system": windowless(
        b"Not enough memory.", ("C.UTF-8", "ru_RU.UTF-8")),
    "no application window, English display on a Russian system": windowless(
        b"Not enough memory.", ("ru_RU.UTF-8", "C")),
    # Wine's Polish ("Zbyt mało pamięci.") would read without its accents on a Western system;
    # its Turkish ("Yeterli bellek yok.") is plain ASCII and stays.
    "no application window, Polish display on a Western system": windowless(
        b"Not enough memory.", ("C.UTF-8", "pl_PL.UTF-8")),
    "no application window, Turkish display on a Western system": windowless(
        b"Yeterli bellek yok.", ("C.UTF-8", "tr_TR.UTF-8")),
    # Japanese ends in its own full stop, after which no "." comes.
    "no application window, Japanese throughout": windowless(
        "十分なメモリがありません。".encode("cp932"), ("ja_JP.UTF-8", "ja_JP.UTF-8")),
}


@pytest.mark.parametrize("case", START_UP_FAILURES)
def test_a_failed_start_up_ends_with_the_error_where_it_arose(
        bench, tool, boxes, stop_icon, tmp_path, case):
    failure = START_UP_FAILURES[case]
    message = failure.message
    if message is None:
        # The description ends where the first picture's byte count would begin.
        message = (f"Form description ends early (at byte "
                   f"{read_exe_form(bench.exe)[0].child('Image1').props['Picture.Data'].offset})."
                   ).encode()
    program, name = failure.copy_of
    copy = patched_copy(pathlib.Path(bench.exe).parent / program, tmp_path, failure.patch, name)
    if failure.locale:
        lang, messages = failure.locale
        session = Session(bench, lang, messages)
        tool, boxes = session.tool, box_tool(bench, session)

    launcher = tool.start(copy)
    pid = launcher.pid
    try:
        box = wait_until(lambda: tool.find("#32770", "Application Error", pid),
                         "the Application Error box")[0]
        assert tool.facts(box).owner == 0
        parts = boxes.facts(box)
        shown = FATAL_TEXT.fullmatch(parts.text)
        assert shown, parts.text
        assert shown.group(1).decode() == failure.error_type
        assert shown.group(2) == copy.name.encode()
        assert int(shown.group(3), 16) in code_section(copy)
        assert shown.group(4) == message
        # The platform words its own button in the user's display language.
        assert [button for button, _ in parts.buttons] == [IDOK]
        assert failure.locale or parts.buttons == [(IDOK, "OK")]
        assert boxes.icon_pixels(bench.tool, box) == stop_icon
        assert not tool.find("TForm1", "*", pid)

        boxes.click(box)
        assert launcher.wait(15) == 1
    finally:
        launcher.stop()


def test_the_fatal_box_names_a_japanese_file_whose_characters_end_in_backslash_bytes(
        bench, tmp_path):
    japanese = Session(bench, "ja_JP.UTF-8")
    boxes = box_tool(bench, japanese)
    # In code page 932 the first and the last of these characters end in 0x5C, the backslash.
    name = "予定表.exe"
    assert name.encode("cp932") == b"\x97\x5c\x92\xe8\x95\x5c.exe"
    copy = tmp_path / name
    copy.write_bytes(without_form_description(bench.exe))

    launcher = japanese.tool.start(copy)
    pid = launcher.pid
    try:
        box = wait_until(lambda: japanese.tool.find("#32770", "Application Error", pid),
                         "the Application Error box")[0]
        shown = FATAL_TEXT.fullmatch(boxes.facts(box).text)
        assert shown, boxes.facts(box).text
        assert shown.group(2) == name.encode("cp932")
        assert shown.group(4) == b"Resource TForm1 not found."
        boxes.click(box)
        assert launcher.wait(15) == 1
    finally:
        launcher.stop()


def enabled(tool, windows):
    """Whether each window is enabled; None while a loaded bench cannot read one of them."""
    facts = [tool.info(window) for window in windows]
    return None if None in facts else [f.enabled for f in facts]


def error_box(tool, boxes, widget, message, stop_icon, display):
    """Waits for the widget's error box and checks it: owned by the application window, the
    message, one OK button and the stop icon. Returns its handle."""
    box = wait_until(lambda: tool.find("#32770", "Hotkeys", widget.pid), "the error box")[0]
    assert tool.facts(box).owner == widget.app
    parts = boxes.facts(box)
    assert parts.text == message
    assert parts.buttons == [(IDOK, "OK")]
    assert boxes.icon_pixels(display, box) == stop_icon
    return box


def press_ok(tool, boxes, widget, box):
    boxes.click(box)
    wait_until(lambda: not tool.find("#32770", "Hotkeys", widget.pid), "the error box to close")


def test_an_error_in_a_hotkey_handler_is_shown_over_the_widget_which_then_carries_on(
        bench, tool, boxes, stop_icon, start_widget, open_probe, tmp_path):
    # Without the label of slot 1, binding that slot fails as it sets the caption.
    copy = patched_copy(bench.exe, tmp_path, replace_in_form(b"\x06Label2", b"\x06Label9"))
    widget = start_widget(copy)
    widget.wait_shown()
    own = {"foreground": widget.form, "active": widget.form, "focus": widget.form}
    wait_until(lambda: {k: v for k, v in tool.foreground().items() if k in own} == own,
               "the widget active with the focus")

    tool.keys("alt+n")
    no_label = b"The form has no label for target slot 1."
    box = error_box(tool, boxes, widget, no_label, stop_icon, bench.tool)
    windows = [widget.form, widget.app]
    wait_until(lambda: enabled(tool, windows) == [False, False],
               "the widget and its owner disabled while the box is up")
    press_ok(tool, boxes, widget, box)

    wait_until(lambda: enabled(tool, windows) == [True, True],
               "the widget and its owner enabled again")
    wait_until(lambda: {k: v for k, v in tool.foreground().items() if k in own} == own,
               "the activation and the focus back on the widget")

    # The loop goes on: slot 2 binds and forwards, and slot 1 binds again (the box comes up
    # once more for its caption) and forwards.
    probe = open_probe("Slot two", "Slot one")
    seen = bind(tool, probe, probe.windows[0], "alt+m", "1")
    assert [m.wparam for m in probe.received(probe.windows[0])][seen - 1:] == [VK_F[1]]
    tool.set_foreground(probe.windows[1])
    tool.keys("alt+n")
    press_ok(tool, boxes, widget,
             error_box(tool, boxes, widget, no_label, stop_icon, bench.tool))
    tool.keys("f3")
    probe.wait_received(probe.windows[1], 1)
    assert [m.wparam for m in probe.received(probe.windows[1])] == [VK_F[3]]
    assert widget.running()


def started_faulty(bench, tool, boxes, stop_icon, start_widget, folder, patch=None):
    """The faulty build, as HotKeys.exe (with its stored form description patched, if asked),
    once its creation error has been shown and dismissed: FormCreate stopped at row 8, so Alt+N,
    Alt+M and the digits are its keys and F1 onwards are not."""
    faulty = pathlib.Path(bench.exe).parent / "HotKeysFaulty.exe"
    widget = start_widget(patched_copy(faulty, folder, patch or (lambda *_: None)))

    box = error_box(tool, boxes, widget, b"The atom Hotkey11 cannot be added.", stop_icon,
                    bench.tool)
    hidden = wait_until(widget.form_facts, "the widget's facts")
    assert not hidden.visible, "the widget shows only once FormCreate is over"
    press_ok(tool, boxes, widget, box)
    assert widget.wait_shown().rect[:2] == ORIGIN
    return widget


def test_an_error_in_form_create_is_shown_and_the_keys_it_registered_still_work(
        bench, tool, boxes, stop_icon, start_widget, open_probe, tmp_path):
    widget = started_faulty(bench, tool, boxes, stop_icon, start_widget, tmp_path)

    held = tool.try_hotkeys((MOD_ALT, VK_N), (0, VK_1), (0, VK_F[1]))
    assert held == {(MOD_ALT, VK_N): False, (0, VK_1): False, (0, VK_F[1]): True}
    # What it holds it also tells apart: Alt+M binds, and a digit forwards.
    probe = open_probe("Slot two")
    seen = bind(tool, probe, probe.windows[0], "alt+m", "1")
    tool.keys("3")
    probe.wait_received(probe.windows[0], seen + 1)
    assert [m.wparam for m in probe.received(probe.windows[0])][seen - 1:] == [VK_F[1], VK_F[3]]
    assert widget.running()


def no_box_for(tool, widget, seconds=1.0):
    """True when no box of the widget's comes up within `seconds`."""
    try:
        wait_until(lambda: tool.find("#32770", "*", widget.pid), "a box", timeout=seconds)
    except Timeout:
        return True
    return False


def test_a_window_that_refuses_its_keys_is_told_once_for_each_binding(
        bench, tool, boxes, stop_icon, start_widget, open_probe, tmp_path):
    widget = started_faulty(bench, tool, boxes, stop_icon, start_widget, tmp_path)
    probe = open_probe("Elevated game")
    window = probe.windows[0]
    refused = tool.error_text(ERROR_ACCESS_DENIED) + REFUSED_TEXT % b'"Elevated game"'

    bind(tool, probe, window, "alt+m", "1")
    press_ok(tool, boxes, widget,
             error_box(tool, boxes, widget, refused, stop_icon, bench.tool))
    # The keys that follow are posted as before, and nothing more is said.
    tool.keys("2", "3")
    probe.wait_received(window, 3)
    assert no_box_for(tool, widget)

    # A new binding of the slot is told again.
    bind(tool, probe, window, "alt+m", "4")
    press_ok(tool, boxes, widget,
             error_box(tool, boxes, widget, refused, stop_icon, bench.tool))
    tool.keys("5")
    probe.wait_received(window, 5)
    assert [m.wparam for m in probe.received(window)] == [VK_F[n] for n in range(1, 6)]
    assert no_box_for(tool, widget)
    assert widget.running()



def test_after_a_refusal_box_the_window_the_user_worked_in_is_in_front_and_takes_the_keys(
        bench, tool, boxes, stop_icon, start_widget, open_probe, tmp_path):
    widget = started_faulty(bench, tool, boxes, stop_icon, start_widget, tmp_path)
    probe = open_probe("Elevated game")
    game = probe.windows[0]

    # The user plays: the game is in front when its key is refused.
    bind(tool, probe, game, "alt+m", "1")
    refused = tool.error_text(ERROR_ACCESS_DENIED) + REFUSED_TEXT % b'"Elevated game"'
    press_ok(tool, boxes, widget, error_box(tool, boxes, widget, refused, stop_icon, bench.tool))

    wait_until(lambda: tool.foreground()["foreground"] == game, "the game in front again")
    tool.keys("a")
    assert [m.wparam for m in probe.wait_received(game, 2)] == [VK_F[1], ord("A")]
    assert widget.running()


def test_a_refusal_while_the_first_box_stands_is_owned_by_it_and_each_box_is_answered_in_turn(
        bench, tool, boxes, stop_icon, start_widget, open_probe, tmp_path):
    widget = started_faulty(bench, tool, boxes, stop_icon, start_widget, tmp_path)
    games = open_probe("Elevated game"), open_probe("Elevated other")
    (game,), (other,) = (probe.windows for probe in games)

    # The user leaves the first refusal's box up, turns to the other game, binds it and presses
    # a key there.
    bind(tool, games[0], game, "alt+m", "1")
    denied = tool.error_text(ERROR_ACCESS_DENIED)
    first = error_box(tool, boxes, widget, denied + REFUSED_TEXT % b'"Elevated game"', stop_icon,
                      bench.tool)
    bind(tool, games[1], other, "alt+m", "2")
    second = wait_until(lambda: [box for box in tool.find("#32770", "Hotkeys", widget.pid)
                                 if box != first], "the second box")[0]
    assert tool.facts(second).owner == first, "the second box is owned by the box in front"
    assert boxes.facts(second).text == denied + REFUSED_TEXT % b'"Elevated other"'
    assert boxes.facts(first).text == denied + REFUSED_TEXT % b'"Elevated game"'

    # Each box is answered from the keyboard, Enter on the box in front: the second, then the
    # first, in front again once the second has gone.
    for box, behind in ((second, first), (first, None)):
        wait_until(lambda: tool.foreground()["foreground"] == box, f"the box {box:#x} in front")
        tool.keys("0xd")
        wait_until(lambda: box not in tool.find("#32770", "Hotkeys", widget.pid),
                   f"the box {box:#x} to go")
        if behind is not None:
            assert tool.facts(behind).enabled, "the box behind is enabled again"

    # Only when the last box has gone does the keyboard go back, to the game the user turned to.
    wait_until(lambda: tool.foreground()["foreground"] == other, "the other game in front again")
    tool.keys("a")
    assert [m.wparam for m in games[1].wait_received(other, 2)] == [VK_F[2], ord("A")]
    assert [m.wparam for m in games[0].received(game)] == [VK_F[1]], "each refused key was posted"
    assert widget.running()


def test_a_box_takes_its_owner_to_the_monitor_where_the_user_works_on_the_widget(
        bench, tool, boxes, stop_icon, start_widget, pointer, tmp_path):
    # The faulty build sees the screen as two monitors split at x = 640; the application window,
    # which owns the box, stands at the screen's centre on the left one. Without the label of
    # slot 1, binding that slot fails while the user works on the widget. Windows opens a message
    # box on its owner's monitor (Wine centres it on the screen whatever the owner): what the
    # program decides is where the owner stands while the box is up.
    widget = started_faulty(bench, tool, boxes, stop_icon, start_widget, tmp_path,
                            replace_in_form(b"\x06Label2", b"\x06Label9"))
    no_label = b"The form has no label for target slot 1."
    home = widget.app_facts().rect

    def owner_while_the_box_is_up(where):
        tool.set_foreground(widget.form)
        tool.keys("alt+n")
        box = error_box(tool, boxes, widget, no_label, stop_icon, bench.tool)
        owner = widget.app_facts().rect
        press_ok(tool, boxes, widget, box)
        assert widget.app_facts().rect == home, f"the owner back in its place after {where}"
        return owner

    assert owner_while_the_box_is_up("a box with the widget on the left monitor") == home

    start = on_screen(ORIGIN, (60, 10))
    pointer.drag(start, (start[0] + 500, start[1]))
    wait_until(lambda: widget.form_facts().rect[0] == ORIGIN[0] + 500,
               "the widget moved onto the right monitor")
    # The centre of the right monitor, from x = 640 to 1024 over the screen's 768 rows.
    centre = ((640 + 1024) // 2, 768 // 2)
    assert owner_while_the_box_is_up("a box with the widget on the right monitor") == 2 * centre
