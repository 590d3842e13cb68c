#pragma once
// Owners for Win32 handles.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace rt {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
// A kernel handle; holds only valid handles (never INVALID_HANDLE_VALUE).
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct WindowDestroyer {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

}  // namespace rt
