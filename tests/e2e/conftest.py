"""Fixtures of the end-to-end tests: one host (harness.host) and driver for the session, and a
fresh widget and fresh probe windows for each test. Paths come from harness.paths:
HOTKEYS_WIN_DIR chooses the build tree whose HotKeys.exe and helpers run, build/win64 by default,
build/win32 for the 32-bit program (whose helpers are 32-bit too, as a DLL loaded into it must
be)."""

import pytest

from harness import processes, screen
from harness.configuration import Configuration
from harness.driver import Driver
from harness.host import make_host
from harness.paths import ARTIFACTS, WIN_DIR
from harness.probe import Probe
from harness.resource import read_exe_form
from harness.session import Session
from harness.widget import Widget, stop_all
from layout.geometry import Geometry

# What the harness runs from the build tree.
HELPERS = ("HotKeys.exe", "driver.exe", "probe.exe", "menudump.dll")


class Bench:
    def __init__(self):
        self.exe = WIN_DIR / "HotKeys.exe"
        missing = [name for name in HELPERS if not (WIN_DIR / name).exists()]
        if missing:
            raise FileNotFoundError(f"{missing} not in {WIN_DIR}: run `make build` first")
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        self.configuration = Configuration.from_environment()
        self.host = make_host(self.configuration, WIN_DIR / "driver.exe")
        try:
            self.tool = Driver(self.host)
            wrong = self.configuration.mismatches(self.tool.system())
            if wrong:
                raise RuntimeError(f"the configuration did not take: {'; '.join(wrong)}")
        except BaseException:
            self.close()
            raise
        self.probes = []

    def restart_server(self):
        """Forgets every global atom and hotkey of earlier programs; the driver starts again."""
        self.tool.close()
        self.host.restart_server()
        self.tool.open()

    def describe(self):
        """What the screen held: every top-level window, the probe logs and a screenshot."""
        lines = [f"  {self.tool.foreground()}"]
        lines += [f"  {facts}" for facts in self.tool.top_level_facts()]
        for probe in self.probes:
            lines.append(f"  probe log {probe.log_path}:\n{probe.log()}")
        shot = ARTIFACTS / f"failure-{len(list(ARTIFACTS.glob('failure-*.png')))}.png"
        lines.append(f"  screenshot: {screen.save_png(self.tool, str(shot))}")
        return "\n".join(lines)

    def close(self):
        processes.stop_remaining()
        try:
            if hasattr(self, "tool"):
                self.tool.close()
        finally:
            self.host.close()


@pytest.fixture(scope="session")
def build_tree():
    """The build tree under test: its HotKeys.exe, the helpers, and release.json, which says what
    the build embedded (version and link pages)."""
    return WIN_DIR


@pytest.fixture(scope="session")
def bench():
    session = Bench()
    yield session
    session.close()


@pytest.fixture
def tool(bench):
    return bench.tool


@pytest.fixture
def start_widget(bench):
    """Starts HotKeys.exe (or a copy of it) with an optional show command; ends it afterwards."""
    started = []

    def start(exe=None, show=None):
        widget = Widget(bench.tool, str(exe or bench.exe), show)
        started.append(widget)
        return widget

    yield start
    stop_all(started)


@pytest.fixture
def widget(start_widget):
    shown = start_widget()
    shown.wait_shown()
    return shown


@pytest.fixture
def western(bench):
    """A look session in the C locale, whose code page is the Western one."""
    session = Session(bench, "C")
    yield session
    session.stop()


@pytest.fixture
def local(bench):
    """A look session in the configuration's locales: the C locale unless it names others."""
    configuration = bench.configuration
    session = Session(bench, configuration.lang or "C", configuration.messages)
    yield session
    session.stop()


@pytest.fixture(scope="session")
def form(bench):
    """The form description stored in the program under test."""
    return read_exe_form(bench.exe)[0]


@pytest.fixture(scope="session")
def geometry(bench, form):
    """Where the widget's components lie at the configuration's resolution (96 unless it names
    another)."""
    return Geometry.measure(form, bench.tool, bench.configuration.dpi)


@pytest.fixture
def open_probe(bench, tmp_path):
    """Opens probe windows with the given titles; each call is one probe process."""
    started = []

    def open_windows(*titles):
        probe = Probe(bench.tool, str(WIN_DIR / "probe.exe"),
                      str(tmp_path / f"probe{len(started)}.log"), titles)
        started.append(probe)
        bench.probes.append(probe)
        return probe

    yield open_windows
    for probe in started:
        probe.stop()
        bench.probes.remove(probe)


def pytest_configure(config):
    config.addinivalue_line("markers", "own_configuration: the test sets its own locale or "
                            "resolution, or holds in the default ones only; `make matrix` "
                            "leaves it out")


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    bench = item.funcargs.get("bench") if hasattr(item, "funcargs") else None
    if report.when == "call" and report.failed and bench:
        try:
            seen = bench.describe()
        except Exception as error:  # the failure itself must still be reported
            seen = f"could not look at the screen: {error!r}"
        report.sections.append(("what the bench saw", seen))
