// The form's event handlers, bound by name from the form description.
#include "widget/Form1_win.h"

namespace hk {
namespace {

// The pages behind the three link labels: the widget's community page, its site and its
// author's page, named at build time (cmake/Release.cmake).
constexpr char kGroupPage[] = HOTKEYS_GROUP_PAGE;
constexpr char kSitePage[] = HOTKEYS_SITE_PAGE;
constexpr char kAuthorPage[] = HOTKEYS_AUTHOR_PAGE;

// SC_MOVE with HTCAPTION in its low bits: the move follows the mouse from where it is now.
constexpr WPARAM kMoveByMouse = 0xF012;

void openPage(ShellLibrary& shell, HWND owner, const char* address) {
    // With no browser to take the page (or no shell to ask) the widget simply stays as it is,
    // so the result has no use here.
    if (const auto shellExecute = shell.shellExecute()) {
        shellExecute(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    }
}

} // namespace

void TForm1::runHandler(Handler handler) {
    switch (handler) {
    case Handler::FormCreate:
        FormCreate();
        return;
    case Handler::Image2MouseDown:
        Image2MouseDown();
        return;
    case Handler::Image3Click:
        Image3Click();
        return;
    case Handler::Label3Click:
        Label3Click();
        return;
    case Handler::Label4Click:
        Label4Click();
        return;
    case Handler::Label5Click:
        Label5Click();
        return;
    }
}

// The press gave the form the capture; the platform's move loop takes the mouse itself and
// returns once the window has been put down.
void TForm1::Image2MouseDown() {
    ::ReleaseCapture();
    ::SendMessageA(Form1->handle(), WM_SYSCOMMAND, kMoveByMouse, 0);
}

void TForm1::Image3Click() {
    Form1->close();
}

void TForm1::Label3Click() {
    openPage(shell, handle(), kGroupPage);
}

void TForm1::Label4Click() {
    openPage(shell, handle(), kSitePage);
}

void TForm1::Label5Click() {
    openPage(shell, handle(), kAuthorPage);
}

} // namespace hk
