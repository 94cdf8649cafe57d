#pragma once

#include "base/ErrorReporter.h"
#include "form/FormDescription.h"
#include "hotkeys/HotkeyDispatch.h"
#include "hotkeys/HotkeyTable.h"
#include "platform/ShellLibrary_win.h"
#include "platform/WindowProcedure_win.h"
#include "widget/ComponentArt_win.h"
#include "widget/FormMouse_win.h"
#include "widget/WindowState.h"

#include <vector>
#include <windows.h>

namespace hk {

// The widget: one borderless pop-up owned by the application window, built from the stored form
// description and drawn from its windowless components. Errors that escape its handlers go to
// `reporter`.
class TForm1 {
public:
    TForm1(HINSTANCE instance, HWND owner, ErrorReporter& reporter);
    // Neither copied nor moved: its window and its members hold on to this very object.
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    HWND handle() const { return window.get(); }
    ErrorReporter& errorReporter() { return reporter; }

    // Registers the hotkey table on the widget's window.
    void FormCreate();
    void show(WindowState state);
    bool hasBeenShown() const { return shown; }
    // Ends the program: the widget is the main form.
    void close();
    // The widget has no keyboard shortcuts of its own, so every key goes on to its window.
    bool claimsKey(const MSG&) const { return false; }

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Runs the handler that the form description names (FormHandlers_win.cpp).
    void runHandler(Handler handler);
    void Image2MouseDown();
    void Image3Click();
    void Label3Click();
    void Label4Click();
    void Label5Click();
    void WMHotKey(WPARAM id);
    void onPaint(HWND hwnd);
    void paintContent(HDC dc, const RECT& area);
    void setSlotCaption(int slot, const std::string& caption);

    ErrorReporter& reporter;
    HotkeyPlatform& platform;
    HotkeyDispatch dispatch;
    HotkeyIds hotkeyIds{};
    FormDescription form;
    std::vector<ComponentArt> art; // parallel to form.components
    FormMouse mouse{form.components, [this](Handler handler) { runHandler(handler); }};
    bool shown = false;
    ShellLibrary shell;       // for the link labels
    OwnWindow<TForm1> window; // last: destroyed while the members above are still alive
};

// The program's reference to its widget, set before the widget is constructed.
extern TForm1* Form1;

} // namespace hk
