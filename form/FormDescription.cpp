#include "form/FormDescription.h"

#include <algorithm>
#include <array>
#include <utility>

namespace hk {
namespace {

[[noreturn]] void fail(const std::string& what) {
    raise<FormReadError>("Form description: " + what);
}

// The owner's name and the property's, for messages: "Label3.Caption".
struct Where {
    const std::string& owner;
    const PropertyRecord& property;
    std::string text() const { return owner + "." + property.name; }
};

template <typename T> const T& as(const Where& where) {
    const T* value = std::get_if<T>(&where.property.value);
    if (value == nullptr) {
        fail(where.text() + " holds a value of the wrong type");
    }
    return *value;
}

int integer(const Where& where) {
    if (const auto* small = std::get_if<std::int8_t>(&where.property.value)) {
        return *small;
    }
    return as<std::int16_t>(where);
}

template <typename T, std::size_t N>
T lookUp(const Where& where, const std::array<std::pair<std::string_view, T>, N>& table) {
    const std::string& name = as<Identifier>(where).name;
    for (const auto& [key, value] : table) {
        if (key == name) {
            return value;
        }
    }
    fail(where.text() + " names an unknown value " + name);
}

Colour colour(const Where& where) {
    static const std::array<std::pair<std::string_view, Colour>, 5> kColours = {{
        {"clBtnFace", Colour::system(kSystemColourButtonFace)},
        {"clWindowText", Colour::system(kSystemColourWindowText)},
        {"clBlack", Colour::rgb(0, 0, 0)},
        {"clWhite", Colour::rgb(255, 255, 255)},
        {"clCream", Colour::rgb(255, 251, 240)},
    }};
    return lookUp(where, kColours);
}

std::uint8_t charset(const Where& where) {
    static const std::array<std::pair<std::string_view, std::uint8_t>, 3> kCharsets = {{
        {"ANSI_CHARSET", 0},
        {"DEFAULT_CHARSET", kDefaultCharset},
        {"RUSSIAN_CHARSET", 204},
    }};
    return lookUp(where, kCharsets);
}

unsigned fontStyle(const Where& where) {
    static const std::array<std::pair<std::string_view, unsigned>, 4> kStyles = {{
        {"fsBold", fontstyle::kBold},
        {"fsItalic", fontstyle::kItalic},
        {"fsUnderline", fontstyle::kUnderline},
        {"fsStrikeOut", fontstyle::kStrikeOut},
    }};
    unsigned style = 0;
    for (const std::string& name : as<IdentifierSet>(where).names) {
        const auto it = std::find_if(kStyles.begin(), kStyles.end(),
                                     [&](const auto& entry) { return entry.first == name; });
        if (it == kStyles.end()) {
            fail(where.text() + " names an unknown value " + name);
        }
        style |= it->second;
    }
    return style;
}

Handler handler(const Where& where) {
    static const std::array<std::pair<std::string_view, Handler>, 6> kHandlers = {{
        {"FormCreate", Handler::FormCreate},
        {"Image2MouseDown", Handler::Image2MouseDown},
        {"Image3Click", Handler::Image3Click},
        {"Label3Click", Handler::Label3Click},
        {"Label4Click", Handler::Label4Click},
        {"Label5Click", Handler::Label5Click},
    }};
    return lookUp(where, kHandlers);
}

Cursor cursor(const Where& where) {
    static const std::array<std::pair<std::string_view, Cursor>, 3> kCursors = {{
        {"crDefault", Cursor::Arrow},
        {"crArrow", Cursor::Arrow},
        {"crHandPoint", Cursor::HandPoint},
    }};
    return lookUp(where, kCursors);
}

// Sets a Font.* property; false when the property is not one of the font's.
bool applyFont(Font& font, const Where& where) {
    const std::string& name = where.property.name;
    if (name == "Font.Name") {
        font.name = as<std::string>(where);
    } else if (name == "Font.Height") {
        font.height = integer(where);
    } else if (name == "Font.Color") {
        font.colour = colour(where);
    } else if (name == "Font.Charset") {
        font.charset = charset(where);
    } else if (name == "Font.Style") {
        font.style = fontStyle(where);
    } else {
        return false;
    }
    return true;
}

void applyFormProperty(FormDescription& form, const Where& where) {
    const std::string& name = where.property.name;
    if (applyFont(form.font, where)) {
        return;
    }
    if (name == "Left") {
        form.left = integer(where);
    } else if (name == "Top") {
        form.top = integer(where);
    } else if (name == "BorderStyle") {
        // The window is always a frameless pop-up; any other border would be silently ignored.
        if (as<Identifier>(where).name != "bsNone") {
            fail(where.text() + " must be bsNone");
        }
    } else if (name == "ClientWidth") {
        form.clientWidth = integer(where);
    } else if (name == "ClientHeight") {
        form.clientHeight = integer(where);
    } else if (name == "Color") {
        form.color = colour(where);
    } else if (name == "OldCreateOrder") {
        form.oldCreateOrder = as<bool>(where);
    } else if (name == "OnCreate") {
        form.onCreate = handler(where);
    } else if (name == "PixelsPerInch") {
        form.pixelsPerInch = integer(where);
    } else if (name == "TextHeight") {
        form.textHeight = integer(where);
    } else {
        fail(form.name + " has no property " + name);
    }
}

// Properties that pictures and labels share; false when the property is not one of them.
bool applyControlProperty(Component& component, const Where& where) {
    const std::string& name = where.property.name;
    if (name == "Left") {
        component.box.left = integer(where);
    } else if (name == "Top") {
        component.box.top = integer(where);
    } else if (name == "Width") {
        component.box.width = integer(where);
    } else if (name == "Height") {
        component.box.height = integer(where);
    } else if (name == "AutoSize") {
        component.autoSize = as<bool>(where);
    } else if (name == "Visible") {
        component.visible = as<bool>(where);
    } else if (name == "Enabled") {
        component.enabled = as<bool>(where);
    } else if (name == "Cursor") {
        component.cursor = cursor(where);
    } else if (name == "OnClick") {
        component.onClick = handler(where);
    } else if (name == "OnMouseDown") {
        component.onMouseDown = handler(where);
    } else if (name == "Transparent") {
        component.transparent = as<bool>(where);
    } else {
        return false;
    }
    return true;
}

bool applyLabelProperty(Component& label, const Where& where) {
    const std::string& name = where.property.name;
    if (applyFont(label.font, where)) {
        return true;
    }
    if (name == "Caption") {
        if (const auto* utf8 = std::get_if<Utf8Text>(&where.property.value)) {
            label.caption = utf8->bytes;
            label.captionIsUtf8 = true;
        } else {
            label.caption = as<std::string>(where);
            label.captionIsUtf8 = false;
        }
    } else if (name == "Color") {
        label.color = colour(where);
    } else if (name == "ParentColor") {
        label.parentColor = as<bool>(where);
    } else if (name == "ParentFont") {
        label.parentFont = as<bool>(where);
    } else {
        return false;
    }
    return true;
}

bool applyImageProperty(Component& image, const Where& where) {
    const std::string& name = where.property.name;
    if (name == "Picture.Data") {
        image.pictureData = as<BinaryData>(where);
    } else if (name == "Stretch") {
        image.stretch = as<bool>(where);
    } else {
        return false;
    }
    return true;
}

Component buildComponent(const ObjectRecord& record, const FormDescription& form) {
    Component component;
    component.name = record.name;
    if (record.className == "TImage") {
        component.kind = ComponentKind::Image;
    } else if (record.className == "TLabel") {
        component.kind = ComponentKind::Label;
        component.autoSize = true;
    } else {
        fail(record.name + " is of an unknown class " + record.className);
    }
    if (!record.children.empty()) {
        fail(record.name + " holds objects of its own");
    }
    const bool isLabel = component.kind == ComponentKind::Label;
    for (const PropertyRecord& property : record.properties) {
        const Where where{record.name, property};
        const bool applied =
            applyControlProperty(component, where) ||
            (isLabel ? applyLabelProperty(component, where) : applyImageProperty(component, where));
        if (!applied) {
            fail(record.name + " has no property " + property.name);
        }
    }
    if (isLabel && component.parentFont) {
        component.font = form.font;
    }
    if (isLabel && component.parentColor) {
        component.color = form.color;
    }
    return component;
}

} // namespace

const Component* FormDescription::find(std::string_view componentName) const {
    const auto it = std::find_if(components.begin(), components.end(),
                                 [&](const Component& c) { return c.name == componentName; });
    return it == components.end() ? nullptr : &*it;
}

FormDescription buildForm(const ObjectRecord& root) {
    if (root.className != "TForm1") {
        fail("the form is of class " + root.className + ", not TForm1");
    }
    FormDescription form;
    form.className = root.className;
    form.name = root.name;
    for (const PropertyRecord& property : root.properties) {
        applyFormProperty(form, Where{root.name, property});
    }
    for (const ObjectRecord& child : root.children) {
        form.components.push_back(buildComponent(child, form));
    }
    return form;
}

FormDescription readFormDescription(std::span<const std::uint8_t> bytes) {
    return buildForm(readForm(bytes));
}

} // namespace hk
