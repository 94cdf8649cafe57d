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
from harness.driver import WM_CLOSE
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
NO_LABEL = b"The form has no label for target slot 1."


@pytest.fixture(scope="module")
def stop_icon(bench):
    """The platform's stop icon as a message box shows it, told apart from another icon."""
    boxes = BoxTool(bench.tool)
    stop = boxes.reference_icon(bench.tool, MB_OK | MB_ICONSTOP)
    assert stop != boxes.reference_icon(bench.tool, MB_OK | MB_ICONINFORMATION)
    return stop


def form_patch(patch):
    """What makes an executable's bytes with its form description changed by `patch`."""
    def patched(exe):
        data = bytearray(pathlib.Path(exe).read_bytes())
        form, offset, _ = read_exe_form(exe)
        patch(data, offset, form)
        return data
    return patched


def copy_of(exe, folder, make, name="HotKeys.exe"):
    """A copy of `make(exe)` named HotKeys.exe (so its title stays "Hotkeys") or `name`."""
    copy = pathlib.Path(folder) / name
    copy.write_bytes(make(pathlib.Path(exe)))
    return copy


def replace_in_form(old, new):
    @form_patch
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
    (count,), (optional_size,) = (struct.unpack_from("<H", data, pe + at) for at in (6, 20))
    table = pe + 24 + optional_size
    sections = {data[at:at + 8].rstrip(b"\0"): struct.unpack_from("<II", data, at + 8)
                for at in range(table, table + 40 * count, 40)}
    size, address = sections[b".text"]
    return range(address, address + size)


@form_patch
def cut_before_first_picture(data, offset, form):
    entry, _ = find_rcdata_entry(data, "TFORM1")
    struct.pack_into("<I", data, entry + 4, form.child("Image1").props["Picture.Data"].offset)


@form_patch
def bitmap_signature_broken(data, offset, form):
    at = offset + picture_data(form) + 1 + len("TPNGGraphic") + 4
    assert data[at:at + 2] == b"BM"
    data[at + 1] = ord("X")


@form_patch
def payload_longer_than_stored(data, offset, form):
    at = offset + picture_data(form) + 1 + len("TPNGGraphic")
    struct.pack_into("<I", data, at, struct.unpack_from("<I", data, at)[0] + 1)


class StartUpFailure(NamedTuple):
    """A start-up that fails: the copy made of the program, the error and message (or what makes
    it from the form) of the fatal box, the program copied under a name, the locale it runs in
    (LANG and LC_MESSAGES) if not the bench's, and whether the box is closed (WM_CLOSE, its title
    bar's button) rather than OK'd."""
    make: Callable
    error_type: str
    message: bytes | Callable
    copy_of: tuple[str, str] = ("HotKeys.exe", "HotKeys.exe")
    locale: tuple[str, str] | None = None
    closed: bool = False


def windowless(reason, locale=None):
    """The faulty build copied as Windowless.exe, which cannot make its application window
    (ERROR_NOT_ENOUGH_MEMORY), with the system's reason for that."""
    return StartUpFailure(pathlib.Path.read_bytes, "SystemError",
                          b"System Error.  Code: 8.\r\n" + reason,
                          ("HotKeysFaulty.exe", "Windowless.exe"), locale)


