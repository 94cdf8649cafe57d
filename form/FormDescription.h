#pragma once

#include "form/FormReader.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hk {

// A colour as the widget stores it: either a fixed red-green-blue value or one of the platform's
// system colours, which the shell looks up when it paints.
struct Colour {
    enum class Kind { Rgb, System };
    Kind kind = Kind::Rgb;
    std::uint32_t value = 0; // 0x00BBGGRR for Rgb, the system colour index for System

    static Colour rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        return {Kind::Rgb, static_cast<std::uint32_t>(red | green << 8 | blue << 16)};
    }
    static Colour system(std::uint32_t index) { return {Kind::System, index}; }
    bool operator==(const Colour&) const = default;
};

constexpr std::uint32_t kSystemColourWindowText = 8;
constexpr std::uint32_t kSystemColourButtonFace = 15;
constexpr std::uint8_t kDefaultCharset = 1;

namespace fontstyle {
constexpr unsigned kBold = 1;
constexpr unsigned kItalic = 2;
constexpr unsigned kUnderline = 4;
constexpr unsigned kStrikeOut = 8;
} // namespace fontstyle

struct Font {
    std::string name = "MS Sans Serif";
    int height = -11; // negative: a character height in pixels, internal leading not counted
    Colour colour = Colour::system(kSystemColourWindowText);
    std::uint8_t charset = kDefaultCharset;
    unsigned style = 0; // fontstyle bits
    bool operator==(const Font&) const = default;
};

// Where a component stands: its top-left corner and its size, each anywhere an int reaches.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Box&) const = default;

    // The far edges, one past the box, summed in 64 bits: a stored box may end past the int
    // range. A caller that follows the platform's 32-bit arithmetic wraps them itself.
    std::int64_t right() const { return std::int64_t{left} + width; }
    std::int64_t bottom() const { return std::int64_t{top} + height; }
};

enum class Cursor { Arrow, HandPoint };

// The form's handlers that the description can name; the shell binds each to its code.
enum class Handler {
    FormCreate,
    Image2MouseDown,
    Image3Click,
    Label3Click,
    Label4Click,
    Label5Click
};

enum class ComponentKind { Image, Label };

struct Component {
    ComponentKind kind = ComponentKind::Label;
    std::string name;
    Box box;
    bool autoSize = false;
    bool visible = true;
    bool enabled = true;
    Cursor cursor = Cursor::Arrow;
    std::optional<Handler> onClick;
    std::optional<Handler> onMouseDown;
    // A label without its own background; a picture control whose picture, when it has no alpha,
    // leaves the pixels of its transparent colour unpainted.
    bool transparent = false;

    // Labels only.
    std::string caption;
    bool captionIsUtf8 = false; // converted to the system's 8-bit code page when loaded
    Font font;
    Colour color = Colour::system(kSystemColourButtonFace);
    bool parentColor = true;
    bool parentFont = true;

    // Images only: the stored picture payload, read by the picture class it names, and whether
    // the picture fills the control's box rather than keeping its own size.
    std::vector<std::uint8_t> pictureData;
    bool stretch = false;
};

struct FormDescription {
    std::string className;
    std::string name;
    int left = 0;
    int top = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    Colour color = Colour::system(kSystemColourButtonFace);
    Font font;
    bool oldCreateOrder = false;
    std::optional<Handler> onCreate;
    int pixelsPerInch = 96;
    int textHeight = 13;
    std::vector<Component> components; // creation order, which is also stacking order

    // The component of that name, or nullptr.
    const Component* find(std::string_view componentName) const;
};

// Builds the widget's form from the stored description; anything it cannot place (an unknown
// class, property, identifier or handler, or a value of the wrong type) is a FormReadError.
FormDescription buildForm(const ObjectRecord& root);
FormDescription readFormDescription(std::span<const std::uint8_t> bytes);

} // namespace hk
