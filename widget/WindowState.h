#pragma once

namespace hk {

// How the widget shows itself at start-up or when brought back.
enum class WindowState { Normal, Minimized, Maximized };

} // namespace hk
