// The settings a user's machine differs in, as a program sees them: each one that a run of the
// end-to-end tests is made under is read back here, so that a setting which did not take fails
// the run instead of leaving it in the default configuration.
#include "../HexText.h"
#include "Commands.h"
#include "platform/DcGuards_win.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

// RtlGetVersion is not capped by the caller's manifest, unlike GetVersionEx.
OSVERSIONINFOW reportedVersion() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto get = reinterpret_cast<RtlGetVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    if (get)
        get(&version);
    return version;
}

UINT userCodePage() {
    UINT codePage = 0;
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<char*>(&codePage), sizeof codePage / sizeof(char));
    return codePage;
}

// The letters A to Z as the active layout types them, in the order of their keys' scan codes,
// in UTF-8: "qwertzuiop..." for German. Wine names every layout after the user's locale, so the
// layout's name cannot tell which one it took from the X keyboard.
std::string typedLetters() {
    const HKL layout = GetKeyboardLayout(0);
    const BYTE noModifiers[256] = {};
    std::vector<std::pair<UINT, wchar_t>> keys;
    for (UINT key = 'A'; key <= 'Z'; ++key) {
        const UINT scan = MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, layout);
        WCHAR typed[4] = {};
        if (ToUnicodeEx(key, scan, noModifiers, typed, 4, 0, layout) == 1)
            keys.emplace_back(scan, typed[0]);
    }
    std::sort(keys.begin(), keys.end());
    std::wstring letters;
    for (const auto& key : keys)
        letters += key.second;
    char utf8[128] = ""; // 26 letters of at most 3 bytes each
    WideCharToMultiByte(CP_UTF8, 0, letters.c_str(), int(letters.size()), utf8, sizeof utf8 - 1,
                        nullptr, nullptr);
    return utf8;
}

} // namespace

int systemFacts(Args) {
    const OSVERSIONINFOW version = reportedVersion();
    const hk::WindowDc screen(nullptr);
    std::printf("acp=%u\nusercp=%u\nuilanguage=%s\nversion=%lu.%lu\ndpi=%d\nletters=%s\n", GetACP(),
                userCodePage(), hex(GetUserDefaultUILanguage()).c_str(), version.dwMajorVersion,
                version.dwMinorVersion, GetDeviceCaps(screen.get(), LOGPIXELSY),
                hexBytes(typedLetters()).c_str());
    return 0;
}

int systemColour(Args args) {
    const COLORREF colour = GetSysColor(int(parseNumber(args[0])));
    std::printf("%u %u %u\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return 0;
}

// The system's text for an error code, as a program that asks in its default language gets it:
// the platform's own wording, so that no test holds one system's words.
int errorText(Args args) {
    char text[1024] = "";
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       DWORD(parseNumber(args[0])), 0, text, sizeof text, nullptr);
    if (length == 0)
        return 1;
    std::printf("%s\n", hexBytes(std::string_view(text, length)).c_str());
    return 0;
}
