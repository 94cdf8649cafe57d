#include <cstdlib>

// The library's default handler for an exception that nothing catches prints the exception's
// type to standard error before aborting. A windowed program has no standard error to print to,
// yet the handler drags a complete C++ name demangler into the executable; this one ends the
// process the same way without it. Defining it here keeps the library's own copy out of the link.
namespace __gnu_cxx {
// NOLINTNEXTLINE(bugprone-reserved-identifier): the library's own name, which this replaces
[[noreturn]] void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
