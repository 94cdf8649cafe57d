// driver.exe: the end-to-end tests' one helper process. It reads one command a line from its
// standard input, each argument percent-encoded (%XX for a space, a control character, a byte
// above 0x7E or '%'; text in UTF-8), prints the command's lines, each ended by a line feed, then
// a line of \x04 and the command's result.
#include "Commands.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMany = SIZE_MAX;

struct Command {
    const char* name;
    int (*run)(Args);
    std::size_t fewestArgs;
    std::size_t mostArgs;
};

const Command kCommands[] = {
    {"find", findWindows, 2, 3},        // CLASS|* TITLE|* [PID]: top-level windows, one hwnd a line
    {"info", windowInfo, 1, 1},         // HWND: key=value facts of a window
    {"edittext", editText, 1, 1},       // HWND: text of the window's Edit child
    {"foreground", foreground, 0, 1},   // [HWND]: bring HWND forward; print foreground and focus
    {"post", postMessage, 4, 4},        // HWND MSG WPARAM LPARAM
    {"send", sendMessage, 4, 4},        // HWND MSG WPARAM LPARAM: prints the result
    {"sysmenu", systemMenu, 1, 1},      // HWND: items of the window's system menu
    {"property", windowProperty, 2, 2}, // HWND NAME: a window property's value
    {"hotkey", tryHotkeys, 1, kMany},   // MOD:VK...: RegisterHotKey each, prints ok|fail
    {"atoms", findAtoms, 1, kMany},     // NAME...: GlobalFindAtomA each
    {"keys", sendKeys, 1, kMany},       // CHORD...: SendInput, e.g. alt+n f5 1 shift+f1 sc38+sc31
    {"mouse", sendMouse, 2, 3},         // move X Y | down BUTTON | up BUTTON
    {"screen", readScreen, 0, 4},       // [LEFT TOP RIGHT BOTTOM]: the screen's RGB bytes in hex
    {"cursor", readCursor, 0, 0},       // the cursor shown and the stock hand and arrow
    {"start", startProcess, 2, kMany},  // SHOW|- EXE [ARGS...]: prints pid=
    {"wait", waitProcess, 2, 2},        // PID MS: prints exit= once it has ended, else running
    {"kill", killProcess, 1, 1},        // PID: TerminateProcess
    {"suspend", suspendProcess, 1, 1},  // PID
    {"resume", resumeProcess, 1, 1},    // PID
    {"gdi", countGdiObjects, 1, 1},     // PID: the process's GDI objects
    {"memory", processMemory, 1, 1},    // PID: the process's working set in KiB
    {"system", systemFacts, 0, 0},      // code pages, languages, version, dpi, keyboard
    {"syscolor", systemColour, 1, 1},   // INDEX: "R G B"
    {"errortext", errorText, 1, 1},     // CODE: the system's text for it, in hex
    {"text", measureText, 3, 3},        // FACE HEIGHT HEX: a text measured and drawn as '#' rows
    {"draw", drawText, 7, 7},           // FACE HEIGHT HEX W H RGB PIXELS: a label drawn over PIXELS
    {"dialogtext", dialogTexts, 1, 1},  // HWND: the texts of a dialog's static controls
    {"boxfacts", boxFacts, 1, 1},       // HWND: a message box's text, icon and buttons
    {"click", clickButton, 2, 2},       // HWND ID: a dialog button pressed with the mouse
    {"showbox", showBox, 3, 3},         // FLAGS CAPTION TEXT: a message box of the driver's own
    {"create", sendCreation, 2, kMany}, // TITLE HWND:MSG:KIND...: forged WM_NCCREATE/WM_CREATE
    {"setdata", setWindowData, 3, 3},   // HWND INDEX VALUE: SetWindowLongPtrA from outside
    {"storm", postStorm, 5, kMany},     // SEED FIRST COUNT LOG HWND...: random posted messages
    {"rebind", rebindSlots, 2, kMany},  // COUNT TITLE...: bind own windows to both slots in turn
};

std::vector<std::string> decodeLine(const std::string& line) {
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ' ') {
            words.emplace_back();
        } else if (line[i] == '%' && i + 2 < line.size()) {
            words.back().push_back(char(std::strtoul(line.substr(i + 1, 2).c_str(), nullptr, 16)));
            i += 2;
        } else {
            words.back().push_back(line[i]);
        }
    }
    return words;
}

int run(std::vector<std::string>& words) {
    std::vector<char*> args;
    for (std::string& word : words)
        args.push_back(word.data());
    const Args given(args.data() + 1, args.size() - 1);
    for (const Command& command : kCommands)
        if (words[0] == command.name && given.size() >= command.fewestArgs &&
            given.size() <= command.mostArgs)
            return command.run(given);
    return kBadUsage;
}

constexpr UINT kCommandMessage = WM_APP;

// Reads the commands on a thread of their own and posts each line to the main thread, which
// runs a message loop between commands: a program that sends a message to a window of the
// driver's thread (its IME window, say) is answered at once rather than when the next command
// comes.
DWORD WINAPI readCommands(void* mainThreadId) {
    const auto mainThread = DWORD(reinterpret_cast<std::uintptr_t>(mainThreadId));
    std::string line;
    for (int c; (c = std::getchar()) != EOF;) {
        if (c != '\n') {
            line.push_back(char(c));
            continue;
        }
        PostThreadMessageA(mainThread, kCommandMessage, 0,
                           reinterpret_cast<LPARAM>(new std::string(std::move(line))));
        line.clear();
    }
    PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
    return 0;
}

} // namespace

int main() {
    // Bytes cross as they are, with no CR added to a line's end.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    // It reads physical pixels on a scaled screen; SetProcessDpiAwarenessContext is Windows 10's.
    using SetAwareness = BOOL(WINAPI*)(HANDLE);
    const auto setAwareness = reinterpret_cast<SetAwareness>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
    if (!setAwareness || !setAwareness(reinterpret_cast<HANDLE>(-4))) // per monitor, version 2
        SetProcessDPIAware();
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue, before any post
    const UniqueKernelHandle reader(
        CreateThread(nullptr, 0, readCommands,
                     reinterpret_cast<void*>(std::uintptr_t(GetCurrentThreadId())), 0, nullptr));
    if (!reader)
        return 1;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd != nullptr || message.message != kCommandMessage) {
            DispatchMessageA(&message);
            continue;
        }
        const std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(message.lParam));
        std::vector<std::string> words = decodeLine(*line);
        std::printf("\x04%d\n", run(words));
        std::fflush(stdout);
    }
    return 0;
}
