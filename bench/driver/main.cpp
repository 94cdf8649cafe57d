// keybench: the Win32 side of `make bench`. It owns the target window, starts the widget and the
// floor in turn, and prints one line per sample for bench/run.py to summarise:
//   keybench latency WIDGET FLOOR PRESSES ROUNDS   block NAME | latency NAME MICROSECONDS |
//                                                  lost NAME COUNT
//   keybench startup WIDGET FLOOR RUNS             startup NAME MILLISECONDS | spoiled NAME
//   keybench idle WIDGET FLOOR SECONDS             idle NAME CPU_MS THREADS STARTUP_CPU_MS
#include "ProgramUnderTest.h"
#include "TargetWindow.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <initializer_list>
#include <string>
#include <tlhelp32.h>
#include <utility>

namespace bench {
namespace {

void sendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
    INPUT inputs[8]{};
    UINT count = 0;
    for (const auto& [key, up] : keys) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count].ki.wVk = key;
        inputs[count].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++count;
    }
    SendInput(count, inputs, sizeof(INPUT));
}

void pressF5() {
    sendKeys({{VK_F5, false}, {VK_F5, true}});
}

// Both forwarders activate their window when it shows; the target is brought forward again so
// that in either case the key-up of each press goes to the target and the forwarder sees only
// the hotkey.
void bringTargetForward(TargetWindow& target) {
    SetForegroundWindow(target.handle());
    Sleep(50);
    target.drain();
}

// Alt+N binds whatever window is in front; a trial press shows whether the binding took.
bool bindWidget(TargetWindow& target) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        bringTargetForward(target);
        sendKeys({{VK_MENU, false}, {'N', false}, {'N', true}, {VK_MENU, true}});
        Sleep(100);
        target.drain();
        target.expect();
        pressF5();
        if (target.waitArrival(1000) != 0) {
            Sleep(10);
            target.drain();
            return true;
        }
    }
    return false;
}

// The floor knows its target from its command line; the widget is told with Alt+N.
bool aimAtTarget(const ProgramKind& kind, TargetWindow& target) {
    if (kind.takesTarget) {
        bringTargetForward(target);
        return true;
    }
    return bindWidget(target);
}

void latencyBlock(const ProgramKind& kind, TargetWindow& target, int presses) {
    std::printf("block %s\n", kind.name.c_str());
    ProgramUnderTest program(kind, target.handle());
    if (!program.waitReady(20000) || !aimAtTarget(kind, target)) {
        std::printf("lost %s %d\n", kind.name.c_str(), presses);
        return;
    }
    int lost = 0;
    for (int i = 0; i < presses; ++i) {
        target.expect();
        const LONGLONG injected = now();
        pressF5();
        const LONGLONG arrived = target.waitArrival(1000);
        if (arrived == 0) {
            ++lost;
        } else {
            std::printf("latency %s %.1f\n", kind.name.c_str(), microseconds(arrived - injected));
        }
        // A pause lets the key-up and anything else the press caused settle before the next.
        Sleep(1);
        target.drain();
    }
    if (lost > 0) {
        std::printf("lost %s %d\n", kind.name.c_str(), lost);
    }
    std::fflush(stdout);
}

void startupRun(const ProgramKind& kind, TargetWindow& target) {
    const LONGLONG started = now();
    ProgramUnderTest program(kind, target.handle());
    const bool ready = program.waitReady(20000);
    const LONGLONG readyAt = now();
    // The readiness probe may have held the last key at the instant the program wanted it.
    if (ready && program.holdsAllKeys()) {
        std::printf("startup %s %.1f\n", kind.name.c_str(), microseconds(readyAt - started) / 1e3);
    } else {
        std::printf("spoiled %s\n", kind.name.c_str());
    }
    std::fflush(stdout);
}

double milliseconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e4;
}

double cpuMilliseconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    return milliseconds(kernel) + milliseconds(user);
}

int threadCount(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == processId ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

void idleRun(const ProgramKind& kind, TargetWindow& target, int seconds) {
    ProgramUnderTest program(kind, target.handle());
    if (!program.waitReady(20000)) {
        std::printf("spoiled %s\n", kind.name.c_str());
        return;
    }
    // Start-up work still under way is not idling. What start-up cost shows that the clock read
    // from outside the process does move.
    Sleep(1000);
    target.drain();
    const double before = cpuMilliseconds(program.process());
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double after = cpuMilliseconds(program.process());
    std::printf("idle %s %.1f %d %.1f\n", kind.name.c_str(), after - before,
                threadCount(program.processId()), before);
    std::fflush(stdout);
}

int run(int argc, char** argv) {
    if (argc != 6 && argc != 5) {
        return 2;
    }
    const std::string command = argv[1];
    const ProgramKind widget = widgetKind(argv[2]);
    const ProgramKind floor = floorKind(argv[3], widget.place);
    const int count = std::atoi(argv[4]);
    TargetWindow target(GetModuleHandleA(nullptr));
    target.drain();
    Sleep(200);
    rememberEmptyScreen(widget.place);
    if (command == "latency" && argc == 6) {
        // Interleaved blocks, so drift of the shared machine falls on both alike.
        for (int round = 0; round < std::atoi(argv[5]); ++round) {
            latencyBlock(round % 2 == 0 ? widget : floor, target, count);
            latencyBlock(round % 2 == 0 ? floor : widget, target, count);
        }
    } else if (command == "startup") {
        for (int round = 0; round < count; ++round) {
            startupRun(round % 2 == 0 ? widget : floor, target);
            startupRun(round % 2 == 0 ? floor : widget, target);
        }
    } else if (command == "idle") {
        idleRun(widget, target, count);
        idleRun(floor, target, count);
    } else {
        return 2;
    }
    return 0;
}

} // namespace
} // namespace bench

int main(int argc, char** argv) {
    try {
        return bench::run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "keybench: %s\n", error.what());
        return 1;
    }
}
