// drawingform: compiles the end-to-end tests' form of pictures that take each way of drawing
// (tests/e2e/test_drawing.py) into stored form bytes, with the program's own form and picture
// writers. The pictures are drawn here, named by their file names in the form source.
//
//   drawingform SOURCE OUTPUT

#include "tools/bytewriter/BinaryFile.h"
#include "tools/formc/FormSource.h"
#include "tools/formc/FormWriter.h"
#include "tools/picturefiles/BitmapFile.h"

#include <array>
#include <functional>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 10; // 30 bytes a row at 24 bits: each row is padded
constexpr int kHeight = 8;
constexpr hk::Rgba kKeyColour = {0, 210, 0, 255};

// Every pixel a colour of its own.
hk::Image gradient() {
    hk::Image image(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            image.at(x, y) = {static_cast<std::uint8_t>(25 * x), static_cast<std::uint8_t>(30 * y),
                              static_cast<std::uint8_t>(200 - 10 * x), 255};
        }
    }
    return image;
}

// The bottom-left pixel gives the transparent colour; a diagonal and the bottom row have it too,
// the top-left pixel does not.
hk::Image keyed() {
    hk::Image image = gradient();
    for (int x = 0; x < kWidth; ++x) {
        image.at(x, kHeight - 1) = kKeyColour;
        image.at(x, (x + 1) % kHeight) = kKeyColour;
    }
    return image;
}

// Runs three pixels long of four colours, shifted by one colour each row.
Bytes runs() {
    constexpr std::array<hk::Rgba, 4> kPalette = {
        {{230, 30, 30, 0}, {30, 120, 230, 0}, {250, 220, 40, 0}, {20, 20, 20, 0}}};
    Bytes indices;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            indices.push_back(static_cast<std::uint8_t>((x / 3 + y) % kPalette.size()));
        }
    }
    return hk::encodeRle8(kWidth, indices, kPalette);
}

// Two flat halves, opaque and half transparent, so that a resampled copy keeps each colour away
// from the seam between them.
hk::Image halves() {
    hk::Image image(8, 4, {200, 40, 90, 255});
    for (int y = 0; y < image.height; ++y) {
        for (int x = image.width / 2; x < image.width; ++x) {
            image.at(x, y) = {30, 160, 220, 128};
        }
    }
    return image;
}

const std::map<std::string, std::function<Bytes()>> kPictures = {
    {"gradient24.bmp", [] { return hk::encodeBmp24(gradient()); }},
    {"keyed24.bmp", [] { return hk::encodeBmp24(keyed()); }},
    {"runs-rle8.bmp", runs},
    {"halves32.bmp", [] { return hk::encodeBmp(halves()); }},
    {"empty.bmp", [] { return Bytes(); }},
};

Bytes picture(const std::filesystem::path& file) {
    const auto found = kPictures.find(file.string());
    if (found == kPictures.end()) {
        throw std::runtime_error("no picture is drawn for " + file.string());
    }
    return found->second();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: drawingform SOURCE OUTPUT\n";
        return 2;
    }
    try {
        hk::writeBinaryFile(argv[2], hk::writeForm(hk::parseFormFile(argv[1], picture)));
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "drawingform: " << error.what() << "\n";
        return 1;
    }
}
