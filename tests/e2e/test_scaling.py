"""The widget at 120 pixels per inch, where Wine's "MS Sans Serif" measures "0" 16 pixels high:
everything moves by 16/13 except the window, the pictures keep their size, and the band they
leave at the right shows the button face, whatever colour that is."""

import contextlib

import pytest

from layout.geometry import ORIGIN
from harness.session import Session
from layout.expected import Expected
from layout.geometry import Geometry
from layout.look import wait_for_look

DESKTOP = r"HKCU\Control Panel\Desktop"
COLOURS = r"HKCU\Control Panel\Colors"
PLACES_120 = {"Image3": (226, 0), "Label2": (84, 25), "Label1": (84, 43)}
LINKS_120 = {"Label3": (10, 69, 70, 16), "Label4": (89, 68, 40, 16), "Label5": (138, 68, 100, 16)}


@pytest.fixture
def at_120_dpi(bench):
    session = Session(bench, "C")
    with session.host.registry_value(DESKTOP, "LogPixels", "REG_DWORD", "120"):
        yield session
        session.stop()


@pytest.mark.own_configuration
@pytest.mark.parametrize("button_face", [None, (200, 100, 50)], ids=["default", "orange"])
def test_at_120_dpi_the_layout_grows_by_sixteen_thirteenths_over_the_button_face(
        bench, form, at_120_dpi, button_face):
    session = at_120_dpi
    with contextlib.ExitStack() as stack:
        if button_face:
            stack.enter_context(session.host.registry_value(COLOURS, "ButtonFace", "REG_SZ",
                                               " ".join(map(str, button_face))))
        face = session.layout.button_face()
        assert face == (button_face or face)
        # The tests' own reading of the scaling rule gives what was measured at 120 dpi.
        geometry = Geometry.measure(form, session.layout, 120)
        assert {name: geometry.box(name)[:2] for name in PLACES_120} == PLACES_120
        assert {name: geometry.box(name) for name in LINKS_120} == LINKS_120
        assert set(geometry.font_heights.values()) == {-15}
        widget = session.start(bench.exe)
        facts = widget.wait_shown()
        assert facts.position == ORIGIN
        assert facts.client == (0, 0, *geometry.client) == (0, 0, 249, 84)
        expected = Expected(form, session.layout, face, "cp1252", **geometry.expected_look())
        shown = wait_for_look(bench.tool, widget, expected,
                              f"the widget at 120 dpi over {face}")
        widget.stop()

    # The band right of the pictures, between the close glyph and the links, is the button face.
    band = {shown[3 * (y * 249 + x):3 * (y * 249 + x) + 3] for y in range(16, 68)
            for x in range(202, 249)}
    assert band == {bytes(face)}
