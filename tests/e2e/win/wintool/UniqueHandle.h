#pragma once

#include <memory>
#include <windows.h>

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// A process or thread handle, closed when its owner goes.
using UniqueHandle = std::unique_ptr<void, HandleCloser>;
