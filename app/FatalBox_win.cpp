#include "app/FatalBox_win.h"

#include "app/ErrorBox_win.h"
#include "app/FatalBox.h"
#include "platform/AnsiText_win.h"
#include "platform/FileName.h"
#include "platform/ModuleFileName_win.h"

#include <string>
#include <windows.h>

namespace hk {

namespace {

// Errors from outside the program carry no address; they are reported at the start of the
// executable.
HMODULE moduleAt(const void* address) {
    HMODULE module = nullptr;
    if (address == nullptr ||
        !::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(address), &module)) {
        return ::GetModuleHandleA(nullptr);
    }
    return module;
}

std::string moduleBaseName(HMODULE module) {
    return std::string(fileNameOf(moduleFileName(module), systemCharacterLength));
}

// The module's name and the box; what the box says is decided in the core (app/FatalBox.cpp).
class Win32FatalBoxPlatform : public FatalBoxPlatform {
public:
    CodePlace codePlace(const void* address) override {
        const HMODULE module = moduleAt(address);
        std::uintptr_t offset = 0;
        if (address != nullptr) {
            offset = static_cast<const char*>(address) - reinterpret_cast<const char*>(module);
        }
        return {moduleBaseName(module), offset};
    }

    SentenceEnds sentenceEnds() override { return systemSentenceEnds(); }

    void showFatalBox(const char* text) noexcept override {
        ::MessageBoxA(nullptr, text, "Application Error", MB_OK | MB_TASKMODAL | MB_ICONERROR);
    }
};

} // namespace

void showFatalError(const std::exception& error) noexcept {
    Win32FatalBoxPlatform platform;
    showFatalError(platform, error);
}

} // namespace hk
