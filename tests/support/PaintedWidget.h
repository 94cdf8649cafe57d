#pragma once

// The widget's pictures painted by the program's own pixel code, without a screen: a window's
// memory stands in for the canvas, and the components are taken in the order the widget paints
// them. Shared by the unit tests, the paint benchmark and the widget_form fuzzer.
#include "form/FormDescription.h"
#include "picture/BitmapReader.h"
#include "picture/BitmapView.h"
#include "picture/BlendPicture.h"
#include "widget/FormLayout.h"

#include <cstdint>
#include <span>
#include <vector>

namespace hk::test {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

// A 24-bit top-down window of width × height, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, Rgb fill)
        : width_(width), height_(height),
          stride_(static_cast<std::size_t>(bitmapStride(width, 24))),
          bytes_(stride_ * static_cast<std::size_t>(height)) {
        for (int y = 0; y < height; ++y) {
            std::uint8_t* p = bytes_.data() + static_cast<std::size_t>(y) * stride_;
            for (int x = 0; x < width; ++x, p += 3) {
                p[0] = fill.blue;
                p[1] = fill.green;
                p[2] = fill.red;
            }
        }
    }

    int width() const { return width_; }
    int height() const { return height_; }
    BitmapView view() { return BitmapView(bytes_, width_, height_, 24, true); }
    Rgb pixel(int x, int y) const {
        const std::uint8_t* p =
            &bytes_.at(static_cast<std::size_t>(y) * stride_ + std::size_t{3} * x);
        return {p[2], p[1], p[0]};
    }

private:
    int width_;
    int height_;
    std::size_t stride_;
    std::vector<std::uint8_t> bytes_;
};

// A decoded picture in the memory that its section bitmap gives it.
class SectionPicture {
public:
    explicit SectionPicture(const DecodedBitmap& bitmap)
        : width_(bitmap.width()), height_(bitmap.height()), topDown_(bitmap.topDown()),
          bitCount_(bitmap.header.bitCount), bytes_(bitmap.sectionSize()) {
        bitmap.copyPixelsInto(bytes_);
    }

    ConstBitmapView view() const {
        return ConstBitmapView(bytes_, width_, height_, bitCount_, topDown_);
    }

private:
    int width_;
    int height_;
    bool topDown_;
    unsigned bitCount_;
    std::vector<std::uint8_t> bytes_;
};

// Blends each visible component's picture at its place, in the widget's painting order.
// `pictures` runs parallel to the components: null for a label or a control without a picture.
inline void paintPictures(const std::vector<Component>& components,
                          std::span<const SectionPicture* const> pictures, Canvas& canvas) {
    const BitmapView window = canvas.view();
    for (const std::size_t i :
         componentsToPaint(components, {0, 0, canvas.width(), canvas.height()})) {
        if (i < pictures.size() && pictures[i] != nullptr) {
            blendPicture(pictures[i]->view(), window, components[i].box.left,
                         components[i].box.top);
        }
    }
}

} // namespace hk::test
