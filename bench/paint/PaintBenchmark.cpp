// The widget's painting through the program's own pixel code: the three stored pictures blended
// in the widget's painting order over the form colour at the window's size, against a plain copy
// of the same frame, and the blend of the background on its own. Every figure counts window
// pixels, so the rates compare directly.
#include "form/FormDescription.h"
#include "picture/BlendPicture.h"
#include "picture/PictureClasses.h"
#include "tests/support/PaintedWidget.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <vector>

namespace hk {
namespace {

constexpr test::Rgb kButtonFace{240, 240, 240};

// The stored form at 96 pixels per inch, where its boxes need no scaling, with each picture in
// the memory of its section bitmap, parallel to the components.
struct StoredWidget {
    FormDescription form;
    std::vector<std::unique_ptr<test::SectionPicture>> sections;
    std::vector<const test::SectionPicture*> pictures;
};

const StoredWidget& storedWidget() {
    static const StoredWidget widget = [] {
        std::ifstream in(SOURCE_DIR "/resources/TForm1.bin", std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        StoredWidget result{readFormDescription(bytes), {}, {}};
        PictureClasses classes;
        classes.add({"png", "TPNGGraphic", readBitmapPicture});
        for (const Component& component : result.form.components) {
            const test::SectionPicture* section = nullptr;
            if (component.kind == ComponentKind::Image) {
                result.sections.push_back(std::make_unique<test::SectionPicture>(
                    readPicturePayload(component.pictureData, classes).value()));
                section = result.sections.back().get();
            }
            result.pictures.push_back(section);
        }
        if (result.sections.size() != 3) {
            throw std::runtime_error("the stored form should hold three pictures");
        }
        return result;
    }();
    return widget;
}

// The window the widget paints: the client area of the stored form.
test::Canvas widgetWindow() {
    const FormDescription& form = storedWidget().form;
    return test::Canvas(form.clientWidth, form.clientHeight, kButtonFace);
}

void setWindowPixels(benchmark::State& state) {
    const FormDescription& form = storedWidget().form;
    state.SetItemsProcessed(state.iterations() * form.clientWidth * form.clientHeight);
}

void PaintWidget(benchmark::State& state) {
    const StoredWidget& widget = storedWidget();
    for (auto _ : state) {
        test::Canvas window = widgetWindow();
        test::paintPictures(widget.form.components, widget.pictures, window);
        benchmark::DoNotOptimize(window);
    }
    setWindowPixels(state);
}
BENCHMARK(PaintWidget);

// The ceiling: moving the finished frame's bytes once, with nothing computed.
void MemcpyFrame(benchmark::State& state) {
    const FormDescription& form = storedWidget().form;
    const std::size_t bytes =
        static_cast<std::size_t>(bitmapStride(form.clientWidth, 24)) * form.clientHeight;
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

// The background picture alone over the window, as drawing one picture blends it.
void BlendBackground(benchmark::State& state) {
    const test::SectionPicture& background = *storedWidget().sections.front();
    test::Canvas window = widgetWindow();
    const BitmapView canvas = window.view();
    for (auto _ : state) {
        blendPicture(background.view(), canvas, 0, 0);
        benchmark::ClobberMemory();
    }
    setWindowPixels(state);
}
BENCHMARK(BlendBackground);

} // namespace
} // namespace hk

BENCHMARK_MAIN();
