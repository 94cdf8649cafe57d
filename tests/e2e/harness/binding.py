"""Binding probe windows to the widget's two slots from the keyboard."""


def bind(tool, probe, window, chord, confirm):
    """Brings `window` forward, presses `chord` (alt+n or alt+m) and then `confirm`, a key of the
    same slot, and returns once that key has arrived at the window.

    The widget reads the foreground window only when it handles the hotkey, so without waiting
    for the confirming key a test that moves the focus next could bind the wrong window."""
    tool.set_foreground(window)
    before = len(probe.received(window))
    tool.keys(chord, confirm)
    probe.wait_received(window, before + 1)
    return before + 1
