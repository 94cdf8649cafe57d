// The settings a user's machine differs in, as a program sees them: each one that a run of the
// end-to-end tests is made under is read back here, so that a setting which did not take fails
// the run instead of leaving it in the default configuration.
#include "../HexText.h"
#include "Commands.h"

#include <cstdio>
#include <string>

namespace {

// RtlGetVersion is not capped by the caller's manifest, unlike GetVersionEx.
OSVERSIONINFOW reportedVersion() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto get = reinterpret_cast<RtlGetVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    if (get) {
        get(&version);
    }
    return version;
}

UINT userCodePage() {
    UINT codePage = 0;
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<char*>(&codePage), sizeof codePage / sizeof(char));
    return codePage;
}

// The layout's identifier (KLID) in hex, "00000407" for German; Wine derives it from the X
// keyboard it finds, while the low word of the HKL follows the user's locale.
std::string keyboardLayoutName() {
    char name[KL_NAMELENGTH] = {};
    GetKeyboardLayoutNameA(name);
    return name;
}

int screenPixelsPerInch() {
    const HDC screen = GetDC(nullptr);
    const int pixels = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

int systemFacts(Args args) {
    if (!args.empty())
        return kBadUsage;
    const OSVERSIONINFOW version = reportedVersion();
    std::printf("acp=%u\nusercp=%u\nuilanguage=%s\nversion=%lu.%lu\ndpi=%d\nkeyboard=%s\n",
                GetACP(), userCodePage(), hex(GetUserDefaultUILanguage()).c_str(),
                version.dwMajorVersion, version.dwMinorVersion, screenPixelsPerInch(),
                keyboardLayoutName().c_str());
    return 0;
}

int systemColour(Args args) {
    if (args.size() != 1)
        return kBadUsage;
    const COLORREF colour = GetSysColor(int(parseNumber(args[0])));
    std::printf("%u %u %u\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return 0;
}

// The system's text for an error code, as a program that asks in its default language gets it:
// the platform's own wording, so that no test holds one system's words.
int errorText(Args args) {
    if (args.size() != 1)
        return kBadUsage;
    char text[1024] = "";
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       DWORD(parseNumber(args[0])), 0, text, sizeof text, nullptr);
    if (length == 0)
        return 1;
    std::printf("%s\n", hexBytes(std::string_view(text, length)).c_str());
    return 0;
}
