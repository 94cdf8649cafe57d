#pragma once

#include "app/ErrorText.h"

#include <cstdint>
#include <exception>
#include <string>

namespace hk {

// Where code lies: the file name of its module and its offset from the module's start.
struct CodePlace {
    std::string module;
    std::uintptr_t offset = 0;
};

// What the box of an error that ended start-up needs of the platform.
class FatalBoxPlatform {
public:
    virtual ~FatalBoxPlatform() = default;
    // The module that holds `address`, the executable when it is null; may throw, as naming the
    // module needs memory.
    virtual CodePlace codePlace(const void* address) = 0;
    // How the system's 8-bit text ends a sentence; may throw, as it needs memory.
    virtual SentenceEnds sentenceEnds() = 0;
    // Shows the box, with no owner, and returns once it is dismissed.
    virtual void showFatalBox(const char* text) noexcept = 0;
};

// Shows an error that ended start-up. Start-up may have failed for want of memory, so when its
// text cannot be built the box shows the error's own message, which needs none.
void showFatalError(FatalBoxPlatform& platform, const std::exception& error) noexcept;

} // namespace hk
