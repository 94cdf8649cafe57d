// The form's event handlers, bound by name from the form description.
#include "widget/Form1_win.h"

#include <shellapi.h>

namespace hk {
namespace {

// The pages behind the three link labels: the widget's community page, its site and its
// author's page.
constexpr char kGroupPage[] = "https://vk.com/hotkeys_widget";
constexpr char kSitePage[] = "https://hotkeys-widget.example/";
constexpr char kAuthorPage[] = "https://vk.com/hotkeys_author";

// SC_MOVE with HTCAPTION in its low bits: the move follows the mouse from where it is now.
constexpr WPARAM kMoveByMouse = 0xF012;

void openPage(HWND owner, const char* address) {
    // With no browser to take the page the widget simply stays as it is, so the result has no
    // use here.
    ::ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
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
    openPage(handle(), kGroupPage);
}

void TForm1::Label4Click() {
    openPage(handle(), kSitePage);
}

void TForm1::Label5Click() {
    openPage(handle(), kAuthorPage);
}

} // namespace hk
