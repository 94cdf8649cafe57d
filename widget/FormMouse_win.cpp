#include "widget/FormMouse_win.h"

#include <windowsx.h>

namespace hk {
namespace {

Point clientPoint(LPARAM lParam) {
    // Signed: while the form holds the capture, a release left of or above it is negative.
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool anyButtonDown(WPARAM keyState) {
    return (keyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
}

} // namespace

std::optional<LRESULT> FormMouse::handleMessage(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        onButtonDown(hwnd, MouseButton::Left, lParam);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        onButtonDown(hwnd, MouseButton::Right, lParam);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        onButtonDown(hwnd, MouseButton::Middle, lParam);
        return 0;
    case WM_LBUTTONUP:
        onButtonUp(hwnd, MouseButton::Left, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        onButtonUp(hwnd, MouseButton::Right, wParam, lParam);
        return 0;
    case WM_MBUTTONUP:
        onButtonUp(hwnd, MouseButton::Middle, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        router.cancel();
        return 0;
    case WM_SETCURSOR:
        if (onSetCursor(hwnd, wParam, lParam)) {
            return TRUE;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

void FormMouse::onButtonDown(HWND hwnd, MouseButton button, LPARAM lParam) {
    const PressAction action = router.press(components, button, clientPoint(lParam));
    // Held so that the release reaches the form wherever it happens; taking it again would only
    // tell the form that it lost it.
    if (action.capture && ::GetCapture() != hwnd) {
        ::SetCapture(hwnd);
    }
    if (action.handler) {
        runHandler(*action.handler);
    }
}

void FormMouse::onButtonUp(HWND hwnd, MouseButton button, WPARAM wParam, LPARAM lParam) {
    // Decided before the capture goes, since losing it cancels the press.
    const auto click = router.release(components, button, clientPoint(lParam));
    if (!anyButtonDown(wParam) && ::GetCapture() == hwnd) {
        ::ReleaseCapture();
    }
    if (click) {
        runHandler(*click);
    }
}

bool FormMouse::onSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) const {
    if (reinterpret_cast<HWND>(wParam) != hwnd || LOWORD(lParam) != HTCLIENT) {
        return false;
    }
    POINT cursor;
    if (!::GetCursorPos(&cursor) || !::ScreenToClient(hwnd, &cursor)) {
        return false;
    }
    const bool hand = cursorAt(components, {cursor.x, cursor.y}) == Cursor::HandPoint;
    ::SetCursor(::LoadCursorA(nullptr, hand ? IDC_HAND : IDC_ARROW));
    return true;
}

} // namespace hk
