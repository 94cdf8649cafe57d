"""The 19 hotkeys and their atoms, seen from other programs on the same desktop."""

from harness.keys import MOD_ALT, MOD_NONE, MOD_SHIFT, VK_F, VK_NUMPAD1, WIDGET_COMBOS
from layout.geometry import ORIGIN

FREE_COMBOS = [(MOD_SHIFT, VK_F[1]), (MOD_ALT, VK_F[4]), (MOD_NONE, VK_NUMPAD1)]
ATOM_NAMES = [f"Hotkey{n}" for n in [*range(1, 8), *range(11, 23)]]
UNUSED_ATOM_NAMES = ["Hotkey8", "Hotkey9", "Hotkey10"]


def test_other_programs_cannot_take_the_widgets_combinations_but_can_take_the_rest(tool, widget):
    results = tool.try_hotkeys(*WIDGET_COMBOS, *FREE_COMBOS)
    assert [combo for combo in WIDGET_COMBOS if results[combo]] == []
    assert [combo for combo in FREE_COMBOS if not results[combo]] == []


def test_nineteen_atoms_name_the_hotkeys_and_the_gap_stays_empty(bench, tool, start_widget):
    # Atoms outlive the programs that add them, so only a fresh server shows who added them.
    bench.restart_server()
    assert set(tool.atoms(*ATOM_NAMES).values()) == {0}

    start_widget().wait_shown()
    atoms = tool.atoms(*ATOM_NAMES, *UNUSED_ATOM_NAMES)
    assert [name for name in ATOM_NAMES if atoms[name] == 0] == []
    assert len({atoms[name] for name in ATOM_NAMES}) == 19
    assert [name for name in UNUSED_ATOM_NAMES if atoms[name] != 0] == []


def test_second_copy_shows_its_window_while_the_first_keeps_every_hotkey(tool, start_widget):
    first = start_widget()
    first.wait_shown()
    second = start_widget()
    assert second.pid != first.pid
    assert second.wait_shown().position == ORIGIN

    assert second.close() == 0
    assert first.running()
    results = tool.try_hotkeys(*WIDGET_COMBOS)
    assert [combo for combo in WIDGET_COMBOS if results[combo]] == []
