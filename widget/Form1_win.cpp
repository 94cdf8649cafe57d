#include "widget/Form1_win.h"

#include "base/Error.h"
#include "form/FormResource_win.h"
#include "hotkeys/HotkeyRegistration.h"
#include "hotkeys/SystemHotkeyPlatform_win.h"
#include "platform/AnsiText_win.h"
#include "platform/DcGuards_win.h"
#include "platform/PixelRect_win.h"
#include "platform/SystemErrorText_win.h"
#include "platform/WindowHandle_win.h"
#include "platform/WindowProcedure_win.h"
#include "widget/FormLayout.h"
#include "widget/FormLoader_win.h"
#include "widget/FormPainter_win.h"
#include "widget/TextDrawing_win.h"

namespace hk {

TForm1* Form1 = nullptr;

namespace {

constexpr char kClassName[] = "TForm1";

// Without a border the window's outer size is its client size. The layout changes it only at
// another resolution; a size that already holds is left alone, which spares the platform a round
// of position messages at start-up.
void setClientSize(HWND window, int width, int height) {
    RECT client{};
    if (::GetClientRect(window, &client) && client.right == width && client.bottom == height) {
        return;
    }
    ::SetWindowPos(window, nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

TForm1::TForm1(HINSTANCE instance, HWND owner, ErrorReporter& reporter)
    : reporter(reporter), platform(systemHotkeyPlatform()),
      dispatch(platform, {TargetWindow1, TargetTitle1}, {TargetWindow2, TargetTitle2},
               systemCharacterLength),
      form(readFormDescription(formResource(instance))) {
    if (!registerWindowClass<TForm1>(instance, kClassName, CS_DBLCLKS, nullptr)) {
        raiseLastError(SystemErrorWording::CodeAndText);
    }
    // Created hidden while the form loads: the scaling rule measures on the window's surface.
    window = createOwnWindow(*this, [&] {
        return ::CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, "",
                                 WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, form.left, form.top,
                                 form.clientWidth, form.clientHeight, owner, nullptr, instance,
                                 nullptr);
    });
    art = loadForm(form, window.get());
    setClientSize(window.get(), form.clientWidth, form.clientHeight);
}

void TForm1::FormCreate() {
    registerHotkeys(platform, handleOf(window.get()), hotkeyIds);
}

void TForm1::show(WindowState state) {
    ::ShowWindow(window.get(), state == WindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    shown = true;
}

void TForm1::close() {
    ::PostQuitMessage(0);
}

LRESULT TForm1::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto handled = mouse.handleMessage(hwnd, message, wParam, lParam)) {
        return *handled;
    }
    switch (message) {
    case WM_HOTKEY:
        WMHotKey(wParam);
        return 0;
    case WM_PAINT:
        onPaint(hwnd);
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

// A refused key goes to the error box like any handler's error, once the captions are shown.
void TForm1::WMHotKey(WPARAM id) {
    const HotkeyOutcome outcome = dispatch.WMHotKey(hotkeyIds, static_cast<std::uint32_t>(id));
    for (const CaptionChange& change : outcome.captions) {
        setSlotCaption(change.slot, change.caption);
    }
    if (outcome.refusal) {
        raise<PostRefused>(*outcome.refusal);
    }
}

// Repaints only what the label's old and new boxes cover, and nothing when the text is unchanged.
void TForm1::setSlotCaption(int slot, const std::string& caption) {
    const std::size_t index = slotLabelIndex(form, slot);
    const HFONT font = art[index].font.get();
    const auto measure = [font](const std::string& text) { return measureLabelText(font, text); };
    RECT client{};
    ::GetClientRect(window.get(), &client);
    for (const Box& box : setCaption(form.components[index], caption, measure)) {
        const RECT part = rectOf(coveredPart(box, pixelRectOf(client)));
        ::InvalidateRect(window.get(), &part, FALSE);
    }
}

void TForm1::onPaint(HWND hwnd) {
    const PaintGuard paint(hwnd);
    paintContent(paint.dc(), paint.area());
}

void TForm1::paintContent(HDC dc, const RECT& area) {
    paintForm(dc, area, form, art);
}

} // namespace hk
