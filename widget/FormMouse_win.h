#pragma once

#include "widget/MouseRouter.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>
#include <windows.h>

namespace hk {

// The form's mouse: turns the platform's button and cursor messages into presses and clicks of
// the windowless components and runs the handlers they name.
class FormMouse {
public:
    using HandlerRunner = std::function<void(Handler)>;

    FormMouse(const std::vector<Component>& components, HandlerRunner runHandler)
        : components(components), runHandler(std::move(runHandler)) {}

    // The result of a mouse button, capture or cursor message; nullopt for every other message,
    // which then takes its default course.
    std::optional<LRESULT> handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void onButtonDown(HWND hwnd, MouseButton button, LPARAM lParam);
    void onButtonUp(HWND hwnd, MouseButton button, WPARAM wParam, LPARAM lParam);
    bool onSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) const;

    const std::vector<Component>& components;
    HandlerRunner runHandler;
    MouseRouter router;
};

} // namespace hk
