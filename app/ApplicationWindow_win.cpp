#include "app/ApplicationWindow_win.h"

#include "app/ApplicationTitle.h"
#include "app/SystemMonitorPlatform_win.h"
#include "base/Error.h"
#include "platform/AnsiText_win.h"
#include "platform/ModuleFileName_win.h"
#include "platform/WindowHandle_win.h"
#include "platform/WindowProcedure_win.h"

namespace hk {

namespace {

constexpr char kClassName[] = "TApplication";
constexpr DWORD kStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

std::string moduleTitle() {
    return applicationTitle(moduleFileName(nullptr), systemCharacterLength, toLowerAnsi);
}

HICON mainIcon(HINSTANCE instance) {
    if (HICON icon = ::LoadIconA(instance, "MAINICON")) {
        return icon;
    }
    return ::LoadIconA(nullptr, IDI_APPLICATION);
}

} // namespace

ApplicationWindow::ApplicationWindow(HINSTANCE instance)
    : applicationTitle(moduleTitle()), errorBoxPlatform(applicationTitle),
      errorBox(errorBoxPlatform, systemMonitorPlatform(), systemSentenceEnds()) {
    const HICON icon = mainIcon(instance);
    if (!registerWindowClass<ApplicationWindow>(instance, kClassName, 0, icon)) {
        raise<WindowClassError>("Error creating window class");
    }
    window = createOwnWindow(*this, [&] {
        return ::CreateWindowExA(
            0, kClassName, applicationTitle.c_str(), kStyle, ::GetSystemMetrics(SM_CXSCREEN) / 2,
            ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, instance, nullptr);
    });
    errorBox.setLoneBoxOwner(handleOf(window.get()));
    ::SendMessageA(window.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    const HMENU menu = ::GetSystemMenu(window.get(), FALSE);
    ::DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    ::DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    ::DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
}

void ApplicationWindow::showWithoutActivation() {
    ::SetWindowPos(window.get(), nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void ApplicationWindow::hide() {
    ::ShowWindow(window.get(), SW_HIDE);
}

void ApplicationWindow::showMinimized() {
    ::ShowWindow(window.get(), SW_SHOWMINNOACTIVE);
}

LRESULT ApplicationWindow::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (onCloseRequest) {
            onCloseRequest();
        }
        return 0;
    case WM_ENDSESSION:
        if (wParam != 0 && onEndSession) {
            onEndSession();
        }
        return 0;
    case WM_SYSCOMMAND:
        return onSysCommand(hwnd, wParam, lParam);
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT ApplicationWindow::onSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
        ::ShowOwnedPopups(hwnd, FALSE);
        ::ShowWindow(hwnd, SW_MINIMIZE);
        return 0;
    case SC_RESTORE:
        ::ShowWindow(hwnd, SW_RESTORE);
        putBackAtHalfScreen();
        ::ShowOwnedPopups(hwnd, TRUE);
        if (onRestored) {
            onRestored();
        }
        return 0;
    default:
        return ::DefWindowProcA(hwnd, WM_SYSCOMMAND, wParam, lParam);
    }
}

void ApplicationWindow::putBackAtHalfScreen() {
    ::SetWindowPos(window.get(), nullptr, ::GetSystemMetrics(SM_CXSCREEN) / 2,
                   ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace hk
