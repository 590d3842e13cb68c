#include "runtime/text_file.h"

#include <algorithm>
#include <memory>

#include "runtime/error.h"

namespace rt {

namespace {

constexpr DWORD block_size = 1 << 20;
constexpr UINT windows_1251 = 1251;

}  // namespace

TextFile::TextFile(std::wstring_view name) : name_(name) {
    const HANDLE handle = CreateFileW(name_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) raise(L"открыть", GetLastError());
    file_.reset(handle);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle, &size)) raise(L"прочитать", GetLastError());
    size_ = static_cast<unsigned long long>(size.QuadPart);
    // A small file is read in one piece, with a byte to spare in case it has grown.
    block_bytes_ = static_cast<DWORD>(std::clamp<unsigned long long>(size_ + 1, 4096, block_size));
    block_ = std::make_unique_for_overwrite<char[]>(block_bytes_);
}

void TextFile::raise(std::wstring_view action, DWORD code) const {
    raise_file_error(action, name_, code);
}

bool TextFile::fill() {
    if (at_end_) return false;
    DWORD count = 0;
    if (!ReadFile(file_.get(), block_.get(), block_bytes_, &count, nullptr))
        raise(L"прочитать", GetLastError());
    if (count == 0) {
        at_end_ = true;
        return false;
    }
    buffer_.erase(0, pos_);
    pos_ = 0;
    const std::size_t old_size = buffer_.size();
    // A single-byte code page: one character per byte, so blocks split anywhere.
    buffer_.resize(old_size + count);
    if (MultiByteToWideChar(windows_1251, 0, block_.get(), static_cast<int>(count),
                            buffer_.data() + old_size, static_cast<int>(count)) !=
        static_cast<int>(count))
        raise(L"прочитать", GetLastError());
    return true;
}

bool TextFile::eof() {
    while (pos_ == buffer_.size())
        if (!fill()) return true;
    return false;
}

std::wstring_view TextFile::line() {
    if (eof()) raise(L"прочитать", ERROR_HANDLE_EOF);
    std::size_t scanned = pos_;
    for (;;) {
        const std::size_t end = buffer_.find_first_of(L"\r\n", scanned);
        // A CR at the end of the block may be the first half of CR LF.
        const bool cr_at_edge = end != std::wstring::npos && buffer_[end] == L'\r' &&
                                end + 1 == buffer_.size() && !at_end_;
        if (end != std::wstring::npos && !cr_at_edge) {
            const std::size_t start = pos_;
            pos_ = end + 1;
            if (buffer_[end] == L'\r' && pos_ < buffer_.size() && buffer_[pos_] == L'\n') ++pos_;
            return std::wstring_view(buffer_).substr(start, end - start);
        }
        const std::size_t done = (end == std::wstring::npos ? buffer_.size() : end) - pos_;
        if (!fill()) {
            if (end != std::wstring::npos) continue;  // that CR ends the last line
            const std::size_t start = pos_;
            pos_ = buffer_.size();
            return std::wstring_view(buffer_).substr(start);
        }
        scanned = pos_ + done;  // fill() moved the unread text to the front
    }
}

std::wstring read_lines(std::wstring_view name) {
    TextFile file(name);
    std::wstring text;
    text.reserve(static_cast<std::size_t>(file.size() + file.size() / 16 + 2));
    while (!file.eof()) {
        text += file.line();
        text += L"\r\n";
    }
    return text;
}

}  // namespace rt
