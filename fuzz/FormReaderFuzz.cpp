// Any bytes given as the stored form description: reading either succeeds or fails with
// FormReadError, and what it reads writes back to exactly the bytes it came from.
#include "FormWriter.h"
#include "form/FormDescription.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    hk::ObjectRecord root;
    try {
        root = hk::readForm(bytes);
    } catch (const hk::FormReadError&) {
        return 0;
    }
    // Every record the reader accepts is one the writer can store again, byte for byte.
    if (hk::writeForm(root) != std::vector<std::uint8_t>(bytes.begin(), bytes.end())) {
        std::abort();
    }
    try {
        hk::buildForm(root);
    } catch (const hk::FormReadError&) {
        // The one refusal a tree the widget cannot place may give; any other error escapes.
    }
    return 0;
}
