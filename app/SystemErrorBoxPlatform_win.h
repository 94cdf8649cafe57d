#pragma once

#include "app/ErrorBox.h"

#include <memory>

namespace hk {

class ApplicationWindow;

// The error box's platform for the application window: the window holds it by its interface
// alone.
std::unique_ptr<ErrorBoxPlatform> systemErrorBoxPlatform(const ApplicationWindow& application);

} // namespace hk
