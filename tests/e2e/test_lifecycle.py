"""Closing, minimising and restoring, and the start-up show commands."""

from harness.binding import bind
from harness.display import HEIGHT, WIDTH
from layout.geometry import ORIGIN, SIZE
from harness.poll import wait_until
from harness.widget import SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE
from harness.driver import SC_CLOSE, SC_MINIMIZE, SC_RESTORE, WM_CLOSE, WM_SYSCOMMAND

SC_ABOUT_WINE = 0xF141  # Wine adds this entry to every system menu
HALF_SCREEN_ZERO_SIZE = (WIDTH // 2, HEIGHT // 2, WIDTH // 2, HEIGHT // 2)


def wait_windows(widget, condition, what):
    """Waits until condition(app, form) holds for the widget's two windows; returns both."""
    def both():
        app, form = widget.app_facts(), widget.form_facts()
        return (app, form) if condition(app, form) else None
    return wait_until(both, what)


def test_close_on_either_window_ends_the_program_with_exit_code_0(tool, start_widget):
    for window in ("app", "form"):
        widget = start_widget()
        widget.wait_shown()
        tool.post(getattr(widget, window), WM_CLOSE)
        assert widget.exit_code() == 0, window


def test_system_menu_offers_restore_minimise_and_close_only(tool, widget):
    commands = [command for command, text in tool.system_menu(widget.app)
                if command not in (0, SC_ABOUT_WINE)]
    assert commands == [SC_RESTORE, SC_MINIMIZE, SC_CLOSE]


def test_minimise_hides_the_widget_and_restore_brings_it_back(tool, widget):
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


def test_started_maximised_the_widget_shows_maximised(start_widget):
    widget = start_widget(show=SW_SHOWMAXIMIZED)
    form = widget.wait_shown()
    assert form.zoomed
