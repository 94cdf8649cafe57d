#include "widget/FormLoader_win.h"

#include "platform/DcGuards_win.h"
#include "widget/AnsiText_win.h"
#include "widget/FormLayout.h"
#include "widget/TextDrawing_win.h"

#include <optional>

namespace hk {
namespace {

// The scaling yardstick is measured on the widget's own window, label text on the screen.
class DisplayMetrics : public LayoutMetrics {
public:
    explicit DisplayMetrics(HWND window) : window(window) {}

    int zeroHeight(const Font& font) override {
        const UniqueFont created = createFont(font);
        const WindowDc dc(window);
        return measureZeroHeight(dc.get(), created.get());
    }

    TextSize measure(const Font& font, const std::string& text) override {
        return measureLabelText(createFont(font).get(), text);
    }

private:
    HWND window;
};

// Read once: the layout keeps the resolution it was started with.
int screenPixelsPerInch() {
    const WindowDc screen(nullptr);
    return ::GetDeviceCaps(screen.get(), LOGPIXELSY);
}

std::vector<std::optional<PictureSize>> loadPictures(const FormDescription& form,
                                                     std::vector<ComponentArt>& art) {
    std::vector<std::optional<PictureSize>> sizes(form.components.size());
    for (std::size_t i = 0; i < form.components.size(); ++i) {
        const Component& component = form.components[i];
        if (component.kind != ComponentKind::Image) {
            continue;
        }
        art[i].picture = TPNGGraphic::FromPayload(component.pictureData);
        // An empty picture leaves the control its stored size.
        if (art[i].picture && art[i].picture->Width() > 0 && art[i].picture->Height() > 0) {
            sizes[i] = PictureSize{art[i].picture->Width(), art[i].picture->Height()};
        }
    }
    return sizes;
}

} // namespace

std::vector<ComponentArt> loadForm(FormDescription& form, HWND window) {
    std::vector<ComponentArt> art(form.components.size());
    const auto sizes = loadPictures(form, art);
    DisplayMetrics metrics(window);
    completeLayout(form, sizes, screenPixelsPerInch(), toThreadAnsi, metrics);
    for (std::size_t i = 0; i < form.components.size(); ++i) {
        if (form.components[i].kind == ComponentKind::Label) {
            art[i].font = createFont(form.components[i].font);
        }
    }
    return art;
}

} // namespace hk
