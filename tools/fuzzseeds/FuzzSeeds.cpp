#include "tools/fuzzseeds/FuzzSeeds.h"

#include "tools/bytewriter/BinaryFile.h"
#include "tools/formc/FormSource.h"
#include "tools/formc/FormWriter.h"
#include "tools/picturefiles/BitmapFile.h"
#include "tools/picturefiles/PicturePayload.h"

#include <cstdlib>
#include <span>

namespace hk {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kPictureClass[] = "TPNGGraphic";

// Rows of a recognisable byte pattern, each padded to whole 32-bit words as stored.
Bytes patternPixels(const BmpHeader& header) {
    const std::size_t stride =
        (static_cast<std::size_t>(header.width) * header.bitCount + 31) / 32 * 4;
    Bytes pixels(stride * static_cast<std::size_t>(std::abs(header.height)));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i * 37);
    }
    return pixels;
}

Bytes bitmap(const BmpHeader& header, const Bytes& tables = {}) {
    return bitmapFile(header, tables, patternPixels(header));
}

Bytes repeated(const Bytes& bytes, std::size_t times) {
    Bytes out;
    for (std::size_t i = 0; i < times; ++i) {
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

Bytes words(std::initializer_list<std::uint32_t> values) {
    ByteWriter out;
    for (const std::uint32_t value : values) {
        out.u32(value);
    }
    return out.data;
}

// Every header kind, bit depth, colour table, mask and compression that the picture readers
// take, and a few files that break one rule each.
std::map<std::string, Bytes> bitmapShapes() {
    const Bytes masks = words({0xF800, 0x07E0, 0x001F});
    Bytes cut = bitmap({.width = 4, .height = 4});
    cut.resize(70);
    return {
        {"bgra-bottom-up", bitmap({})},
        {"bgra-top-down", bitmap({.width = 3, .height = -2})},
        {"bgra-one-pixel-alpha",
         bitmapFile({.width = 1, .height = 1}, {}, Bytes{0x10, 0x20, 0x30, 0x80})},
        {"core-header-8bit",
         bitmap({.size = 12, .bitCount = 8}, repeated({0x00, 0x00, 0xFF}, 256))},
        {"palette-4bit-two-colours",
         bitmap({.width = 4, .bitCount = 4, .clrUsed = 2}, words({0xFF0000, 0x00FF00}))},
        {"mono", bitmap({.width = 9, .height = 3, .bitCount = 1}, words({0, 0xFFFFFF}))},
        {"bitfields-16", bitmap({.width = 3, .bitCount = 16, .compression = 3}, masks)},
        {"bitfields-32", bitmap({.compression = 3}, masks)},
        {"v4-header-with-masks",
         bitmap({.size = 108, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}})},
        {"v5-header", bitmap({.size = 124})},
        {"rle8", bitmapFile({.width = 4, .bitCount = 8, .compression = 1, .sizeImage = 8},
                            repeated({0, 0, 0, 0}, 256), Bytes{4, 1, 0, 0, 4, 2, 0, 1})},
        {"rgb24", bitmap({.width = 3, .height = 3, .bitCount = 24})},
        {"size-image-larger-than-file", bitmap({.sizeImage = 4096})},
        {"cut-pixels", cut},
        {"planes-2", bitmap({.planes = 2})},
    };
}

// A 2 by 2 picture with one see-through and one half-transparent pixel in each row.
Bytes smallPicture() {
    return bitmapFile({}, {}, repeated({0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0x80}, 2));
}

void collectPictures(const ObjectRecord& record, std::vector<Bytes>& pictures) {
    for (const PropertyRecord& property : record.properties) {
        if (property.name == "Picture.Data") {
            pictures.push_back(std::get<BinaryData>(property.value));
        }
    }
    for (const ObjectRecord& child : record.children) {
        collectPictures(child, pictures);
    }
}

void setTextHeight(ObjectRecord& form, std::int8_t height) {
    for (PropertyRecord& property : form.properties) {
        if (property.name == "TextHeight") {
            property.value = height;
        }
    }
}

ObjectRecord emptyForm() {
    ObjectRecord form;
    form.className = "TForm1";
    form.name = "Form1";
    return form;
}

std::map<std::string, Bytes> formSeeds(const std::filesystem::path& sourceDir,
                                       const ObjectRecord& stored) {
    const std::filesystem::path resources = sourceDir / "resources";
    const auto small = [](const auto&) { return smallPicture(); };
    ObjectRecord everyType =
        parseFormFile(sourceDir / "tools" / "fuzzseeds" / "every-type.form", small);
    const Bytes everyTypeBytes = writeForm(everyType);
    setTextHeight(everyType, 16);
    return {
        {"stored-form", writeForm(stored)},
        {"stored-form-small-pictures", writeForm(parseFormFile(resources / "Form1.form", small))},
        {"every-type", everyTypeBytes},
        {"text-height-16", writeForm(everyType)},
        {"empty-form", writeForm(emptyForm())},
    };
}

std::map<std::string, Bytes> pictureSeeds(const ObjectRecord& storedForm) {
    std::vector<Bytes> stored;
    collectPictures(storedForm, stored);
    std::map<std::string, Bytes> seeds;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        seeds["stored-image" + std::to_string(i + 1)] = stored[i];
    }
    for (const auto& [name, file] : bitmapShapes()) {
        seeds[name] = picturePayload(kPictureClass, file);
    }
    Bytes notBm = bitmap({});
    std::swap(notBm[0], notBm[1]);
    seeds["not-bm"] = picturePayload(kPictureClass, notBm);
    seeds["empty-picture"] = picturePayload(kPictureClass, {});
    seeds["unknown-class"] = picturePayload("TJPEGImage", bitmap({}));
    return seeds;
}

} // namespace

std::map<std::string, std::vector<std::uint8_t>> fuzzSeeds(const std::filesystem::path& sourceDir) {
    const std::filesystem::path resources = sourceDir / "resources";
    const ObjectRecord stored = parseFormFile(resources / "Form1.form", [&](const auto& file) {
        return readBinaryFile(resources / file);
    });
    std::map<std::string, Bytes> seeds;
    for (const auto& [name, bytes] : formSeeds(sourceDir, stored)) {
        seeds["form_reader/" + name] = bytes;
        seeds["widget_form/" + name] = bytes;
    }
    for (const auto& [name, bytes] : pictureSeeds(stored)) {
        seeds["bitmap_payload/" + name] = bytes;
    }
    return seeds;
}

} // namespace hk
