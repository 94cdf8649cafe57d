#pragma once

#include "picture/BitmapReader.h"
#include "picture/DibSection_win.h"
#include "picture/PictureClasses.h"
#include "platform/UniqueHandle_win.h"

#include <cstdint>
#include <memory>
#include <span>
#include <windows.h>

namespace hk {

// A stored picture held as a section bitmap. Pictures with alpha (32 bits, uncompressed) are
// blended over what the canvas already shows; all others are drawn opaque.
class TPNGGraphic {
public:
    // Registers the class for "png" with the program's picture classes, until the returned
    // registration is destroyed. Start-up keeps it until shut-down.
    [[nodiscard]] static PictureClassRegistration registerClass();

    // The picture of a Picture.Data payload; null when the payload names no registered class.
    // Throws InvalidBitmap, PictureReadError, or SystemError with the platform's reason.
    static std::unique_ptr<TPNGGraphic> fromPayload(std::span<const std::uint8_t> payload);

    explicit TPNGGraphic(const DecodedBitmap& bitmap);
    TPNGGraphic(const TPNGGraphic&) = delete;
    TPNGGraphic& operator=(const TPNGGraphic&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }

    // A picture without alpha that is transparent leaves the pixels of its transparent colour
    // unpainted.
    void setTransparent(bool transparent) { transparent_ = transparent; }

    // Composites the picture onto the canvas in r, stretched when r is not the picture's size.
    void Draw(HDC canvas, const RECT& r) const;

private:
    void drawOpaque(HDC canvas, const RECT& r) const;
    void drawThroughMask(HDC canvas, const RECT& r, HDC picture) const;
    void drawBlended(HDC canvas, const RECT& r) const;
    DibSection resizedCopy(int width, int height) const;

    UniqueBitmap bitmap_;
    std::span<std::uint8_t> bits_; // the section's memory; empty for converted compressed data
    int width_ = 0;
    int height_ = 0;
    bool topDown_ = false;
    bool is32Bit_ = false;
    bool transparent_ = false;
};

} // namespace hk
