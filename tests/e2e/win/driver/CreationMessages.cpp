// Creation messages and window data forged from outside the process that owns the window.
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

// What the forged CREATESTRUCT carries as its creation parameter. "none" sends no structure at
// all; "image" is the target's own module base, memory that is mapped but holds no object.
std::optional<void*> creationParameter(const std::string& kind, HWND target) {
    if (kind == "null")
        return nullptr;
    if (kind == "garbage")
        return reinterpret_cast<void*>(0x4141414141414141ull);
    if (kind == "image")
        return reinterpret_cast<void*>(GetWindowLongPtrA(target, GWLP_HINSTANCE));
    return std::nullopt;
}

} // namespace

// Sends each forged creation message in turn and prints, one line each, whether the window's
// thread answered it and what it returned.
int sendCreation(Args args) {
    for (char* const forgery : args.subspan(1)) {
        char kind[16] = {};
        unsigned long long window = 0;
        unsigned message = 0;
        if (std::sscanf(forgery, "%llx:%x:%15s", &window, &message, kind) != 3)
            return kBadUsage;
        HWND target = reinterpret_cast<HWND>(window);
        CREATESTRUCTA create{};
        LPARAM lParam = 0;
        if (std::strcmp(kind, "none") != 0) {
            const std::optional<void*> parameter = creationParameter(kind, target);
            if (!parameter)
                return kBadUsage;
            create.lpCreateParams = *parameter;
            create.lpszName = args[0];
            create.lpszClass = "Hostile";
            create.style = WS_POPUP | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL;
            create.cx = create.cy = 10;
            lParam = reinterpret_cast<LPARAM>(&create);
        }
        DWORD_PTR result = 0;
        SetLastError(0);
        bool answered =
            SendMessageTimeoutA(target, message, 0, lParam, SMTO_NORMAL, 10000, &result);
        std::printf("%s %s %llu %lu\n", forgery, answered ? "answered" : "unanswered",
                    static_cast<unsigned long long>(result), GetLastError());
    }
    return 0;
}

int setWindowData(Args args) {
    SetLastError(0);
    LONG_PTR previous = SetWindowLongPtrA(parseWindow(args[0]), int(parseNumber(args[1])),
                                          LONG_PTR(parseNumber(args[2])));
    DWORD error = GetLastError();
    std::printf("previous=0x%llx error=%lu\n", static_cast<unsigned long long>(previous), error);
    return error == 0 ? 0 : 1;
}
