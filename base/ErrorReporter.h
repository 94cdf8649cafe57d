#pragma once

#include <exception>

namespace hk {

// Where an error that escaped the handling of one message goes, so the program can go on.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(const std::exception& error) = 0;
};

} // namespace hk
