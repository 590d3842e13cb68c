#include "runtime/message_box.h"

#include <string>

namespace rt {

void message_box(std::wstring_view text, Box buttons, std::optional<std::wstring_view> title) {
    const std::wstring text_z(text);
    const std::wstring title_z(title.value_or(app_title));
    // No owner and task-modal: every window of the program is disabled while the box is up.
    if (MessageBoxW(nullptr, text_z.c_str(), title_z.c_str(),
                    static_cast<UINT>(buttons) | MB_TASKMODAL) == 0)
        throw Error(L"Не удалось показать окно сообщения.\nПричина: " + reason(GetLastError()) +
                    L".");
}

void report_error(const Error& error) noexcept {
    MessageBoxW(nullptr, error.message().c_str(), std::wstring(app_title).c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace rt
