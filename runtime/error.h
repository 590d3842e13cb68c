#pragma once
// A failure of a runtime service, carrying a message for the user in Russian.
#include <windows.h>

#include <string>
#include <string_view>

namespace rt {

class Error {
public:
    explicit Error(std::wstring message, DWORD code = 0)
        : message_(std::move(message)), code_(code) {}
    const std::wstring& message() const { return message_; }
    // The Win32 code behind the failure; 0 where there is none.
    DWORD code() const { return code_; }

private:
    std::wstring message_;
    DWORD code_;
};

// Why a Win32 call failed, in words for the user.
std::wstring reason(DWORD code);

// "Не удалось <action> файл «name» в папке «folder».\nПричина: <reason>."
[[noreturn]] void raise_file_error(std::wstring_view action, std::wstring_view path, DWORD code);

}  // namespace rt
