#pragma once

#include "app/MessageLoop.h"

#include <windows.h>

namespace hk {

class TForm1;

class Win32MessageQueue : public MessageQueue {
public:
    explicit Win32MessageQueue(const TForm1& form) : form(form) {}

    std::optional<unsigned> take() override;
    bool formClaimsKey() override;
    void translateAndDispatch() override;
    void waitForMessage() override;

private:
    const TForm1& form;
    MSG current{};
};

} // namespace hk
