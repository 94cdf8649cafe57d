"""The mouse: where the pointer is moved and pressed (SendInput through the driver), and the
shape it shows (the host tells)."""

from .poll import wait_until

# Keys pressed during a move, by their virtual keys.
KEYS = {"Return": "0xd", "Escape": "0x1b"}


class Pointer:
    def __init__(self, tool):
        self.tool = tool

    def move(self, x, y):
        at = self.tool.mouse("move", x, y)
        assert at == (x, y), f"the pointer went to {at} instead of {(x, y)}"

    def press(self, button=1):
        self.tool.mouse("down", button)

    def release(self, button=1):
        self.tool.mouse("up", button)

    def click(self, x, y):
        self.move(x, y)
        self.press()
        self.release()

    def drag(self, start, end):
        self.move(*start)
        self.press()
        self.move(*end)
        self.release()

    def double_click_drag(self, start, end):
        """A click and at once a second press at start, dragged to end: the second press comes
        within the double-click time, so the window under it sees a double click."""
        self.click(*start)
        self.drag(start, end)

    def key(self, name):
        self.tool.keys(KEYS[name])

    def shape(self):
        return self.tool.host.pointer_shape(self.tool)

    def wait_shape(self, x, y, expected, what):
        """Moves the pointer to (x, y) and waits until it shows `expected`.

        The window under the pointer sets its shape only once it has handled the move."""
        self.move(x, y)
        seen = [None]

        def shows():
            seen[0] = self.shape()
            return seen[0] == expected

        # On failure, what was shown instead (an X pointer by its size and hot spot).
        brief = lambda shape: shape[:4] if isinstance(shape, tuple) else shape
        wait_until(shows, lambda: f"the {what} pointer at ({x}, {y}), showing {brief(seen[0])} "
                                  f"for {brief(expected)}")
