#include "picture/PngGraphic_win.h"

#include "picture/BlendPicture.h"
#include "picture/DibSection_win.h"
#include "platform/DcGuards_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace hk {
namespace {

// Room for the 40-byte header, three masks and at least a full 256-entry colour table, all
// zero beyond what was stored: the platform may read a whole table for an 8-bit header.
std::vector<std::uint32_t> bitmapInfo(const DecodedBitmap& bitmap) {
    constexpr std::size_t kHeaderWords = sizeof(BITMAPINFOHEADER) / 4;
    const std::size_t entries = 3 + std::max<std::size_t>(256, bitmap.colorTable.size());
    std::vector<std::uint32_t> info(kHeaderWords + entries);
    const BitmapHeader& stored = bitmap.header;
    const BITMAPINFOHEADER header = {
        sizeof(BITMAPINFOHEADER), stored.width,       stored.height,       stored.planes,
        stored.bitCount,          stored.compression, stored.sizeImage,    stored.xPelsPerMeter,
        stored.yPelsPerMeter,     stored.clrUsed,     stored.clrImportant,
    };
    std::memcpy(info.data(), &header, sizeof header);
    const auto tables = info.begin() + kHeaderWords;
    std::copy(bitmap.colorTable.begin(), bitmap.colorTable.end(),
              std::copy(bitmap.masks.begin(), bitmap.masks.end(), tables));
    return info;
}

// Compressed data: the platform decodes them into a device-dependent bitmap.
UniqueBitmap convertCompressed(const DecodedBitmap& bitmap, const BITMAPINFO& info) {
    const WindowDc screen(nullptr);
    SetLastError(ERROR_SUCCESS);
    UniqueBitmap converted(CreateDIBitmap(screen.get(), &info.bmiHeader, CBM_INIT,
                                          bitmap.pixels.data(), &info, DIB_RGB_COLORS));
    if (!converted) {
        failWithLastError();
    }
    return converted;
}

void flushDrawing() {
    GdiFlush();
}

ConstBitmapView view32(std::span<const std::uint8_t> bits, int width, int height, bool topDown) {
    return ConstBitmapView(bits, width, height, 32, topDown);
}

// The platform's halftone palette as a colour table.
std::vector<RGBQUAD> halftoneColors(HDC screen) {
    const UniquePalette palette(CreateHalftonePalette(screen));
    PALETTEENTRY entries[256] = {};
    const UINT count = palette ? GetPaletteEntries(palette.get(), 0, 256, entries) : 0;
    std::vector<RGBQUAD> colors(count);
    for (UINT i = 0; i < count; ++i) {
        colors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    }
    return colors;
}

void halftoneStretch(HDC target, int width, int height, HDC source, int sourceWidth,
                     int sourceHeight) {
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr); // halftone mode asks for the brush origin reset
    StretchBlt(target, 0, 0, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
}

// Each pixel's alpha byte becomes the value of the same pixel of an 8-bit bitmap.
void alphaToValues(const ConstBitmapView& picture, const BitmapView& values) {
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* source = picture.row(y);
        std::uint8_t* target = values.row(y);
        for (int x = 0; x < picture.width(); ++x) {
            target[x] = source[4 * x + 3];
        }
    }
}

void valuesToAlpha(const BitmapView& values, const BitmapView& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* source = values.row(y);
        std::uint8_t* target = picture.row(y);
        for (int x = 0; x < picture.width(); ++x) {
            target[4 * x + 3] = source[x];
        }
    }
}

} // namespace

PictureClassRegistration TPNGGraphic::registerClass() {
    return PictureClassRegistration(programPictureClasses(),
                                    {"png", "TPNGGraphic", readBitmapPicture});
}

std::unique_ptr<TPNGGraphic> TPNGGraphic::fromPayload(std::span<const std::uint8_t> payload) {
    const auto bitmap = readPicturePayload(payload, programPictureClasses());
    if (!bitmap) {
        return nullptr;
    }
    return std::make_unique<TPNGGraphic>(*bitmap);
}

