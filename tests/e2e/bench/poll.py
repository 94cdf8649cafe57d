"""Waiting for a condition with a deadline instead of sleeping for a guessed time."""

import time


class Timeout(AssertionError):
    pass


def wait_until(condition, what, timeout=10.0, interval=0.05):
    """Calls condition() until it returns something truthy and returns that.

    On timeout raises Timeout naming `what` and the last value seen, so a failure shows what the
    bench was looking at rather than just that it gave up."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout(f"waited {timeout:g}s for {what}; last seen: {value!r}")
        time.sleep(interval)


def stays(condition, what, span=0.5, interval=0.05):
    """Checks that condition() holds throughout `span` seconds: used to show that something does
    NOT happen (no key arrives, the process keeps running), which no event can signal."""
    deadline = time.monotonic() + span
    while time.monotonic() < deadline:
        value = condition()
        if not value:
            raise AssertionError(f"expected {what} to hold, but it stopped: {value!r}")
        time.sleep(interval)
