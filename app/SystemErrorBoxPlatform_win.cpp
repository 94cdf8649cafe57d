#include "app/SystemErrorBoxPlatform_win.h"

#include "app/ErrorBox_win.h"

namespace hk {

// The one place that names the class behind the interface, in a file of its own so that a build
// of the program can link another platform in its place.
std::unique_ptr<ErrorBoxPlatform> systemErrorBoxPlatform(const ApplicationWindow& application) {
    return std::make_unique<Win32ErrorBoxPlatform>(application);
}

} // namespace hk
