"""Fixtures of the end-to-end tests: one display, prefix and wineserver for the session, and a
fresh widget and fresh probe windows for each test. Paths come from harness.paths:
HOTKEYS_WIN_DIR chooses the build tree whose HotKeys.exe and helpers run, build/win64 by default,
build/win32 for the 32-bit program (whose helpers are 32-bit too, as a DLL loaded into it must
be)."""

import contextlib

import pytest

from harness import processes, screen
from harness.configuration import Configuration
from harness.display import Display
from harness.layouttool import LayoutTool
from harness.paths import ARTIFACTS, PREFIX, WIN_DIR
from harness.probe import Probe
from harness.resource import read_exe_form
from harness.session import Session
from harness.widget import Widget, stop_all
from harness.wine import Wine
from harness.wintool import WinTool
from layout.geometry import Geometry


class Bench:
    def __init__(self):
        self.exe = WIN_DIR / "HotKeys.exe"
        missing = [name for name in ("HotKeys.exe", "wintool.exe", "probe.exe", "menudump.dll")
                   if not (WIN_DIR / name).exists()]
        if missing:
            raise FileNotFoundError(f"{missing} not in {WIN_DIR}: run `make build` first")
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        self.configuration = Configuration.from_environment()
        self.settings = contextlib.ExitStack()
        self.display = Display()
        self.wine = Wine(PREFIX, self.display.name)
        self.configuration.locale_environment(self.wine.env)
        try:
            self.configuration.set_keyboard(self.display.name)
            self.wine.ensure_prefix()
            self.wine.start_server()
            self.settings = self.configuration.registry(self.wine)
            self.tool = WinTool(self.wine, str(WIN_DIR / "wintool.exe"))
            wrong = self.configuration.mismatches(self.tool.system())
            if wrong:
                raise RuntimeError(f"the configuration did not take: {'; '.join(wrong)}")
        except BaseException:
            self.close()
            raise
        self.probes = []

    def restart_server(self):
        """A fresh wineserver forgets every global atom and hotkey of earlier programs."""
        self.wine.stop_server()
        self.wine.start_server()

    def describe(self):
        """What the screen held: every top-level window, the probe logs and a screenshot."""
        lines = [f"  {self.tool.foreground()}"]
        lines += [f"  {facts}" for facts in self.tool.top_level_facts()]
        for probe in self.probes:
            lines.append(f"  probe log {probe.log_path}:\n{probe.log()}")
        shot = ARTIFACTS / f"failure-{len(list(ARTIFACTS.glob('failure-*.png')))}.png"
        lines.append(f"  screenshot: {screen.save_png(self.display.name, str(shot))}")
        return "\n".join(lines)

    def close(self):
        processes.stop_remaining()
        try:
            self.settings.close()
        finally:
            self.wine.stop_server()
            self.display.stop()


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
    """A widget started normally and shown."""
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
def geometry(bench):
    """Where the widget's components lie at the configuration's resolution (96 unless it names
    another)."""
    form, _, _ = read_exe_form(bench.exe)
    layout = LayoutTool(bench.wine, str(WIN_DIR / "layouttool.exe"))
    return Geometry.measure(form, layout, bench.configuration.dpi)


@pytest.fixture
def open_probe(bench, tmp_path):
    """Opens probe windows with the given titles; each call is one probe process."""
    started = []

    def open_windows(*titles):
        probe = Probe(bench.wine, str(WIN_DIR / "probe.exe"),
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
