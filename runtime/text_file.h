#pragma once
// Windows-1251 text files, read line by line or whole.
#include <memory>
#include <string>
#include <string_view>

#include "runtime/handles.h"

namespace rt {

// A text file open for input; closed when the object goes.
// CR LF, a lone CR and a lone LF each end a line.
class TextFile {
public:
    explicit TextFile(std::wstring_view name);  // raises Error if it cannot be opened

    bool eof();                // true once no line is left
    std::wstring_view line();  // the next line without its end; valid until the next call

private:
    bool fill();  // reads and decodes the next block; false at the end of the file
    [[noreturn]] void raise(std::wstring_view action, DWORD code) const;

    std::wstring name_;
    UniqueHandle file_;
    std::unique_ptr<char[]> block_;  // raw bytes of one read
    DWORD block_bytes_ = 0;
    std::wstring buffer_;  // decoded text from pos_ on is still to be read
    std::size_t pos_ = 0;
    bool at_end_ = false;
};

// The whole file: the lines TextFile gives, every one (the last one too) followed by CR LF.
// Read and decoded in one piece; a file already in that form comes back as it is.
// A file too large for memory raises Error, as a file that cannot be read does.
std::wstring read_lines(std::wstring_view name);

}  // namespace rt