START_UP_FAILURES = {
    "bad signature": StartUpFailure(replace_in_form(b"TPF0", b"TPFX"), "FormReadError",
                                    b'Form description does not start with "TPF0".'),
    # The description ends where the first picture's byte count would begin.
    "truncated object": StartUpFailure(
        cut_before_first_picture, "FormReadError",
        lambda form: f"Form description ends early (at byte {picture_data(form) - 4}).".encode()),
    "unknown property": StartUpFailure(
        replace_in_form(b"PixelsPerInch", b"PixelsPerInck"), "FormReadError",
        b"Form description: Form1 has no property PixelsPerInck."),
    "bad bitmap header": StartUpFailure(bitmap_signature_broken, "InvalidBitmap",
                                        b"Bitmap image is not valid."),
    "payload shorter than it claims": StartUpFailure(payload_longer_than_stored,
                                                     "PictureReadError", b"Stream read error."),
    "no form description, the box closed": StartUpFailure(
        without_form_description, "ResourceNotFound", b"Resource TForm1 not found.", closed=True),
    # 予定表.exe: in code page 932 its first and last characters end in 0x5C, the backslash.
    "no form description, under a Japanese name": StartUpFailure(
        without_form_description, "ResourceNotFound", b"Resource TForm1 not found.",
        ("HotKeys.exe", b"\x97\x5c\x92\xe8\x95\x5c.exe".decode("cp932")),
        ("ja_JP.UTF-8", "ja_JP.UTF-8")),
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
def test_a_failed_start_up_ends_with_the_error_where_it_arose(bench, form, stop_icon, tmp_path,
                                                             case):
    failure = START_UP_FAILURES[case]
    message = failure.message(form) if callable(failure.message) else failure.message
    program, name = failure.copy_of
    copy = copy_of(pathlib.Path(bench.exe).parent / program, tmp_path, failure.make, name)
    session = Session(bench, *failure.locale) if failure.locale else None
    runner = session or bench
    tool, boxes = runner.tool, BoxTool(runner.tool)

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
        # The program's 8-bit calls see the file's name in the system's code page.
        assert shown.group(2) == copy.name.encode(runner.codepage if failure.locale else "ascii")
        assert int(shown.group(3), 16) in code_section(copy)
        assert shown.group(4) == message
        # The platform words its own button in the user's display language.
        assert [button for button, _ in parts.buttons] == [IDOK]
        assert failure.locale or parts.buttons == [(IDOK, "OK")]
        assert boxes.icon_pixels(bench.tool, box) == stop_icon
        assert not tool.find("TForm1", "*", pid)

        if failure.closed:
            tool.post(box, WM_CLOSE)
        else:
            boxes.click(box)
        assert launcher.wait(15) == 1
    finally:
        launcher.stop()
        if session:
            session.stop()


class ErrorBoxes:
    def __init__(self, bench, stop_icon):
        self.tool, self.boxes, self.stop_icon = bench.tool, BoxTool(bench.tool), stop_icon

    def shown(self, widget, message):
        """Waits for the widget's error box and checks it: owned by the application window, the
        message, one OK button and the stop icon. Returns its handle."""
        box = wait_until(lambda: self.tool.find("#32770", "Hotkeys", widget.pid),
                         "the error box")[0]
        assert self.tool.facts(box).owner == widget.app
        parts = self.boxes.facts(box)
        assert parts.text == message
        assert parts.buttons == [(IDOK, "OK")]
        assert self.boxes.icon_pixels(self.tool, box) == self.stop_icon
        return box

    def close(self, widget, box):
        self.boxes.click(box)
        wait_until(lambda: not self.tool.find("#32770", "Hotkeys", widget.pid),
                   "the error box to close")

    def answer(self, widget, message):
        self.close(widget, self.shown(widget, message))

    def none_for(self, widget, seconds=1.0):
        """True when no box of the widget's comes up within `seconds`."""
        try:
            wait_until(lambda: self.tool.find("#32770", "*", widget.pid), "a box",
                       timeout=seconds)
        except Timeout:
            return True
        return False


@pytest.fixture
def errors(bench, stop_icon):
    return ErrorBoxes(bench, stop_icon)


@pytest.fixture
def faulty(bench, errors, start_widget, tmp_path):
    """Starts the faulty build, as HotKeys.exe (with its stored form description patched, if
    asked), and returns it once its creation error has been shown and answered: FormCreate
    stopped at row 8, so Alt+N, Alt+M and the digits are its keys and F1 onwards are not."""
    def start(make=pathlib.Path.read_bytes):
        widget = start_widget(copy_of(pathlib.Path(bench.exe).parent / "HotKeysFaulty.exe",
                                      tmp_path, make))
        box = errors.shown(widget, b"The atom Hotkey11 cannot be added.")
        hidden = wait_until(widget.form_facts, "the widget's facts")
        assert not hidden.visible, "the widget shows only once FormCreate is over"
        errors.close(widget, box)
        assert widget.wait_shown().rect[:2] == ORIGIN
        return widget
    return start


def test_an_error_in_a_hotkey_handler_is_shown_over_the_widget_which_then_carries_on(
        bench, tool, errors, start_widget, open_probe, tmp_path):
    # Without the label of slot 1, binding that slot fails as it sets the caption.
    widget = start_widget(copy_of(bench.exe, tmp_path, replace_in_form(b"\x06Label2",
                                                                       b"\x06Label9")))
    widget.wait_shown()
    own = {"foreground": widget.form, "active": widget.form, "focus": widget.form}

    def enabled():
        """None while a loaded bench cannot read one of the windows."""
        facts = [tool.info(window) for window in (widget.form, widget.app)]
        return None if None in facts else [f.enabled for f in facts]

    wait_until(lambda: {k: v for k, v in tool.foreground().items() if k in own} == own,
               "the widget active with the focus")
    tool.keys("alt+n")
    box = errors.shown(widget, NO_LABEL)
    wait_until(lambda: enabled() == [False, False],
               "the widget and its owner disabled while the box is up")
    errors.close(widget, box)

    wait_until(lambda: enabled() == [True, True],
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
    errors.answer(widget, NO_LABEL)
    tool.keys("f3")
    probe.wait_received(probe.windows[1], 1)
    assert [m.wparam for m in probe.received(probe.windows[1])] == [VK_F[3]]
    assert widget.running()


def test_after_an_error_in_form_create_its_keys_work_and_a_refusal_is_told_once_a_binding(
        tool, errors, faulty, open_probe):
    widget = faulty()
    held = tool.try_hotkeys((MOD_ALT, VK_N), (0, VK_1), (0, VK_F[1]))
    assert held == {(MOD_ALT, VK_N): False, (0, VK_1): False, (0, VK_F[1]): True}
    # What it holds it also tells apart: Alt+M binds, and a digit forwards.
    probe = open_probe("Slot two", "Elevated game")
    slot, game = probe.windows
    seen = bind(tool, probe, slot, "alt+m", "1")
    tool.keys("3")
    probe.wait_received(slot, seen + 1)
    assert [m.wparam for m in probe.received(slot)][seen - 1:] == [VK_F[1], VK_F[3]]

    # The user plays: the game is in front when its key is refused, and in front again once the
    # box is answered, taking the keys typed there.
    refused = tool.error_text(ERROR_ACCESS_DENIED) + REFUSED_TEXT % b'"Elevated game"'
    bind(tool, probe, game, "alt+m", "1")
    errors.answer(widget, refused)
    wait_until(lambda: tool.foreground()["foreground"] == game, "the game in front again")
    tool.keys("a")
    assert [m.wparam for m in probe.wait_received(game, 2)] == [VK_F[1], ord("A")]
    # The keys that follow are posted as before, and nothing more is said.
    tool.keys("2", "3")
    probe.wait_received(game, 4)
    assert errors.none_for(widget)

    # A new binding of the slot is told again.
    bind(tool, probe, game, "alt+m", "4")
    errors.answer(widget, refused)
    tool.keys("5")
    probe.wait_received(game, 6)
    assert [m.wparam for m in probe.received(game)] == [VK_F[1], ord("A"),
                                                        *(VK_F[n] for n in range(2, 6))]
    assert errors.none_for(widget)
    assert widget.running()


def test_a_refusal_while_the_first_box_stands_is_owned_by_it_and_each_box_is_answered_in_turn(
        tool, errors, faulty, open_probe):
    widget = faulty()
    games = open_probe("Elevated game"), open_probe("Elevated other")
    (game,), (other,) = (probe.windows for probe in games)

    # The user leaves the first refusal's box up, turns to the other game, binds it and presses
    # a key there.
    bind(tool, games[0], game, "alt+m", "1")
    denied = tool.error_text(ERROR_ACCESS_DENIED)
    first = errors.shown(widget, denied + REFUSED_TEXT % b'"Elevated game"')
    bind(tool, games[1], other, "alt+m", "2")
    second = wait_until(lambda: [box for box in tool.find("#32770", "Hotkeys", widget.pid)
                                 if box != first], "the second box")[0]
    assert tool.facts(second).owner == first, "the second box is owned by the box in front"
    assert errors.boxes.facts(second).text == denied + REFUSED_TEXT % b'"Elevated other"'
    assert errors.boxes.facts(first).text == denied + REFUSED_TEXT % b'"Elevated game"'

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
        tool, errors, faulty, pointer):
    # The faulty build sees the screen as two monitors split at x = 640; the application window,
    # which owns the box, stands at the screen's centre on the left one. Without the label of
    # slot 1, binding that slot fails while the user works on the widget. Windows opens a message
    # box on its owner's monitor (Wine centres it on the screen whatever the owner): what the
    # program decides is where the owner stands while the box is up.
    widget = faulty(replace_in_form(b"\x06Label2", b"\x06Label9"))
    home = widget.app_facts().rect

    def owner_while_the_box_is_up(where):
        tool.set_foreground(widget.form)
        tool.keys("alt+n")
        box = errors.shown(widget, NO_LABEL)
        owner = widget.app_facts().rect
        errors.close(widget, box)
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
