// Reads the committed pictures and icon back, independently of the writer, and checks the facts
// the widget's drawing and the icon loader rely on.
#include "tools/picturefiles/Image.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <set>

namespace hk {
namespace {

const std::filesystem::path kResources = std::filesystem::path(SOURCE_DIR) / "resources";

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::uint16_t u16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// The 32-bit bottom-up pixels that start at `offset`, turned into rows from the top.
Image pixelsAt(const std::vector<std::uint8_t>& bytes, std::size_t offset, int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t at =
                offset + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
            image.at(x, y) = {bytes[at + 2], bytes[at + 1], bytes[at], bytes[at + 3]};
        }
    }
    return image;
}

Image loadPicture(const std::string& name) {
    const std::vector<std::uint8_t> bytes = readFile(kResources / "art" / name);
    const int width = static_cast<int>(u32At(bytes, 18));
    const int height = static_cast<int>(u32At(bytes, 22));
    return pixelsAt(bytes, 54, width, height);
}

std::map<int, int> alphaCounts(const Image& image) {
    std::map<int, int> counts;
    for (const Rgba& pixel : image.pixels) {
        ++counts[pixel.a];
    }
    return counts;
}

int rowMaxAlpha(const Image& image, int y) {
    int most = 0;
    for (int x = 0; x < image.width; ++x) {
        most = std::max<int>(most, image.at(x, y).a);
    }
    return most;
}

TEST(ArtworkFiles, PicturesAre32BitBottomUpBmpsWithPlainHeaders) {
    const struct {
        const char* name;
        int width;
        int height;
        std::size_t fileSize;
    } pictures[] = {
        {"background.bmp", 202, 84, 67926},
        {"titlestrip.bmp", 202, 21, 17022},
        {"closeglyph.bmp", 16, 16, 1078},
    };
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.name);
        const std::vector<std::uint8_t> bytes = readFile(kResources / "art" / picture.name);
        ASSERT_EQ(bytes.size(), picture.fileSize);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(u32At(bytes, 2), picture.fileSize);
        EXPECT_EQ(u32At(bytes, 10), 54u) << "pixel offset";
        EXPECT_EQ(u32At(bytes, 14), 40u) << "info header size";
        EXPECT_EQ(u32At(bytes, 18), static_cast<std::uint32_t>(picture.width));
        EXPECT_EQ(u32At(bytes, 22), static_cast<std::uint32_t>(picture.height));
        EXPECT_EQ(u16At(bytes, 26), 1) << "planes";
        EXPECT_EQ(u16At(bytes, 28), 32) << "bits per pixel";
        EXPECT_EQ(u32At(bytes, 30), 0u) << "compression";
        EXPECT_EQ(u32At(bytes, 34), picture.fileSize - 54) << "image size";
        for (std::size_t field = 38; field < 54; field += 4) {
            EXPECT_EQ(u32At(bytes, field), 0u) << "resolution and colour counts at " << field;
        }
        const Image image = pixelsAt(bytes, 54, picture.width, picture.height);
        EXPECT_TRUE(std::none_of(image.pixels.begin(), image.pixels.end(), [](Rgba pixel) {
            return pixel.r == 255 && pixel.g == 0 && pixel.b == 255;
        })) << "the key colour";
    }
}

TEST(ArtworkFiles, BackgroundIsOpaqueTextureWithCaptionsOnlyInTheirPlaces) {
    const Image background = loadPicture("background.bmp");
    EXPECT_EQ(alphaCounts(background), (std::map<int, int>{{255, 202 * 84}}));

    const Rgba captionInk{170, 93, 151, 255};
    const struct {
        const char* caption;
        int left, right, top, bottom;
    } captions[] = {
        {"window 1", 9, 62, 23, 31},
        {"F1-F12", 135, 173, 23, 31},
        {"window 2", 9, 62, 38, 46},
        {"1-5", 143, 160, 38, 46},
    };
    int inkInCaptions = 0;
    for (const auto& box : captions) {
        SCOPED_TRACE(box.caption);
        int ink = 0;
        for (int y = box.top; y <= box.bottom; ++y) {
            for (int x = box.left; x <= box.right; ++x) {
                ink += background.at(x, y) == captionInk;
            }
        }
        EXPECT_GT(ink, 20);
        inkInCaptions += ink;
    }
    const auto allInk = std::count(background.pixels.begin(), background.pixels.end(), captionInk);
    EXPECT_EQ(allInk, inkInCaptions) << "caption ink outside the caption boxes";

    // Where the slot captions stand, and below the captions, the plate shows nothing but its own
    // greys, so the program's labels and links are read against plain texture.
    auto isTexture = [&](int x, int y) {
        const Rgba pixel = background.at(x, y);
        return pixel.r == pixel.g && pixel.g == pixel.b &&
               (pixel.r == 17 || pixel.r == 53 || (pixel.r >= 39 && pixel.r <= 44));
    };
    for (int y = 0; y < background.height; ++y) {
        for (int x = 0; x < background.width; ++x) {
            const bool captionRows = (y >= 23 && y <= 31) || (y >= 38 && y <= 46);
            const bool slotBand = x >= 68 && x <= 130;
            if (!captionRows || slotBand) {
                ASSERT_TRUE(isTexture(x, y)) << "at (" << x << ", " << y << ")";
            }
        }
    }
}

