#include "app/ApplicationWindow_win.h"
#include "app/FatalBox_win.h"
#include "app/MessageLoop_win.h"
#include "app/ShowCommand.h"
#include "picture/PngGraphic_win.h"
#include "platform/ComSession_win.h"
#include "widget/Form1_win.h"

#include <memory>
#include <new>
#include <optional>
#include <windows.h>

namespace hk {

namespace {

constexpr int kExitNormal = 0;
constexpr int kExitStartupFailed = 1;

int readStartupShowCommand() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    return startupShowCommand((startup.dwFlags & STARTF_USESHOWWINDOW) != 0, startup.wShowWindow);
}

// The widget can reach itself through Form1 while it is being built; a failed build leaves no
// dangling reference behind.
std::unique_ptr<TForm1> createForm1(HINSTANCE instance, ApplicationWindow& application) {
    void* memory = ::operator new(sizeof(TForm1));
    Form1 = static_cast<TForm1*>(memory);
    try {
        return std::unique_ptr<TForm1>(
            new (memory) TForm1(instance, application.handle(), application.errorReporter()));
    } catch (const std::exception&) {
        Form1 = nullptr;
        ::operator delete(memory);
        throw;
    }
}

void runFormCreate(TForm1& form, ApplicationWindow& application) {
    try {
        form.FormCreate();
    } catch (const std::exception& error) {
        application.errorReporter().report(error);
    }
}

// The taskbar button comes with the widget, without taking the activation from it.
void showWidget(TForm1& form, ApplicationWindow& application, WindowState state) {
    form.show(state);
    application.showWithoutActivation();
}

void showAtStartup(TForm1& form, ApplicationWindow& application) {
    const WindowState state = startupWindowState(readStartupShowCommand());
    if (state == WindowState::Minimized) {
        application.showMinimized();
    } else {
        showWidget(form, application, state);
    }
}

// Declaration order is start-up order; the members go down in reverse: the widget first, then
// COM inside OLE, the picture class, and the application window last. The picture class is
// registered before the widget reads its description, whose pictures name it.
class Program {
public:
    explicit Program(HINSTANCE instance)
        : application(instance), png(TPNGGraphic::registerClass()),
          form(createForm1(instance, application)), queue(*form),
          loop(queue, application.errorReporter()) {
        application.onCloseRequest = [this] { form->close(); };
        // The notice is sent, not posted, and WaitMessage need not return for it: an empty
        // message wakes the loop so that it sees the flag.
        application.onEndSession = [this] {
            loop.terminate();
            ::PostMessageA(nullptr, WM_NULL, 0, 0);
        };
        application.onRestored = [this] {
            if (!form->hasBeenShown()) {
                showWidget(*form, application, WindowState::Normal);
            }
        };
        runFormCreate(*form, application);
        showAtStartup(*form, application);
        // From now on an error box hands the keyboard back: before, the showing takes it.
        application.errorReporter().programShown();
    }

    void run() {
        loop.run();
        ::ShowOwnedPopups(application.handle(), FALSE);
        // The loop and the widget go down before COM and OLE, whose shut-down may still pump
        // messages to the application window, a log-off notice among them: from here on its
        // notices reach nothing.
        application.onCloseRequest = nullptr;
        application.onEndSession = nullptr;
        application.onRestored = nullptr;
        form.reset();
        Form1 = nullptr;
        application.hide();
    }

private:
    ApplicationWindow application;
    PictureClassRegistration png;
    OleSession ole;
    ComSession com;
    std::unique_ptr<TForm1> form;
    Win32MessageQueue queue;
    MessageLoop loop;
};

int runProgram(HINSTANCE instance) {
    std::optional<Program> program;
    try {
        program.emplace(instance);
    } catch (const std::exception& error) {
        showFatalError(error);
        return kExitStartupFailed;
    }
    program->run();
    return kExitNormal;
}

} // namespace

} // namespace hk

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return hk::runProgram(instance);
}
