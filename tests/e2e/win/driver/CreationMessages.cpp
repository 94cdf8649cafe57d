// Creation messages and window data forged from outside the process that owns the window.
#include "Commands.h"

#include <cstdio>
#include <cstring>

namespace {

// What the forged CREATESTRUCT carries as its creation parameter. "none" sends no structure at
// all; "image" is the target's own module base, memory that is mapped but holds no object.
bool creationParameter(const char* kind, HWND target, void*& parameter) {
    if (std::strcmp(kind, "null") == 0)
        parameter = nullptr;
    else if (std::strcmp(kind, "garbage") == 0)
        parameter = reinterpret_cast<void*>(0x4141414141414141ull);
    else if (std::strcmp(kind, "image") == 0)
        parameter = reinterpret_cast<void*>(GetWindowLongPtrA(target, GWLP_HINSTANCE));
    else
        return false;
    return true;
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
            if (!creationParameter(kind, target, create.lpCreateParams))
                return kBadUsage;
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
