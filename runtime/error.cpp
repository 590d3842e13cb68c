#include "runtime/error.h"

#include <array>
#include <utility>

namespace rt {

namespace {

// Not a Win32 code: the name is taken by a folder.
constexpr DWORD folder_in_place = 0xE0000001;

struct Known {
    DWORD code;
    std::wstring_view text;
};

constexpr std::array known{
    Known{ERROR_FILE_NOT_FOUND, L"файл не найден"},
    Known{ERROR_PATH_NOT_FOUND, L"папка не найдена"},
    Known{ERROR_ACCESS_DENIED, L"нет доступа к файлу"},
    Known{ERROR_SHARING_VIOLATION, L"файл занят другой программой"},
    Known{ERROR_LOCK_VIOLATION, L"файл заблокирован другой программой"},
    Known{ERROR_INVALID_NAME, L"недопустимое имя файла"},
    Known{ERROR_NOT_ENOUGH_MEMORY, L"недостаточно памяти"},
    Known{ERROR_OUTOFMEMORY, L"недостаточно памяти"},
    Known{ERROR_NOT_READY, L"устройство не готово"},
    Known{ERROR_CRC, L"ошибка данных на диске"},
    Known{folder_in_place, L"под этим именем находится папка, а не файл"},
};

std::wstring system_text(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result(text ? text : L"", length);
    LocalFree(text);
    while (!result.empty() && (result.back() == L'\r' || result.back() == L'\n' ||
                               result.back() == L'.' || result.back() == L' '))
        result.pop_back();
    return result;
}

std::wstring full_path(std::wstring_view path) {
    const std::wstring given(path);
    const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) return given;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return given;
    full.resize(length);
    return full;
}

}  // namespace

std::wstring reason(DWORD code) {
    for (const auto& k : known)
        if (k.code == code) return std::wstring(k.text);
    std::wstring text = L"ошибка Windows " + std::to_wstring(code);
    if (const auto system = system_text(code); !system.empty()) text += L" (" + system + L")";
    return text;
}

void raise_file_error(std::wstring_view action, std::wstring_view path, DWORD code) {
    const std::wstring full = full_path(path);
    if (code == ERROR_ACCESS_DENIED) {
        const DWORD attributes = GetFileAttributesW(full.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            code = folder_in_place;
    }
    const auto slash = full.find_last_of(L"\\/");
    const std::wstring name = slash == std::wstring::npos ? full : full.substr(slash + 1);
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : full.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';

    std::wstring message = L"Не удалось ";
    message += action;
    message += L" файл «" + name + L"»";
    if (!folder.empty()) message += L" в папке «" + folder + L"»";
    message += L".\nПричина: " + reason(code) + L".";
    throw Error(std::move(message));
}

}  // namespace rt