TEST(ArtworkFiles, TitleStripHasItsOpaqueBarLineAndFadingShadow) {
    const Image strip = loadPicture("titlestrip.bmp");
    const std::map<int, int> counts = alphaCounts(strip);
    EXPECT_EQ(counts.size(), 91u) << "distinct alpha values";
    EXPECT_EQ(counts.at(0), 693);
    EXPECT_EQ(counts.at(255), 2626);
    for (int x = 0; x < strip.width; ++x) {
        ASSERT_EQ(strip.at(x, 0), (Rgba{255, 255, 255, 33})) << "top line at " << x;
        for (int y = 1; y <= 13; ++y) {
            ASSERT_EQ(strip.at(x, y).a, 255) << "bar at (" << x << ", " << y << ")";
        }
        for (int y = 15; y <= 20; ++y) {
            if (x < 65 || x > 166) {
                ASSERT_EQ(strip.at(x, y).a, 0)
                    << "shadow beside its span at (" << x << ", " << y << ")";
            }
        }
    }
    EXPECT_LE(rowMaxAlpha(strip, 14), 103);
    EXPECT_LE(rowMaxAlpha(strip, 20), 5);
    for (int y = 15; y <= 20; ++y) {
        EXPECT_LT(rowMaxAlpha(strip, y), rowMaxAlpha(strip, y - 1)) << "row " << y;
    }
    EXPECT_EQ(strip.at(70, 5), (Rgba{255, 146, 16, 255})) << "the name's orange in its place";
}

TEST(ArtworkFiles, CloseGlyphIsAWhiteDiscWithAClearMarginAndCross) {
    const Image glyph = loadPicture("closeglyph.bmp");
    const std::map<int, int> counts = alphaCounts(glyph);
    EXPECT_EQ(counts.size(), 21u) << "distinct alpha values";
    EXPECT_EQ(counts.at(0), 132);
    EXPECT_EQ(counts.rbegin()->first, 204) << "the highest alpha";
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const Rgba pixel = glyph.at(x, y);
            ASSERT_EQ(pixel.r + pixel.g + pixel.b, 3 * 255) << "at (" << x << ", " << y << ")";
            const bool margin = x < 2 || x > 13 || y < 2 || y > 13;
            if (margin) {
                ASSERT_EQ(pixel.a, 0) << "margin at (" << x << ", " << y << ")";
            }
        }
    }
    for (int i = 6; i <= 9; ++i) {
        EXPECT_EQ(glyph.at(i, i).a, 0) << "falling diagonal at " << i;
        EXPECT_EQ(glyph.at(i, 15 - i).a, 0) << "rising diagonal at " << i;
    }
}

TEST(ArtworkFiles, IconHoldsOne48PixelImageWithAMatchingMask) {
    const std::vector<std::uint8_t> bytes = readFile(kResources / "HotKeys.ico");
    const std::size_t imageBytes = 40 + 48 * 48 * 4 + 48 * 8;
    ASSERT_EQ(bytes.size(), 22 + imageBytes);
    EXPECT_EQ(u16At(bytes, 0), 0);
    EXPECT_EQ(u16At(bytes, 2), 1) << "type: icon";
    EXPECT_EQ(u16At(bytes, 4), 1) << "image count";
    EXPECT_EQ(bytes[6], 48);
    EXPECT_EQ(bytes[7], 48);
    EXPECT_EQ(u16At(bytes, 10), 1) << "planes";
    EXPECT_EQ(u16At(bytes, 12), 32) << "bits per pixel";
    EXPECT_EQ(u32At(bytes, 14), imageBytes);
    EXPECT_EQ(u32At(bytes, 18), 22u) << "image offset";
    EXPECT_EQ(u32At(bytes, 22), 40u) << "info header size";
    EXPECT_EQ(u32At(bytes, 26), 48u);
    EXPECT_EQ(u32At(bytes, 30), 96u) << "colour rows and mask rows";
    EXPECT_EQ(u16At(bytes, 34), 1);
    EXPECT_EQ(u16At(bytes, 36), 32);
    EXPECT_EQ(u32At(bytes, 38), 0u) << "compression";

    const Image icon = pixelsAt(bytes, 22 + 40, 48, 48);
    const std::size_t maskStart = 22 + 40 + 48 * 48 * 4;
    std::set<int> alphas;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const std::uint8_t maskByte = bytes[maskStart + (47 - y) * 8 + x / 8];
            const bool masked = maskByte & (0x80 >> (x % 8));
            ASSERT_EQ(masked, icon.at(x, y).a == 0) << "mask at (" << x << ", " << y << ")";
            alphas.insert(icon.at(x, y).a);
        }
    }
    EXPECT_TRUE(alphas.count(0) && alphas.count(255)) << "a shape on a clear ground";
}

} // namespace
} // namespace hk
