"""Unix processes the bench starts, each stopped again by its own pid."""

import subprocess

_running = []


class Process(subprocess.Popen):
    def __init__(self, argv, **popen_args):
        super().__init__(argv, **popen_args)
        _running.append(self)

    def stop(self, grace=3.0):
        if self.poll() is None:
            try:
                self.terminate()
                self.wait(grace)
            except subprocess.TimeoutExpired:
                self.kill()
                self.wait()
        if self in _running:
            _running.remove(self)
        return self.returncode


def stop_remaining():
    """Stops what is still running of every process the bench started, the last started first."""
    for process in list(reversed(_running)):
        process.stop()
