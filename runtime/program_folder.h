#pragma once
#include <string>

namespace rt {

// The folder of the executable, without a trailing backslash (but "C:\").
std::wstring program_folder();

// Makes the program folder, drive included, the current folder.
void enter_program_folder();

}  // namespace rt
