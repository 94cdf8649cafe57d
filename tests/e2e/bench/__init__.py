"""The end-to-end bench: a Wine prefix, a private X display and helpers that drive
HotKeys.exe, its target windows and the screen from outside, as a user would."""
