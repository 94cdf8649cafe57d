// The widget's painting in the portable core: the three stored pictures composed over the button
// face at the window's size, against a plain copy of the same frame, and the blend on its own.
// Every figure counts window pixels, so the rates compare directly.
#include "form/FormDescription.h"
#include "picture/BlendRect.h"
#include "picture/Composite.h"
#include "picture/PictureClasses.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace hk {
namespace {

constexpr int kWidth = 202;
constexpr int kHeight = 68;
constexpr Rgb kButtonFace{240, 240, 240};

struct StoredPictures {
    std::vector<DecodedBitmap> bitmaps;
    std::vector<PlacedPicture> placed;
};

const StoredPictures& storedPictures() {
    static const StoredPictures pictures = [] {
        std::ifstream in(SOURCE_DIR "/resources/TForm1.bin", std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        const FormDescription form = readFormDescription(bytes);
        PictureClasses classes;
        classes.add({"png", "TPNGGraphic", readBitmapPicture});
        StoredPictures result;
        std::vector<Box> boxes;
        for (const Component& component : form.components) {
            if (component.kind == ComponentKind::Image) {
                result.bitmaps.push_back(
                    readPicturePayload(component.pictureData, classes).value());
                boxes.push_back(component.box);
            }
        }
        if (result.bitmaps.size() != 3) {
            throw std::runtime_error("the stored form should hold three pictures");
        }
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            result.placed.push_back({&result.bitmaps[i], boxes[i].left, boxes[i].top});
        }
        return result;
    }();
    return pictures;
}

void setWindowPixels(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void ComposeWidget(benchmark::State& state) {
    const StoredPictures& pictures = storedPictures();
    for (auto _ : state) {
        Bitmap24 window = composePictures(kWidth, kHeight, kButtonFace, pictures.placed);
        benchmark::DoNotOptimize(window);
    }
    setWindowPixels(state);
}
BENCHMARK(ComposeWidget);

// The ceiling: moving the finished frame's bytes once, with nothing computed.
void MemcpyFrame(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(bitmapStride(kWidth, 24)) * kHeight;
    std::vector<std::uint8_t> from(bytes, 0x5A);
    std::vector<std::uint8_t> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    setWindowPixels(state);
}
BENCHMARK(MemcpyFrame);

// The background picture alone over the window: BlendRect with nothing around it.
void BlendRectBackground(benchmark::State& state) {
    const DecodedBitmap& background = storedPictures().bitmaps.front();
    const ConstBitmapView source(background.pixels, background.width(), background.height(), 32,
                                 background.topDown());
    Bitmap24 window(kWidth, kHeight, kButtonFace);
    const BitmapView destination = window.view();
    const PixelRect area{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        BlendRect(area, area, destination, &source);
        benchmark::ClobberMemory();
    }
    setWindowPixels(state);
}
BENCHMARK(BlendRectBackground);

} // namespace
} // namespace hk

BENCHMARK_MAIN();
