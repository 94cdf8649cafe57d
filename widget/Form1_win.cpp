#include "widget/Form1_win.h"

#include "app/ApplicationWindow_win.h"
#include "app/Error.h"
#include "hotkeys/HotkeyRegistration.h"
#include "platform/DcGuards_win.h"
#include "platform/SystemErrorText_win.h"
#include "platform/WindowProcedure_win.h"

namespace hk {

TForm1* Form1 = nullptr;

namespace {

constexpr char kClassName[] = "TForm1";
constexpr int kLeft = 260;
constexpr int kTop = 227;
constexpr int kWidth = 202;
constexpr int kHeight = 68;

void registerClass(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProcedure<TForm1>;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassA(&windowClass) == 0) {
        raise<SystemError>(lastSystemErrorText());
    }
}

WindowHandle toHandle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

} // namespace

TForm1::TForm1(HINSTANCE instance, ApplicationWindow& application)
    : application(application), dispatch(platform, TargetSlot1, TargetSlot2, isAnsiLeadByte) {
    registerClass(instance);
    window.reset(::CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, "",
                                   WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, kLeft, kTop,
                                   kWidth, kHeight, application.handle(), nullptr, instance, this));
    if (!window) {
        raise<SystemError>(lastSystemErrorText());
    }
}

ErrorReporter& TForm1::errorReporter() {
    return application.errorReporter();
}

void TForm1::FormCreate() {
    hotkeyIds = registerHotkeys(platform, toHandle(window.get()));
}

void TForm1::show(WindowState state) {
    ::ShowWindow(window.get(), state == WindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    shown = true;
    application.showWithoutActivation();
}

void TForm1::close() {
    ::PostQuitMessage(0);
}

LRESULT TForm1::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HOTKEY:
        WMHotKey(wParam);
        return 0;
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void TForm1::WMHotKey(WPARAM id) {
    for (const CaptionChange& change :
         dispatch.WMHotKey(hotkeyIds, static_cast<std::uint32_t>(id))) {
        slotCaptions[change.slot - 1] = change.caption;
        ::InvalidateRect(window.get(), nullptr, FALSE);
    }
}

void TForm1::OnPaint(HWND hwnd) {
    const PaintGuard paint(hwnd);
    PaintContent(paint.dc(), paint.area());
}

// A plain button-face fill until the widget's layout is painted here.
void TForm1::PaintContent(HDC dc, const RECT& area) {
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
}

} // namespace hk
