#pragma once
// Message boxes, modal to the whole program.
#include <windows.h>

#include <optional>
#include <string_view>

#include "runtime/error.h"

namespace rt {

inline constexpr std::wstring_view app_title = L"Лумиса";

enum class Box : UINT {
    Plain = MB_OK,                             // 0: one OK button, no icon
    Information = MB_OK | MB_ICONINFORMATION,  // 64: information icon, one OK button
};

// Returns once the user has dismissed the box. Without a title the box
// shows the application title.
void message_box(std::wstring_view text, Box buttons,
                 std::optional<std::wstring_view> title = std::nullopt);

// Error icon, one OK, the application title.
void report_error(const Error& error) noexcept;

}  // namespace rt
