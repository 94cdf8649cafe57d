#pragma once

#include <exception>

namespace hk {

// Shows an error that ended start-up, in a box of its own with no owner.
void showFatalError(const std::exception& error) noexcept;

} // namespace hk
