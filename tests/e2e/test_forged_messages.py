"""Creation and destruction messages and window data forged by another program: whatever they
carry, the widget's windows stay bound to the widget, which forwards, shows its captions and
closes."""

from harness.binding import bind
from harness.driver import GWLP_USERDATA, WM_CREATE, WM_DESTROY, WM_NCCREATE, WM_NCDESTROY
from harness.keys import VK_F
from harness.onscreen import ORIGIN, on_screen
from harness.pointer import Pointer
from harness.resource import read_exe_form
from layout.expected import Expected
from layout.look import wait_for_look

GLYPH = on_screen(ORIGIN, (191, 7))
KINDS = ["none", "null", "garbage", "image"]


def test_forged_creation_and_destruction_messages_and_window_data_leave_the_widget_working(
        bench, western, open_probe):
    form, _, _ = read_exe_form(bench.exe)
    widget = western.start(bench.exe)
    tool = western.tool
    probe = open_probe("Slot one", "Slot two")
    one, two = probe.windows
    bind(tool, probe, one, "alt+n", "f1")
    bind(tool, probe, two, "alt+m", "1")
    captions = {"Label2": b"Slot one+", "Label1": b"Slot two+"}
    look = Expected(form, western.layout, western.layout.button_face(), "cp1252",
                    captions=captions)
    wait_for_look(bench.tool, widget, look, "both slots bound")
    titles = (widget.app_facts().title, widget.form_facts().title)

    forged = [(window, message, kind) for window in (widget.app, widget.form)
              for message in (WM_NCCREATE, WM_CREATE) for kind in KINDS]
    answered = tool.create("Forged title", *forged)
    # Wine refuses to send a creation message without its structure; the rest must arrive.
    assert [sent for sent, ok in answered.items() if not ok and sent[2] != "none"] == []
    for window in (widget.app, widget.form):
        tool.set_data(window, GWLP_USERDATA, 0x4141414141414141)
        for message in (WM_DESTROY, WM_NCDESTROY):
            tool.send(window, message)
            tool.post(window, message)

    assert widget.running()
    assert (widget.app_facts().title, widget.form_facts().title) == titles
    wait_for_look(bench.tool, widget, look, "the captions after the forged messages")
    tool.set_foreground(two)
    tool.keys("f2", "2")
    assert [m.wparam for m in probe.wait_received(one, 2)] == [VK_F[1], VK_F[2]]
    assert [m.wparam for m in probe.wait_received(two, 2)] == [VK_F[1], VK_F[2]]

    Pointer(tool).click(*GLYPH)
    assert widget.exit_code() == 0