TPNGGraphic::TPNGGraphic(const DecodedBitmap& bitmap)
    : width_(bitmap.width()), height_(bitmap.height()), topDown_(bitmap.topDown()),
      is32Bit_(bitmap.is32Bit()) {
    if (bitmap.empty()) {
        width_ = height_ = 0;
        return;
    }
    const auto info = bitmapInfo(bitmap);
    const auto& header = *reinterpret_cast<const BITMAPINFO*>(info.data());
    if (bitmap.compressed) {
        bitmap_ = convertCompressed(bitmap, header);
        return;
    }
    // Colour tables hold RGB values, so the section needs no surface to take a palette from.
    DibSection section = createDibSection(nullptr, header);
    GdiFlush();
    bitmap.copyPixelsInto(section.bits);
    bitmap_ = std::move(section.bitmap);
    bits_ = section.bits;
}

void TPNGGraphic::Draw(HDC canvas, const RECT& r) const {
    if (!bitmap_) {
        return;
    }
    if (is32Bit_) {
        drawBlended(canvas, r);
    } else {
        drawOpaque(canvas, r);
    }
}

void TPNGGraphic::drawOpaque(HDC canvas, const RECT& r) const {
    const UniqueMemoryDc pictureDc(CreateCompatibleDC(nullptr));
    const SelectionGuard selected(pictureDc.get(), bitmap_.get());
    StretchBlt(canvas, r.left, r.top, r.right - r.left, r.bottom - r.top, pictureDc.get(), 0, 0,
               width_, height_, SRCCOPY);
}

// Copies the canvas area into a 24-bit scratch bitmap, blends the picture into it in software
// and copies the result back: the platform's own copy knows no alpha.
void TPNGGraphic::drawBlended(HDC canvas, const RECT& r) const {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    const DibSection scratch = createDibSection(nullptr, width, height, 24);
    const UniqueMemoryDc scratchDc(CreateCompatibleDC(nullptr));
    const SelectionGuard selected(scratchDc.get(), scratch.bitmap.get());
    BitBlt(scratchDc.get(), 0, 0, width, height, canvas, r.left, r.top, SRCCOPY);
    GdiFlush();

    const BitmapView destination(scratch.bits, width, height, 24, false);
    if (width == width_ && height == height_) {
        blendPicture(view32(bits_, width_, height_, topDown_), destination, 0, 0, flushDrawing);
    } else {
        const WindowDc screen(nullptr);
        const DibSection resized = resizedCopy(screen.get(), width, height);
        blendPicture(view32(resized.bits, width, height, false), destination, 0, 0, flushDrawing);
    }
    BitBlt(canvas, r.left, r.top, width, height, scratchDc.get(), 0, 0, SRCCOPY);
}

// The picture resampled to width × height: colour by halftone stretching, and alpha by
// stretching it as the pixel values of an 8-bit halftone-palette bitmap the same way.
DibSection TPNGGraphic::resizedCopy(HDC screen, int width, int height) const {
    DibSection colour = createDibSection(screen, width, height, 32);
    {
        const UniqueMemoryDc colourDc(CreateCompatibleDC(nullptr));
        const SelectionGuard colourSelected(colourDc.get(), colour.bitmap.get());
        const UniqueMemoryDc pictureDc(CreateCompatibleDC(nullptr));
        const SelectionGuard pictureSelected(pictureDc.get(), bitmap_.get());
        halftoneStretch(colourDc.get(), width, height, pictureDc.get(), width_, height_);
    }

    const std::vector<RGBQUAD> palette = halftoneColors(screen);
    const DibSection alpha = createDibSection(screen, width_, height_, 8, palette);
    const DibSection stretched = createDibSection(screen, width, height, 8, palette);
    GdiFlush();
    alphaToValues(view32(bits_, width_, height_, topDown_),
                  BitmapView(alpha.bits, width_, height_, 8, false));
    {
        const UniqueMemoryDc alphaDc(CreateCompatibleDC(nullptr));
        const SelectionGuard alphaSelected(alphaDc.get(), alpha.bitmap.get());
        const UniqueMemoryDc stretchedDc(CreateCompatibleDC(nullptr));
        const SelectionGuard stretchedSelected(stretchedDc.get(), stretched.bitmap.get());
        halftoneStretch(stretchedDc.get(), width, height, alphaDc.get(), width_, height_);
    }
    GdiFlush();
    valuesToAlpha(BitmapView(stretched.bits, width, height, 8, false),
                  BitmapView(colour.bits, width, height, 32, false));
    return colour;
}

} // namespace hk
