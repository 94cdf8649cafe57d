"""The widget as other programs on its desktop see it: its two windows, its 19 hotkeys and their
atoms; closing, minimising and restoring, and the start-up show commands."""

import shutil

from harness.binding import bind
from harness.display import HEIGHT, WIDTH
from harness.keys import MOD_ALT, MOD_NONE, MOD_SHIFT, VK_F, VK_NUMPAD1, WIDGET_COMBOS
from layout.geometry import ORIGIN, SIZE
from harness.poll import wait_until
from harness.widget import SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE
from harness.driver import SC_CLOSE, SC_MINIMIZE, SC_RESTORE, WM_CLOSE, WM_SYSCOMMAND

SC_ABOUT_WINE = 0xF141  # Wine adds this entry to every system menu
HALF_SCREEN_ZERO_SIZE = (WIDTH // 2, HEIGHT // 2, WIDTH // 2, HEIGHT // 2)
WS_VISIBLE = 0x10000000
APPLICATION_STYLE = 0x84CA0000  # pop-up, clip siblings, caption, system menu, minimise box
WIDGET_STYLE = 0x80000000 | 0x04000000 | 0x02000000  # pop-up, clip siblings, clip children
WS_EX_CONTROLPARENT = 0x00010000
FREE_COMBOS = [(MOD_SHIFT, VK_F[1]), (MOD_ALT, VK_F[4]), (MOD_NONE, VK_NUMPAD1)]
ATOM_NAMES = [f"Hotkey{n}" for n in [*range(1, 8), *range(11, 23)]]
UNUSED_ATOM_NAMES = ["Hotkey8", "Hotkey9", "Hotkey10"]


def wait_windows(widget, condition, what):
    """Waits until condition(app, form) holds for the widget's two windows; returns both."""
    return wait_until(lambda: (widget.app_facts(), widget.form_facts()), what,
                      accept=lambda both: condition(*both))


def test_a_start_takes_its_title_from_the_file_name_and_its_show_command_and_close_ends_it(
        bench, tool, start_widget, tmp_path):
    # Close on either window ends the program with exit code 0.
    for window, file_name, title, show in [("app", "my.tool.exe", "my", None),
                                           ("form", "WIDGET.EXE", "Widget", SW_SHOWMAXIMIZED)]:
        copy = tmp_path / file_name
        shutil.copy(bench.exe, copy)
        widget = start_widget(copy, show)
        assert widget.wait_shown().zoomed == (show == SW_SHOWMAXIMIZED), file_name
        assert widget.app_facts().title == title, file_name
        tool.post(getattr(widget, window), WM_CLOSE)
        assert widget.exit_code() == 0, window


def test_the_two_windows_their_styles_and_places_and_the_system_menu_that_minimises_them(
        tool, widget):
    app, form = widget.app_facts(), widget.form_facts()
    assert (app.cls, app.title, app.owner) == ("TApplication", "Hotkeys", 0)
    assert (app.style, app.visible) == (APPLICATION_STYLE | WS_VISIBLE, True)
    assert app.rect == HALF_SCREEN_ZERO_SIZE
    assert (form.cls, form.title, form.owner) == ("TForm1", "", widget.app)
    assert (form.style, form.exstyle) == (WIDGET_STYLE | WS_VISIBLE, WS_EX_CONTROLPARENT)
    assert (form.position, form.size) == (ORIGIN, SIZE)
    assert form.client == (0, 0, *SIZE)
    assert form.pid == app.pid and form.tid == app.tid

    commands = [command for command, text in tool.system_menu(widget.app)
                if command not in (0, SC_ABOUT_WINE)]
    assert commands == [SC_RESTORE, SC_MINIMIZE, SC_CLOSE]

    tool.post(widget.app, WM_SYSCOMMAND, SC_MINIMIZE)
    wait_windows(widget, lambda app, form: app.iconic and not form.visible,
                 "the application to minimise and the widget to hide")

    tool.post(widget.app, WM_SYSCOMMAND, SC_RESTORE)
    # Wine clears the iconic state a moment before it moves the window back from -32000.
    app, form = wait_windows(widget, lambda app, form: not app.iconic and form.visible
                             and app.rect == HALF_SCREEN_ZERO_SIZE,
                             "the application to restore and the widget to come back")
    assert (form.position, form.size) == (ORIGIN, SIZE)
    assert (app.visible, app.rect) == (True, HALF_SCREEN_ZERO_SIZE)


def test_started_minimised_only_the_taskbar_button_shows_and_hotkeys_work(
        tool, start_widget, open_probe):
    widget = start_widget(show=SW_SHOWMINNOACTIVE)
    wait_windows(widget, lambda app, form: app.visible and app.iconic,
                 "the application window to show minimised")
    assert not widget.form_facts().visible

    probe = open_probe("Target")
    bind(tool, probe, probe.windows[0], "alt+n", "f7")
    assert [m.wparam for m in probe.received(probe.windows[0])] == [0x76]
    assert not widget.form_facts().visible

    tool.post(widget.app, WM_SYSCOMMAND, SC_RESTORE)
    app, form = wait_windows(widget, lambda app, form: not app.iconic and form.visible,
                             "the application to restore and the widget to show")
    assert (form.position, form.size, form.zoomed) == (ORIGIN, SIZE, False)
    assert app.rect == HALF_SCREEN_ZERO_SIZE


def test_nineteen_atoms_name_the_hotkeys_whose_combinations_no_other_program_nor_copy_takes(
        bench, tool, start_widget):
    # Atoms outlive the programs that add them, so only a fresh server shows who added them.
    bench.restart_server()
    assert set(tool.atoms(*ATOM_NAMES).values()) == {0}

    first = start_widget()
    first.wait_shown()
    atoms = tool.atoms(*ATOM_NAMES, *UNUSED_ATOM_NAMES)
    assert [name for name in ATOM_NAMES if atoms[name] == 0] == []
    assert len({atoms[name] for name in ATOM_NAMES}) == 19
    assert [name for name in UNUSED_ATOM_NAMES if atoms[name] != 0] == []
    results = tool.try_hotkeys(*WIDGET_COMBOS, *FREE_COMBOS)
    assert [combo for combo in WIDGET_COMBOS if results[combo]] == []
    assert [combo for combo in FREE_COMBOS if not results[combo]] == []

    # A second copy shows its window, and the first keeps every hotkey once it has gone.
    second = start_widget()
    assert second.pid != first.pid
    assert second.wait_shown().position == ORIGIN
    assert second.close() == 0
    assert first.running()
    results = tool.try_hotkeys(*WIDGET_COMBOS)
    assert [combo for combo in WIDGET_COMBOS if results[combo]] == []
