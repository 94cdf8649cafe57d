"""The widget's expected look, worked out by the tests on their own: the form description read
straight out of HotKeys.exe, its pictures decoded and blended in Python, and label text drawn by
the driver."""
