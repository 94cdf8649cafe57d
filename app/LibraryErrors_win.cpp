// The standard library reports a broken limit (a string past its largest size, a position past
// its end) through these functions. Its own versions build std::length_error and its kin,
// classes the program does without (base/Error.h says why). These throw the program's own error
// under the standard name instead, so the error box reads as it would have. The linker takes
// them in place of the library's; should the library need one that is missing here, the link
// stops at a duplicate definition rather than doing without. So every function of that library
// member that the program's code may call is here, including those that only an unoptimised
// build calls.

#include "base/Error.h"

#include <cstdarg>
#include <cstring>
#include <new>
#include <string>

namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}

// Only an unoptimised build calls it: optimised, the allocator's own size check makes it
// unreachable.
void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}

void __throw_length_error(const char* message) {
    hk::raise<hk::Error>("std::length_error", message);
}

void __throw_logic_error(const char* message) {
    hk::raise<hk::Error>("std::logic_error", message);
}

// The library's formats name the function first, either as the first argument
// ("%s: __pos (which is %zu) > ...") or as text ("vector::_M_range_check: __n ..."); the name
// is what tells a reader where it happened.
void __throw_out_of_range_fmt(const char* format, ...) {
    std::string function;
    if (std::strncmp(format, "%s", 2) == 0) {
        std::va_list arguments;
        va_start(arguments, format);
        function = va_arg(arguments, const char*);
        va_end(arguments);
    } else {
        function.assign(format, std::strcspn(format, ":"));
    }
    hk::raise<hk::Error>("std::out_of_range", function + ": position out of range");
}

} // namespace std
