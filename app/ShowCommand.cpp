#include "app/ShowCommand.h"

namespace hk {

int startupShowCommand(bool usesShowWindow, int showWindow) {
    return usesShowWindow ? showWindow : kSwShowDefault;
}

WindowState startupWindowState(int showCommand) {
    switch (showCommand) {
    case kSwShowMaximized:
        return WindowState::Maximized;
    case kSwShowMinNoActive:
        return WindowState::Minimized;
    default:
        return WindowState::Normal;
    }
}

} // namespace hk
