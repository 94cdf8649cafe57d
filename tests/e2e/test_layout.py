"""The widget's look at 96 pixels per inch: its three pictures blended over the button face and
its five labels, as worked out from the form description stored in the executable."""

import pathlib
import struct

import pytest

from layout.geometry import SIZE
from harness.resource import read_exe_form
from harness.session import Session
from layout.expected import Expected
from layout.look import mismatches, save_client_png, wait_for_look

WIDTH = SIZE[0]


def test_every_pixel_is_the_pictures_blended_over_the_button_face_and_the_labels(
        bench, form, local, geometry):
    widget = local.start(bench.exe)
    face = local.layout.button_face()
    expected = Expected(form, local.layout, face, local.codepage, **geometry.expected_look())

    shown = wait_for_look(bench.tool, widget, expected,
                          f"the widget at {geometry.dpi} dpi in code page {local.codepage}")

    labels = {label.name: label for label in expected.labels}
    assert labels["Label2"].text == b"Alt+N" and labels["Label1"].text == b"Alt+M"
    assert [labels[n].box[:2] for n in ("Label2", "Label1")] == [geometry.point((68, 20)),
                                                                 geometry.point((68, 35))]
    width, height = geometry.client
    for name in ("Label3", "Label4", "Label5"):
        left, top, box_width, box_height = labels[name].box
        colours = {shown[3 * (y * width + x):3 * (y * width + x) + 3]
                   for y in range(top, min(height, top + box_height))
                   for x in range(left, left + box_width)}
        # White text on black, grey where the font is smoothed (wholly, in the fonts that draw
        # Cyrillic in the East Asian code pages).
        assert b"\0\0\0" in colours and len(colours) > 1, name
        assert all(r == g == b for r, g, b in colours), name


# The system's locale (LANG) apart from the user's (LC_MESSAGES), both ways round, and the code
# page whose look each must show: the system's, the one DrawTextA draws in.
LOCALES_APART = [("C.UTF-8", "ru_RU.UTF-8", "cp1252"), ("ru_RU.UTF-8", "C", "cp1251")]


@pytest.mark.own_configuration
def test_link_captions_are_cyrillic_on_a_russian_system_and_question_marks_on_a_western_one(
        bench, form, western):
    russian = Session(bench, "ru_RU.UTF-8")
    apart = [Session(bench, lang, messages) for lang, messages, _ in LOCALES_APART]
    shots = {}
    try:
        for session, codepage in ((western, "cp1252"), (russian, "cp1251")):
            widget = session.start(bench.exe)
            expected = Expected(form, session.layout, session.layout.button_face(), codepage)
            shots[codepage] = (expected, wait_for_look(bench.tool, widget, expected,
                                                       f"the widget in code page {codepage}"))
            save_client_png(bench.tool, widget.form_facts(), f"widget-{codepage}.png")
            widget.stop()
        # Exactly the look of the run whose two locales agree on the system's.
        for session, (lang, messages, codepage) in zip(apart, LOCALES_APART):
            widget = session.start(bench.exe)
            wait_for_look(bench.tool, widget, shots[codepage][0],
                          f"LANG={lang} LC_MESSAGES={messages} showing code page {codepage}")
            save_client_png(bench.tool, widget.form_facts(),
                            f"widget-{codepage}-LC_MESSAGES-{messages}.png")
            widget.stop()
    finally:
        for session in (russian, *apart):
            session.stop()

    expected, western_shot = shots["cp1252"]
    assert expected.label("Label4").text == b"  ???? "
    assert shots["cp1251"][0].label("Label4").text == "  сайт ".encode("cp1251")
    links = [expected.label(name).box for name in ("Label3", "Label4", "Label5")]
    differing = mismatches(shots["cp1251"][1], western_shot, WIDTH)
    assert differing, "the two code pages show the same link captions"
    assert not mismatches(shots["cp1251"][1], western_shot, WIDTH, skip=links)
    for box in links:
        assert mismatches(shots["cp1251"][1], western_shot, WIDTH,
                          skip=[b for b in links if b != box]), box


@pytest.mark.own_configuration
def test_the_screen_follows_stored_properties_changed_in_a_copy_of_the_executable(
        bench, western, tmp_path):
    form, offset, _ = read_exe_form(bench.exe)
    data = bytearray(pathlib.Path(bench.exe).read_bytes())
    image1, image3 = form.child("Image1").props["Left"], form.child("Image3").props["Left"]
    assert (image1.type, image1.value, image3.type, image3.value) == (2, 0, 3, 184)
    # The background moves 6 columns right, baring the button face at the left edge beneath the
    # title strip; the close glyph moves to column 120.
    data[offset + image1.offset] = 6
    struct.pack_into("<h", data, offset + image3.offset, 120)
    copy = tmp_path / "HotKeys.exe"
    copy.write_bytes(data)
    changed, _, _ = read_exe_form(copy)
    assert changed.child("Image1").props["Left"].value == 6
    assert changed.child("Image3").props["Left"].value == 120

    widget = western.start(copy)
    face = western.layout.button_face()
    expected = Expected(changed, western.layout, face, "cp1252")
    shown = wait_for_look(bench.tool, widget, expected, "the widget from the changed copy")
    assert shown[3 * (40 * WIDTH):3 * (40 * WIDTH) + 3] == bytes(face)
