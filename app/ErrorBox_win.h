#pragma once

#include "base/ErrorReporter.h"

#include <exception>

namespace hk {

class ApplicationWindow;

// Shows an error that escaped the handling of one message; the program then goes on.
class ErrorBox : public ErrorReporter {
public:
    explicit ErrorBox(const ApplicationWindow& application) : application(application) {}
    void report(const std::exception& error) override;

private:
    const ApplicationWindow& application;
};

// Shows an error that ended start-up, in a box of its own with no owner.
void showFatalError(const std::exception& error);

} // namespace hk
