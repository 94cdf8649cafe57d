"""Unix processes the bench starts, each stopped again by its own pid."""

import os
import signal
import subprocess

_running = []


class Process:
    def __init__(self, argv, **popen_args):
        self.argv = argv
        self.popen = subprocess.Popen(argv, **popen_args)
        self.pid = self.popen.pid
        _running.append(self)

    def poll(self):
        return self.popen.poll()

    def wait(self, timeout):
        return self.popen.wait(timeout=timeout)

    def stop(self, grace=3.0):
        """Asks the process to end, kills it if it does not, and reaps it."""
        if self.popen.poll() is None:
            try:
                os.kill(self.pid, signal.SIGTERM)
                self.popen.wait(timeout=grace)
            except subprocess.TimeoutExpired:
                os.kill(self.pid, signal.SIGKILL)
                self.popen.wait()
        if self.popen.stdout:
            self.popen.stdout.close()
        if self in _running:
            _running.remove(self)
        return self.popen.returncode


def stop_remaining():
    """Stops what is still running of every process the bench started, the last started first."""
    for process in list(reversed(_running)):
        process.stop()
