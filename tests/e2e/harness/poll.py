"""Waiting for a condition with a deadline instead of sleeping for a guessed time."""

import time


class Timeout(AssertionError):
    pass


def wait_until(condition, what, timeout=20.0, interval=0.05, accept=bool):
    """Calls condition() until `accept` holds for what it returns (until it is truthy) and returns
    that.

    On timeout raises Timeout naming `what` (a text, or a function that describes what was last
    seen) and the last value, so a failure shows what the bench was looking at."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if accept(value):
            return value
        if time.monotonic() > deadline:
            description = what() if callable(what) else what
            raise Timeout(f"waited {timeout:g}s for {description}; last seen: {value!r}")
        time.sleep(interval)


def settled(read, what, unlike=()):
    """What read() gives once two readings in a row agree and it is none of `unlike`, so that
    nothing half done (a paint, a pointer's change) is taken."""
    last = []

    def same_twice():
        now = read()
        agreed = last == [now] and now not in unlike
        last[:] = [now]
        return agreed, now
    return wait_until(same_twice, what, accept=lambda reading: reading[0])[1]
