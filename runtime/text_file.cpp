#include "runtime/text_file.h"

#include <emmintrin.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

#include "runtime/error.h"

namespace rt {

namespace {

constexpr DWORD block_size = 1 << 20;
constexpr UINT windows_1251 = 1251;
// The most bytes one MultiByteToWideChar call takes.
constexpr std::size_t most_in_one_call = INT_MAX;

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

[[noreturn]] void raise_too_large(const std::wstring& name) {
    raise_file_error(L"прочитать", name, ERROR_NOT_ENOUGH_MEMORY);
}

// A machine word of bytes, to look at several at once.
using Word = std::size_t;
constexpr Word ones = ~Word{0} / 0xFF;

constexpr bool has_byte(Word word, unsigned char byte) {
    const Word v = word ^ (ones * byte);
    return ((v - ones) & ~v & (ones * 0x80)) != 0;
}

// The first CR or LF at or after from; size if none.
std::size_t next_end(const char* bytes, std::size_t size, std::size_t from) {
    std::size_t i = from;
    for (; size - i >= sizeof(Word); i += sizeof(Word)) {
        Word word;
        std::memcpy(&word, bytes + i, sizeof word);
        if (has_byte(word, '\r') || has_byte(word, '\n')) break;
    }
    for (; i < size; ++i)
        if (bytes[i] == '\r' || bytes[i] == '\n') return i;
    return size;
}

// Where the first line that is not ended by CR LF starts; size if there is none.
std::size_t first_odd_line(const char* bytes, std::size_t size) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = next_end(bytes, size, start);
        if (end == size || bytes[end] != '\r' || end + 1 == size || bytes[end + 1] != '\n')
            return start;
        start = end + 2;
    }
}

// Whether every line, the last one too, is ended by CR LF: each LF comes right after a CR and
// each CR right before an LF. Sixteen bytes at a time, comparing where the LFs are with where
// the CRs are, one place on.
[[gnu::target("sse2")]] bool crlf_throughout_sse2(const char* bytes, std::size_t size) {
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    unsigned after_cr = 0;  // 1 when the byte before the block is a CR
    std::size_t i = 0;
    for (; size - i >= 16; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr)));
        const unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
        if (lfs != (((crs << 1) | after_cr) & 0xFFFF)) return false;
        after_cr = crs >> 15;
    }
    for (; i < size; ++i) {
        if ((bytes[i] == '\n') != (after_cr != 0)) return false;
        after_cr = bytes[i] == '\r';
    }
    return size == 0 || bytes[size - 1] == '\n';
}

bool crlf_throughout(const char* bytes, std::size_t size) {
    static const bool sse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE);
    return sse2 ? crlf_throughout_sse2(bytes, size) : first_odd_line(bytes, size) == size;
}

// The bytes with every line, the last one too, ended by CR LF; the lines before `from` are.
std::string with_crlf(const char* bytes, std::size_t size, std::size_t from) {
    std::string text;
    text.reserve(size + size / 16 + 2);
    text.append(bytes, from);
    for (std::size_t i = from; i < size;) {
        const std::size_t end = next_end(bytes, size, i);
        text.append(bytes + i, end - i);
        text += "\r\n";
        i = end + 1;
        if (end + 1 < size && bytes[end] == '\r' && bytes[end + 1] == '\n') ++i;
    }
    return text;
}

struct Bytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
};

// The whole file; one that has grown since it was opened is read to its end.
Bytes read_all(const std::wstring& name) {
    unsigned long long size = 0;
    const UniqueHandle file = open_for_reading(name, size);
    if (size > most_in_one_call) raise_too_large(name);
    // A byte to spare, to see the end in the same read.
    std::size_t capacity = static_cast<std::size_t>(size) + 1;
    // Zeroed first: under Wine, ReadFile into pages never touched costs more than the zeroing.
    Bytes bytes{std::make_unique<char[]>(capacity)};
    for (;;) {
        if (bytes.size == capacity) {
            if (capacity > most_in_one_call) raise_too_large(name);
            auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(larger.get(), bytes.data.get(), bytes.size);
            bytes.data = std::move(larger);
            capacity *= 2;
        }
        DWORD count = 0;
        if (!ReadFile(file.get(), bytes.data.get() + bytes.size,
                      static_cast<DWORD>(capacity - bytes.size), &count, nullptr))
            raise_file_error(L"прочитать", name, GetLastError());
        if (count == 0) return bytes;
        bytes.size += count;
    }
}

// One call for the whole text: a single-byte code page gives one character per byte.
std::wstring decode(const std::wstring& name, const char* bytes, std::size_t size) {
    if (size > most_in_one_call) raise_too_large(name);
    std::wstring text(size, L'\0');
    const int count = static_cast<int>(size);
    if (count != 0 &&
        MultiByteToWideChar(windows_1251, 0, bytes, count, text.data(), count) != count)
        raise_file_error(L"прочитать", name, GetLastError());
    return text;
}

}  // namespace

TextFile::TextFile(std::wstring_view name) : name_(name) {
    unsigned long long size = 0;
    file_ = open_for_reading(name_, size);
    // A small file is read in one piece, with a byte to spare in case it has grown.
    block_bytes_ = static_cast<DWORD>(std::clamp<unsigned long long>(size + 1, 4096, block_size));
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
    const std::wstring path(name);
    try {
        Bytes bytes = read_all(path);
        if (crlf_throughout(bytes.data.get(), bytes.size))
            return decode(path, bytes.data.get(), bytes.size);
        const std::size_t odd = first_odd_line(bytes.data.get(), bytes.size);
        const std::string ended = with_crlf(bytes.data.get(), bytes.size, odd);
        bytes.data.reset();
        return decode(path, ended.data(), ended.size());
    } catch (const std::bad_alloc&) {
        raise_too_large(path);
    } catch (const std::length_error&) {
        raise_too_large(path);
    }
}

}  // namespace rt
