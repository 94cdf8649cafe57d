"""Comparing the widget's client area with what it must show."""

from harness import screen
from harness.paths import ARTIFACTS
from harness.poll import Timeout, wait_until


def save_client_png(tool, facts, name):
    return screen.save_png(tool, ARTIFACTS / name, (*facts.rect[:2], *facts.client[2:]))


def client_pixels(tool, facts):
    (left, top), (width, height) = facts.rect[:2], facts.client[2:]
    return screen.capture(tool, left, top, left + width, top + height).rgb


def mismatches(actual, expected, width, skip=()):
    """(x, y, expected, actual) of every pixel that differs outside the `skip` boxes."""
    found = []
    for at in range(0, min(len(actual), len(expected)), 3):
        x, y = (at // 3) % width, (at // 3) // width
        if any(l <= x < l + w and t <= y < t + h for l, t, w, h in skip):
            continue
        if actual[at:at + 3] != expected[at:at + 3]:
            found.append((x, y, tuple(expected[at:at + 3]), tuple(actual[at:at + 3])))
    return found


def wait_for_look(tool, widget, expected, what):
    """Waits until the widget's client area is exactly `expected`; fails listing differences."""
    facts = widget.wait_shown()
    want = expected.rgb()
    last = [b""]

    def matches():
        last[0] = client_pixels(tool, facts)
        return last[0] == want

    try:
        wait_until(matches, what)
    except Timeout:
        wrong = mismatches(last[0], want, facts.client[2])
        raise AssertionError(f"{what}: {len(wrong)} pixels differ, first ones "
                             f"(x, y, expected, actual): {wrong[:12]}") from None
    return last[0]
