#pragma once

#include <exception>

namespace hk {

// Where an error that escaped the handling of one message goes, so the program can go on.
// Reports are made from inside the platform's own frames (a window procedure's catch), through
// which no exception can pass, so a reporter never throws.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(const std::exception& error) noexcept = 0;
};

} // namespace hk
