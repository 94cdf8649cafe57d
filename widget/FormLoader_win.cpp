#include "widget/FormLoader_win.h"

#include "platform/AnsiText_win.h"
#include "platform/DcGuards_win.h"
#include "platform/SystemErrorText_win.h"
#include "widget/FormLayout.h"
#include "widget/TextDrawing_win.h"

#include <optional>
#include <utility>
#include <vector>

namespace hk {
namespace {

// The scaling yardstick is measured on the widget's own window, label text on the screen, which
// is held for the whole layout. The font that measured a label's caption is kept to draw it.
class DisplayMetrics : public LayoutMetrics {
public:
    explicit DisplayMetrics(HWND window) : window(window), screen(nullptr) {}

    // Read once: the layout keeps the resolution it was started with.
    int screenPixelsPerInch() const { return ::GetDeviceCaps(screen.get(), LOGPIXELSY); }

    int zeroHeight(const Font& font) override {
        const UniqueFont created = createFont(font);
        const WindowDc dc(window);
        return measureZeroHeight(dc.get(), created.get());
    }

    TextSize measure(const Font& font, const std::string& text) override {
        measured.emplace_back(font, createFont(font));
        return measureLabelText(screen.get(), measured.back().second.get(), text);
    }

    // A font that measuring created for `font` and nobody has taken yet, or a new one.
    UniqueFont takeFont(const Font& font) {
        for (auto& [key, created] : measured) {
            if (created && key == font) {
                return std::move(created);
            }
        }
        return createFont(font);
    }

private:
    HWND window;
    WindowDc screen;
    std::vector<std::pair<Font, UniqueFont>> measured;
};

std::vector<std::optional<PictureSize>> loadPictures(const FormDescription& form,
                                                     std::vector<ComponentArt>& art) {
    std::vector<std::optional<PictureSize>> sizes(form.components.size());
    for (std::size_t i = 0; i < form.components.size(); ++i) {
        const Component& component = form.components[i];
        if (component.kind != ComponentKind::Image) {
            continue;
        }
        art[i].picture = TPNGGraphic::fromPayload(component.pictureData);
        if (art[i].picture) {
            art[i].picture->setTransparent(component.transparent);
            sizes[i] = PictureSize{art[i].picture->Width(), art[i].picture->Height()};
        }
    }
    return sizes;
}

// A caption that the platform cannot convert stops the loading with the platform's reason.
std::string captionInSystemAnsi(const std::string& utf8) {
    std::optional<std::string> ansi = toSystemAnsi(utf8);
    if (!ansi) {
        raiseLastError(SystemErrorWording::CodeAndText);
    }
    return std::move(*ansi);
}

} // namespace

std::vector<ComponentArt> loadForm(FormDescription& form, HWND window) {
    std::vector<ComponentArt> art(form.components.size());
    const auto sizes = loadPictures(form, art);
    DisplayMetrics metrics(window);
    completeLayout(form, sizes, metrics.screenPixelsPerInch(), captionInSystemAnsi, metrics);
    for (std::size_t i = 0; i < form.components.size(); ++i) {
        if (form.components[i].kind == ComponentKind::Label) {
            art[i].font = metrics.takeFont(form.components[i].font);
        }
    }
    return art;
}

} // namespace hk
