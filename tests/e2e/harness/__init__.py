"""The end-to-end harness: a Wine prefix, a private X display and helpers that drive
HotKeys.exe, its target windows and the screen from outside, as a user would."""
