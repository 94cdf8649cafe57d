#pragma once

#include "platform/UniqueHandle_win.h"

#include <windows.h>

// A process or thread handle from OpenProcess, CreateProcess or CreateRemoteThread, closed with
// CloseHandle: the program's own owner, for a kind of handle only the helpers hold.
using UniqueKernelHandle = hk::UniqueHandle<HANDLE, &::CloseHandle>;
