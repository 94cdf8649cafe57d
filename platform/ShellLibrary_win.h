#pragma once

#include "platform/UniqueHandle_win.h"

#include <shellapi.h>
#include <windows.h>

namespace hk {

// shell32, loaded when a link is first followed instead of at start-up: under Wine it brings
// shlwapi and shcore along, a cost every start would pay for a call that most runs never make.
class ShellLibrary {
public:
    using ShellExecuteFunction = decltype(&::ShellExecuteA);

    // The platform's ShellExecuteA, or nullptr while shell32 cannot be loaded.
    ShellExecuteFunction shellExecute();

private:
    UniqueModule module;
    ShellExecuteFunction execute = nullptr;
};

} // namespace hk
