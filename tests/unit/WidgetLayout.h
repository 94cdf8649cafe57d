#pragma once

#include "form/FormDescription.h"

#include <ostream>
#include <string>

namespace hk {

// Lets failing expectations show a box as its numbers rather than its bytes.
inline void PrintTo(const Box& box, std::ostream* out) {
    *out << "(" << box.left << ", " << box.top << ") " << box.width << "x" << box.height;
}

// The component of that name, to change in a test.
inline Component& named(FormDescription& form, std::string_view name) {
    return form.components.at(static_cast<std::size_t>(form.find(name) - form.components.data()));
}

inline Component layoutComponent(ComponentKind kind, std::string name, Box box,
                                 Cursor cursor = Cursor::Arrow) {
    Component c;
    c.kind = kind;
    c.name = std::move(name);
    c.box = box;
    c.cursor = cursor;
    c.font.height = -11;
    return c;
}

// The widget's layout at 96 pixels per inch, with the pictures sized as loaded.
inline FormDescription widgetLayout() {
    using K = ComponentKind;
    const Cursor hand = Cursor::HandPoint;
    FormDescription form;
    form.clientWidth = 202;
    form.clientHeight = 68;
    form.textHeight = 13;
    form.components = {
        layoutComponent(K::Image, "Image1", {0, 0, 202, 84}),
        layoutComponent(K::Label, "Label1", {68, 35, 30, 15}),
        layoutComponent(K::Image, "Image2", {0, 0, 202, 21}),
        layoutComponent(K::Image, "Image3", {184, 0, 16, 16}),
        layoutComponent(K::Label, "Label2", {68, 20, 28, 15}),
        layoutComponent(K::Label, "Label3", {8, 56, 57, 13}, hand),
        layoutComponent(K::Label, "Label4", {72, 55, 33, 13}, hand),
        layoutComponent(K::Label, "Label5", {112, 55, 81, 13}, hand),
    };
    return form;
}

} // namespace hk
