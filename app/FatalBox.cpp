#include "app/FatalBox.h"

#include "app/ErrorText.h"
#include "base/Error.h"

#include <typeinfo>

namespace hk {

// The type name and the module's name need memory too.
void showFatalError(FatalBoxPlatform& platform, const std::exception& error) noexcept {
    std::string built;
    const char* text = builtOrOwnMessage(built, error, [&] {
        const auto* own = dynamic_cast<const Error*>(&error);
        const CodePlace place = platform.codePlace(own != nullptr ? own->address() : nullptr);
        return fatalErrorText(own != nullptr ? std::string(own->typeName())
                                             : readableTypeName(typeid(error).name()),
                              place.module, place.offset, error.what(), platform.sentenceEnds());
    });
    platform.showFatalBox(text);
}

} // namespace hk
