#include "runtime/program_folder.h"

#include <windows.h>

#include "runtime/error.h"

namespace rt {

std::wstring program_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw Error(L"Не удалось узнать папку программы.\nПричина: " + reason(GetLastError()) + L".");
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    if (const auto slash = path.find_last_of(L'\\'); slash != std::wstring::npos) path.erase(slash);
    if (path.size() == 2 && path[1] == L':') path += L'\\';
    return path;
}

namespace {

std::wstring current_folder() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
    if (length == 0 || length >= path.size()) return {};  // then the folder is set again
    path.resize(length);
    return path;
}

}  // namespace

void enter_program_folder() {
    const std::wstring folder = program_folder();
    // Setting the folder opens it: not done when it is already the current one.
    if (CompareStringOrdinal(folder.c_str(), -1, current_folder().c_str(), -1, TRUE) == CSTR_EQUAL)
        return;
    if (!SetCurrentDirectoryW(folder.c_str()))
        throw Error(L"Не удалось перейти в папку программы «" + folder + L"».\nПричина: " +
                    reason(GetLastError()) + L".");
}

}  // namespace rt
