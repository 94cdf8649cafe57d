"""The two windows of a running widget, as another program sees them."""

import shutil

from harness.display import HEIGHT, WIDTH
from layout.geometry import ORIGIN, SIZE

WS_VISIBLE = 0x10000000
APPLICATION_STYLE = 0x84CA0000  # pop-up, clip siblings, caption, system menu, minimise box
WIDGET_STYLE = 0x80000000 | 0x04000000 | 0x02000000  # pop-up, clip siblings, clip children
WS_EX_CONTROLPARENT = 0x00010000


def test_application_and_widget_windows_have_their_classes_styles_and_places(widget):
    app = widget.app_facts()
    form = widget.form_facts()

    assert (app.cls, app.title, app.owner) == ("TApplication", "Hotkeys", 0)
    assert (app.style, app.visible) == (APPLICATION_STYLE | WS_VISIBLE, True)
    assert app.rect == (WIDTH // 2, HEIGHT // 2, WIDTH // 2, HEIGHT // 2)

    assert (form.cls, form.title, form.owner) == ("TForm1", "", widget.app)
    assert (form.style, form.exstyle) == (WIDGET_STYLE | WS_VISIBLE, WS_EX_CONTROLPARENT)
    assert (form.position, form.size) == (ORIGIN, SIZE)
    assert form.client == (0, 0, *SIZE)
    assert form.pid == app.pid and form.tid == app.tid


def test_application_title_comes_from_the_file_name(bench, start_widget, tmp_path):
    for file_name, title in [("my.tool.exe", "my"), ("WIDGET.EXE", "Widget")]:
        copy = tmp_path / file_name
        shutil.copy(bench.exe, copy)
        widget = start_widget(copy)
        widget.wait_shown()
        assert widget.app_facts().title == title, file_name
        assert widget.close() == 0
