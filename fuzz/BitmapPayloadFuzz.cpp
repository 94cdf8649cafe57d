// Any bytes given as a picture payload: reading either gives a picture whose pixels fit the
// section bitmap made for it, or fails with the picture errors; a picture with alpha blends.
#include "fuzz/FuzzPictures.h"
#include "tests/support/PaintedWidget.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

void checkFits(const hk::DecodedBitmap& bitmap) {
    // The shell copies the pixels into a section of sectionSize() bytes; compressed data go to
    // the platform with sizeImage as their length.
    const bool fits = bitmap.compressed ? bitmap.header.sizeImage == bitmap.pixels.size()
                                        : bitmap.pixels.size() <= bitmap.sectionSize();
    if (!fits || bitmap.width() < 0 || bitmap.height() < 0) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto picture = hk::fuzz::readPicture(std::span<const std::uint8_t>(data, size));
    if (!picture) {
        return 0;
    }
    checkFits(*picture);
    if (hk::fuzz::blendable(*picture)) {
        hk::test::Canvas canvas(40, 24, {240, 240, 240});
        hk::blendPicture(hk::test::SectionPicture(*picture).view(), canvas.view(), 3, 2);
    }
    return 0;
}
