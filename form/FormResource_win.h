#pragma once

#include <cstdint>
#include <span>
#include <windows.h>

namespace hk {

// The stored form description, the RCDATA resource "TFORM1" of the module. Its bytes live as
// long as the module. Throws ResourceNotFound when the module carries none.
std::span<const std::uint8_t> formResource(HINSTANCE instance);

} // namespace hk
