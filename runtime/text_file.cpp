#include "runtime/text_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "runtime/error.h"

namespace rt {

namespace {

constexpr DWORD block_size = 1 << 20;
constexpr UINT windows_1251 = 1251;

// Opens a file for reading and gives its size; raises the error that names it.
UniqueHandle open_for_reading(const std::wstring& name, unsigned long long& size) {
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) raise_file_error(L"открыть", name, GetLastError());
    UniqueHandle file(handle);
    LARGE_INTEGER bytes{};
    if (!GetFileSizeEx(handle, &bytes)) raise_file_error(L"прочитать", name, GetLastError());
    size = static_cast<unsigned long long>(bytes.QuadPart);
    return file;
}

}  // namespace

TextFile::TextFile(std::wstring_view name) : name_(name) {
    file_ = open_for_reading(name_, size_);
}

void TextFile::raise(std::wstring_view action, DWORD code) const {
    raise_file_error(action, name_, code);
}

bool TextFile::fill() {
    if (at_end_) return false;
    std::vector<char> bytes(block_size);
    DWORD count = 0;
    if (!ReadFile(file_.get(), bytes.data(), block_size, &count, nullptr))
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
    if (MultiByteToWideChar(windows_1251, 0, bytes.data(), static_cast<int>(count),
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

// One read and one conversion for the whole file, then the line ends made CR LF in place.
std::wstring read_lines(std::wstring_view name) {
    const std::wstring path(name);
    unsigned long long size = 0;
    const UniqueHandle file = open_for_reading(path, size);

    // One byte more than the size, so that the end is seen; a file that grew is read to its end.
    std::size_t capacity = static_cast<std::size_t>(size) + 1, used = 0;
    auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
    for (;;) {
        if (used == capacity) {
            auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(larger.get(), bytes.get(), used);
            bytes = std::move(larger);
            capacity *= 2;
        }
        const auto want = static_cast<DWORD>(std::min<std::size_t>(capacity - used, 1u << 30));
        DWORD count = 0;
        if (!ReadFile(file.get(), bytes.get() + used, want, &count, nullptr))
            raise_file_error(L"прочитать", path, GetLastError());
        if (count == 0) break;
        used += count;
    }
    if (used == 0) return {};

    // Each lone CR or LF takes one character more as CR LF; a last line without an end, two.
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.get());
    std::size_t crs = b[0] == '\r', lfs = b[0] == '\n', pairs = 0;
    for (std::size_t i = 1; i < used; ++i) {
        crs += b[i] == '\r';
        lfs += b[i] == '\n';
        pairs += (b[i] == '\n') & (b[i - 1] == '\r');
    }
    const bool open_end = b[used - 1] != '\r' && b[used - 1] != '\n';
    const std::size_t extra = (crs - pairs) + (lfs - pairs) + (open_end ? 2 : 0);

    // A single-byte code page: one character per byte. The text goes after the room for
    // the extra characters, so that it can be rewritten forwards without overtaking itself.
    std::wstring text(used + extra, L'\0');
    for (std::size_t done = 0; done < used;) {
        const int chunk = static_cast<int>(std::min<std::size_t>(used - done, 1u << 30));
        if (MultiByteToWideChar(windows_1251, 0, bytes.get() + done, chunk,
                                text.data() + extra + done, chunk) != chunk)
            raise_file_error(L"прочитать", path, GetLastError());
        done += static_cast<std::size_t>(chunk);
    }
    bytes.reset();
    if (extra == 0) return text;

    wchar_t* out = text.data();
    const wchar_t* in = text.data() + extra;
    const wchar_t* const end = text.data() + text.size();
    while (in != end) {
        const wchar_t c = *in++;
        if (c == L'\r' || c == L'\n') {
            *out++ = L'\r';
            *out++ = L'\n';
            if (c == L'\r' && in != end && *in == L'\n') ++in;
        } else {
            *out++ = c;
        }
    }
    if (open_end) {
        *out++ = L'\r';
        *out++ = L'\n';
    }
    return text;
}

}  // namespace rt
