#include "picture/PngGraphic_win.h"

#include "picture/AlphaAsGrey.h"
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

void stretchOnto(HDC canvas, const RECT& r, HDC picture, int width, int height, DWORD operation) {
    StretchBlt(canvas, r.left, r.top, r.right - r.left, r.bottom - r.top, picture, 0, 0, width,
               height, operation);
}

// Stretches the source bitmap over the whole of the target, averaging as it goes.
void halftoneStretch(const DibSection& target, int width, int height, HBITMAP source,
                     int sourceWidth, int sourceHeight) {
    const UniqueMemoryDc targetDc(CreateCompatibleDC(nullptr));
    const SelectionGuard targetSelected(targetDc.get(), target.bitmap.get());
    const UniqueMemoryDc sourceDc(CreateCompatibleDC(nullptr));
    const SelectionGuard sourceSelected(sourceDc.get(), source);
    SetStretchBltMode(targetDc.get(), HALFTONE);
    SetBrushOrgEx(targetDc.get(), 0, 0, nullptr); // halftone mode asks for the brush origin reset
    StretchBlt(targetDc.get(), 0, 0, width, height, sourceDc.get(), 0, 0, sourceWidth, sourceHeight,
               SRCCOPY);
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
    if (transparent_) {
        drawThroughMask(canvas, r, pictureDc.get());
    } else {
        stretchOnto(canvas, r, pictureDc.get(), width_, height_, SRCCOPY);
    }
}

// The transparent colour is that of the bottom-left pixel. The mask is set where the picture has
// it: XOR the picture in, AND the mask (set keeps, clear empties), XOR the picture again, which
// gives the canvas back under the mask and the picture everywhere else.
void TPNGGraphic::drawThroughMask(HDC canvas, const RECT& r, HDC picture) const {
    const UniqueBitmap mask(CreateBitmap(width_, height_, 1, 1, nullptr));
    const UniqueMemoryDc maskDc(CreateCompatibleDC(nullptr));
    const SelectionGuard maskSelected(maskDc.get(), mask.get());
    // Colour into monochrome: the pixels of the source's background colour become set bits.
    SetBkColor(picture, GetPixel(picture, 0, height_ - 1));
    BitBlt(maskDc.get(), 0, 0, width_, height_, picture, 0, 0, SRCCOPY);

    const SavedDcState saved(canvas);
    // Monochrome into colour: set bits take the background colour, clear ones the text colour.
    SetBkColor(canvas, RGB(255, 255, 255));
    SetTextColor(canvas, RGB(0, 0, 0));
    stretchOnto(canvas, r, picture, width_, height_, SRCINVERT);
    stretchOnto(canvas, r, maskDc.get(), width_, height_, SRCAND);
    stretchOnto(canvas, r, picture, width_, height_, SRCINVERT);
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
        const DibSection resized = resizedCopy(width, height);
        blendPicture(view32(resized.bits, width, height, false), destination, 0, 0, flushDrawing);
    }
    BitBlt(canvas, r.left, r.top, width, height, scratchDc.get(), 0, 0, SRCCOPY);
}

// The picture resampled to width × height by halftone stretching: the colours as they are, the
// alpha as the grey levels of a picture of its own.
DibSection TPNGGraphic::resizedCopy(int width, int height) const {
    DibSection colour = createDibSection(nullptr, width, height, 32);
    halftoneStretch(colour, width, height, bitmap_.get(), width_, height_);

    const DibSection alpha = createDibSection(nullptr, width_, height_, 32);
    const DibSection stretched = createDibSection(nullptr, width, height, 32);
    GdiFlush();
    alphaToGrey(view32(bits_, width_, height_, topDown_),
                BitmapView(alpha.bits, width_, height_, 32, false));
    halftoneStretch(stretched, width, height, alpha.bitmap.get(), width_, height_);
    GdiFlush();
    greenToAlpha(ConstBitmapView(stretched.bits, width, height, 32, false),
                 BitmapView(colour.bits, width, height, 32, false));
    return colour;
}

} // namespace hk
