"""The slot captions on screen: binding a window shows at most 11 characters of its title and
"+" in the slot's label, which grows or shrinks from column 68 and leaves nothing of a longer
earlier caption behind."""

from harness.binding import bind
from layout.expected import Expected
from layout.look import save_client_png, wait_for_look

TITLE_18 = "Notepad - todo.txt"


def test_binding_shows_the_titles_start_and_a_plus_and_shorter_captions_leave_no_trace(
        bench, form, local, open_probe):
    widget = local.start(bench.exe)
    face = local.layout.button_face()

    def shows(captions, what):
        expected = Expected(form, local.layout, face, local.codepage, captions=captions)
        wait_for_look(bench.tool, widget, expected, what)
        return expected

    initial = shows({}, "the widget before any binding")
    probe = open_probe(TITLE_18, "")
    long_title, empty_title = probe.windows
    assert len(TITLE_18) == 18

    bind(local.tool, probe, long_title, "alt+n", "f1")
    grown = shows({"Label2": b"Notepad - t+"}, "slot 1 bound to the 18-character title")
    assert grown.label("Label2").box[2] > initial.label("Label2").box[2]
    save_client_png(bench.tool, widget.form_facts(), "widget-bound.png")

    # The widget itself has no title; the shorter caption repaints the longer one's box too.
    local.tool.set_foreground(widget.form)
    local.tool.keys("alt+n")
    shows({"Label2": b"+"}, "slot 1 bound to the widget itself")

    bind(local.tool, probe, empty_title, "alt+m", "1")
    shrunk = shows({"Label2": b"+", "Label1": b"+"}, "slot 2 bound to a window without title")
    plus, alt_m = shrunk.label("Label1").box, initial.label("Label1").box
    assert plus[:2] == alt_m[:2] == (68, 35)
    assert plus[2] < alt_m[2]
