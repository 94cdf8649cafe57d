#pragma once

#include "hotkeys/HotkeyPlatform.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace hk {

// Records every platform call in order, as one readable line each.
class FakeHotkeyPlatform : public HotkeyPlatform {
public:
    std::uint16_t addAtom(const char* name) override {
        calls.push_back(std::string("atom ") + name);
        if (name == failingAtom) {
            throw std::runtime_error("the atom table is full");
        }
        const auto found = atoms.find(name);
        return found == atoms.end() ? 0 : found->second;
    }
    void registerHotkey(WindowHandle window, std::uint32_t id, unsigned modifiers,
                        std::uint8_t key) override {
        calls.push_back("register " + std::to_string(window) + " " + std::to_string(id) + " " +
                        std::to_string(modifiers) + " " + std::to_string(key));
    }
    WindowHandle foregroundWindow() override {
        calls.push_back("foreground");
        return foreground;
    }
    // Behaves like the platform's 8-bit title read: cut to fit, always zero-terminated. A window
    // without a title entry cannot be read and leaves the buffer untouched.
    void readWindowTitle(WindowHandle window, TitleBuffer& title) override {
        calls.push_back("title " + std::to_string(window));
        const auto found = titles.find(window);
        if (found == titles.end()) {
            return;
        }
        const std::size_t length = std::min(found->second.size(), title.size() - 1);
        std::copy_n(found->second.begin(), length, title.begin());
        title[length] = '\0';
    }
    std::optional<std::uint32_t> postKeyDown(WindowHandle window, std::uint8_t key) override {
        calls.push_back("post " + std::to_string(window) + " " + std::to_string(key));
        const auto refused = refusals.find(window);
        if (refused == refusals.end()) {
            return std::nullopt;
        }
        return refused->second;
    }
    std::string windowTitle(WindowHandle window) override {
        const auto found = titles.find(window);
        return found == titles.end() ? "" : found->second;
    }
    std::string errorText(std::uint32_t code) override {
        return "Error " + std::to_string(code) + ".";
    }

    std::map<std::string, std::uint16_t> atoms;
    std::string failingAtom; // adding this atom throws, as a failing platform call would
    std::map<WindowHandle, std::string> titles;
    std::map<WindowHandle, std::uint32_t> refusals; // windows whose posts fail, with the error
    WindowHandle foreground = 0;
    std::vector<std::string> calls;
};

} // namespace hk
