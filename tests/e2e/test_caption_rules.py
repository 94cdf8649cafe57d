"""Slot captions whose titles hold the text rules' own characters: "&" hides itself and
underlines the next character, "&&" shows one "&", CR/LF starts a new line and a tab jumps to
the next tab stop. The widget must measure and draw them exactly as the platform's DrawText
draws the same bytes in a helper, pixel for pixel."""

from harness.binding import bind
from layout.expected import Expected
from layout.look import wait_for_look

# Title, the caption it gives (its first 11 bytes and "+"), the slot and its confirming key.
TITLES = [
    ("Save &As", b"Save &As+", "alt+n", "f1"),
    ("Tom && Jerry", b"Tom && Jerr+", "alt+m", "1"),
    ("Two\r\nlines", b"Two\r\nlines+", "alt+n", "f2"),
    ("Tab\tstop", b"Tab\tstop+", "alt+m", "2"),
    ("Ends in &", b"Ends in &+", "alt+n", "f3"),
    ("a&&&b\r\n\tc&", b"a&&&b\r\n\tc&+", "alt+m", "3"),
]


def test_captions_with_ampersands_line_breaks_and_tabs_look_as_drawtext_draws_them(
        bench, form, local, open_probe):
    widget = local.start(bench.exe)
    face = local.layout.button_face()
    one_line = {label.name: label.box[3]
                for label in Expected(form, local.layout, face, local.codepage).labels}
    probe = open_probe(*(title for title, _, _, _ in TITLES))
    captions = {}
    for window, (title, caption, chord, confirm) in zip(probe.windows, TITLES):
        bind(local.tool, probe, window, chord, confirm)
        captions["Label2" if chord == "alt+n" else "Label1"] = caption
        expected = Expected(form, local.layout, face, local.codepage, captions=dict(captions))
        wait_for_look(bench.tool, widget, expected, f"the caption of {title!r}")

        # The reference itself must break lines, or both could agree on a single one.
        label = expected.label("Label2" if chord == "alt+n" else "Label1")
        assert label.box[3] == (caption.count(b"\r\n") + 1) * one_line[label.name], title
