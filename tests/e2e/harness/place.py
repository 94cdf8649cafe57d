"""Where the widget stands on the screen and how large its client area is at 96 dpi: the Left,
Top, ClientWidth and ClientHeight of the form description the program is built with."""

from .paths import ROOT
from .resource import parse_form

_FORM = parse_form((ROOT / "resources" / "TForm1.bin").read_bytes())

ORIGIN = (_FORM.props["Left"].value, _FORM.props["Top"].value)
SIZE = (_FORM.props["ClientWidth"].value, _FORM.props["ClientHeight"].value)
