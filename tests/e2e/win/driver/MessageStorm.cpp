// Random messages posted to other programs' windows, the same ones for the same seed.
#include "Commands.h"

#include <cstdio>
#include <vector>

namespace {

// splitmix64: fixed by its definition, so a seed replays on any build.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }

private:
    std::uint64_t state;
};

struct Message {
    HWND window;
    UINT number;
    std::uint64_t wParam;
    std::uint64_t lParam;
};

// Mostly the system's own messages, where the platform's default handling does its work, then
// the private, application and registered ranges, and now and then a number beyond them all.
UINT randomNumber(Random& random) {
    const std::uint64_t range = random.below(100);
    if (range < 60)
        return UINT(random.below(0x400));
    if (range < 75)
        return UINT(0x400 + random.below(0x7C00));
    if (range < 85)
        return UINT(0x8000 + random.below(0x4000));
    if (range < 95)
        return UINT(0xC000 + random.below(0x4000));
    return UINT(random.next());
}

// Numbers that handlers read as flags, counts, ids, points, handles and pointers.
std::uint64_t randomParameter(Random& random, const std::vector<HWND>& windows) {
    switch (random.below(8)) {
    case 0:
        return 0;
    case 1:
        return random.below(16);
    case 2:
        return random.below(0x10000);
    case 3:
        return random.next() & 0xFFFFFFFF;
    case 4:
        return random.next();
    case 5:
        return ~std::uint64_t(0);
    case 6: // a point on or near the widget, as mouse messages carry it
        return (random.below(300) << 16) | random.below(500);
    default:
        return reinterpret_cast<std::uintptr_t>(windows[random.below(windows.size())]);
    }
}

// Left out: what asks a window to close, the session to end or the program to quit; and two
// things after which Wine's own default handling waits for input that never comes (a system
// menu popped up by message, whose menu loop a later bogus DDE message hangs for good, and a
// non-client button press, which waits for its release).
bool leftOut(UINT message, std::uint64_t wParam) {
    switch (message) {
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ENDSESSION:
    case 0x0313: // WM_POPUPSYSTEMMENU
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
    case WM_NCXBUTTONDOWN:
    case WM_NCXBUTTONDBLCLK:
        return true;
    case WM_SYSCOMMAND:
        return (wParam & 0xFFF0) == SC_CLOSE;
    default:
        return false;
    }
}

Message randomMessage(Random& random, const std::vector<HWND>& windows) {
    Message message{windows[random.below(windows.size())], 0, 0, 0};
    do {
        message.number = randomNumber(random);
        message.wParam = randomParameter(random, windows);
        message.lParam = randomParameter(random, windows);
    } while (leftOut(message.number, message.wParam));
    return message;
}

} // namespace

// Posts messages FIRST to FIRST + COUNT - 1 of SEED's sequence: a stretch of a run replays alone.
int postStorm(Args args) {
    const std::uint64_t seed = parseNumber(args[0]);
    const std::uint64_t first = parseNumber(args[1]);
    const std::uint64_t end = first + parseNumber(args[2]);
    std::FILE* log = _wfopen(wide(args[3]).c_str(), L"w");
    if (log == nullptr)
        return 1;
    std::vector<HWND> windows;
    for (char* const text : args.subspan(4))
        windows.push_back(parseWindow(text));

    Random random(seed);
    std::uint64_t posted = 0;
    std::uint64_t refused = 0;
    for (std::uint64_t index = 0; index < end; ++index) {
        const Message message = randomMessage(random, windows);
        if (index < first)
            continue;
        // Messages that carry pointers cannot be posted; the platform refuses them.
        const bool ok = PostMessageA(message.window, message.number, WPARAM(message.wParam),
                                     LPARAM(message.lParam));
        ok ? ++posted : ++refused;
        std::fprintf(log, "%llu %p 0x%x 0x%llx 0x%llx %s\n", index,
                     static_cast<void*>(message.window), message.number, message.wParam,
                     message.lParam, ok ? "posted" : "refused");
    }
    std::fclose(log);
    std::printf("seed=%llu posted=%llu refused=%llu\n", seed, posted, refused);
    return 0;
}
