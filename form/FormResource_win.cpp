#include "form/FormResource_win.h"

#include "base/Error.h"

namespace hk {

std::span<const std::uint8_t> formResource(HINSTANCE instance) {
    const HRSRC found = ::FindResourceA(instance, "TFORM1", MAKEINTRESOURCEA(10)); // RT_RCDATA
    const HGLOBAL loaded = found != nullptr ? ::LoadResource(instance, found) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        raise<ResourceNotFound>("Resource TForm1 not found");
    }
    return {static_cast<const std::uint8_t*>(bytes), ::SizeofResource(instance, found)};
}

} // namespace hk
