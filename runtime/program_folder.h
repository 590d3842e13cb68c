#pragma once
#include <string>
#include <string_view>

namespace rt {

// The folder of the executable, without a trailing backslash (but "C:\").
std::wstring program_folder();

// The full path of a file of that name in the program folder.
std::wstring in_program_folder(std::wstring_view name);

}  // namespace rt
