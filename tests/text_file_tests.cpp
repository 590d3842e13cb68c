// The text file reader: line ends, Windows-1251 decoding, block edges, errors.
#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "runtime/error.h"
#include "runtime/text_file.h"

namespace {

// A folder of its own under the temporary folder, removed with its files.
class Scratch {
public:
    Scratch() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"text-file-tests-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    ~Scratch() {
        for (const auto& path : made_) {
            if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryW(path.c_str());
            else DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring file(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = folder_ + L"\\" + name;
        const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        REQUIRE(h != INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        REQUIRE(written == bytes.size());
        made_.push_back(path);
        return path;
    }
    std::wstring folder(const std::wstring& name) {
        const std::wstring path = folder_ + L"\\" + name;
        CreateDirectoryW(path.c_str(), nullptr);
        made_.push_back(path);
        return path;
    }
    const std::wstring& path() const { return folder_; }

private:
    std::wstring folder_;
    std::vector<std::wstring> made_;
};

std::vector<std::wstring> lines_of(const std::wstring& path) {
    rt::TextFile file(path);
    std::vector<std::wstring> lines;
    while (!file.eof()) lines.emplace_back(file.line());
    return lines;
}

std::wstring error_of(const std::wstring& path) {
    try {
        rt::read_lines(path);
    } catch (const rt::Error& e) {
        return e.message();
    }
    return L"(no error)";
}

bool contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

constexpr std::size_t block = 1 << 20;  // the reader's block size

}  // namespace

TEST_SUITE("text_file") {
    TEST_CASE("lines end at CR LF, lone CR or lone LF; the last needs no end") {
        struct Row {
            std::string_view name;
            std::string bytes;
            std::vector<std::wstring> lines;
        };
        const Row rows[] = {
            {"CR LF", "один\r\nдва\r\n", {L"один", L"два"}},
            {"no final line end", "один\r\nдва", {L"один", L"два"}},
            {"lone LF", "a\nb\n", {L"a", L"b"}},
            {"lone CR", "a\rb\r", {L"a", L"b"}},
            {"LF CR is two ends", "a\n\rb", {L"a", L"", L"b"}},
            {"only CR LF", "\r\n", {L""}},
            {"empty", "", {}},
            {"empty lines inside", "a\r\n\r\n\r\nb\r\n", {L"a", L"", L"", L"b"}},
            {"blanks kept", "  a \t\r\n", {L"  a \t"}},
        };
        Scratch scratch;
        for (const auto& row : rows) {
            CAPTURE(row.name);
            // The bytes above are UTF-8 source text: store them as Windows-1251.
            std::wstring wide(row.bytes.size(), L'\0');
            wide.resize(MultiByteToWideChar(CP_UTF8, 0, row.bytes.data(), static_cast<int>(row.bytes.size()),
                                            wide.data(), static_cast<int>(wide.size())));
            std::string ansi(wide.size(), '\0');
            ansi.resize(WideCharToMultiByte(1251, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                                            static_cast<int>(ansi.size()), nullptr, nullptr));
            CHECK(lines_of(scratch.file(L"lines.txt", ansi)) == row.lines);
        }
    }

    TEST_CASE("bytes decode as Windows-1251, whatever the system's code page") {
        Scratch scratch;
        // Ё ё А Я а я, then the rest of the upper half in one line.
        std::string bytes = "\xA8\xB8\xC0\xDF\xE0\xFF\r\n";
        for (int b = 0xC0; b <= 0xFF; ++b) bytes += static_cast<char>(b);
        const auto lines = lines_of(scratch.file(L"1251.txt", bytes));
        REQUIRE(lines.size() == 2);
        CHECK(lines[0] == L"ЁёАЯая");
        CHECK(lines[1] == L"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя");
    }

    TEST_CASE("bytes that are not text are read, not choked on") {
        Scratch scratch;
        const auto lines = lines_of(scratch.file(L"binary.txt", std::string("a\0b\x01\x1A\x98\r\nz", 9)));
        REQUIRE(lines.size() == 2);
        CHECK(lines[0].size() == 6);
        CHECK(lines[0].substr(0, 3) == std::wstring(L"a\0b", 3));
        CHECK(lines[1] == L"z");
    }

    TEST_CASE("lines across the reader's blocks") {
        Scratch scratch;
        SUBCASE("CR LF split between two blocks is one line end") {
            const std::string first(block - 1, 'x');
            const auto lines = lines_of(scratch.file(L"edge.txt", first + "\r\ny"));
            REQUIRE(lines.size() == 2);
            CHECK(lines[0] == std::wstring(block - 1, L'x'));
            CHECK(lines[1] == L"y");
        }
        SUBCASE("a CR that ends the file at a block edge") {
            const auto lines = lines_of(scratch.file(L"edge-cr.txt", std::string(block - 1, 'x') + "\r"));
            REQUIRE(lines.size() == 1);
            CHECK(lines[0].size() == block - 1);
        }
        SUBCASE("a line longer than several blocks") {
            const auto lines = lines_of(scratch.file(L"long.txt", std::string(3 * block + 5, 'q') + "\nend"));
            REQUIRE(lines.size() == 2);
            CHECK(lines[0].size() == 3 * block + 5);
            CHECK(lines[1] == L"end");
        }
    }

    TEST_CASE("the whole file: every line followed by CR LF") {
        Scratch scratch;
        CHECK(rt::read_lines(scratch.file(L"a.txt", "a\nb")) == L"a\r\nb\r\n");
        CHECK(rt::read_lines(scratch.file(L"b.txt", "a\r\n\r\nb\r\n")) == L"a\r\n\r\nb\r\n");
        CHECK(rt::read_lines(scratch.file(L"c.txt", "\r\n")) == L"\r\n");
        CHECK(rt::read_lines(scratch.file(L"d.txt", "")).empty());
    }

    TEST_CASE("the whole file is the lines one by one, each followed by CR LF") {
        const std::string line(70, '\xE0');
        std::string many;
        for (int i = 0; i < 2000; ++i) many += line + (i % 500 == 499 ? "\n" : "\r\n");
        struct Row {
            std::string_view name;
            std::string bytes;
        };
        const Row rows[] = {
            {"CR LF throughout", "a\r\nb\r\n"},
            {"a lone LF after CR LF lines", "a\r\nb\r\nc\nd\r\n"},
            {"a lone CR at the very end", "a\r\nb\r"},
            {"a last line without its end", "a\r\nb"},
            {"only line ends", "\n\r\r\n\n\n\r"},
            {"NUL and CR LF", std::string("\0\r\n\0\0", 5)},
            {"long text with a few lone LFs", many},
            {"CR LF split at a block edge", std::string(block - 1, 'x') + "\r\ny\r"},
        };
        Scratch scratch;
        const auto check = [&](const std::string& bytes) {
            const auto path = scratch.file(L"whole.txt", bytes);
            std::wstring joined;
            for (const auto& l : lines_of(path)) joined += l + L"\r\n";
            CHECK(rt::read_lines(path) == joined);
        };
        for (const auto& row : rows) {
            CAPTURE(row.name);
            check(row.bytes);
        }
        // Each kind of line end at every place around the reader's 16- and 32-byte steps.
        const struct {
            std::string_view name;
            const char* bytes;
        } ends[] = {{"CR LF", "\r\n"},       {"LF", "\n"},           {"CR", "\r"},
                    {"CR CR LF", "\r\r\n"}, {"LF CR LF", "\n\r\n"}, {"CR LF CR", "\r\n\r"}};
        for (const auto& [name, end] : ends) {
            for (std::size_t at = 0; at < 40; ++at) {
                CAPTURE(at);
                CAPTURE(name);
                check(std::string(at, 'x') + end + "y\r\n");
                check(std::string(at, 'x') + end);
            }
        }
    }

    TEST_CASE("failures raise an error that names the file, its folder and the reason") {
        Scratch scratch;
        SUBCASE("missing file") {
            const auto message = error_of(scratch.path() + L"\\нет.txt");
            CHECK(contains(message, L"«нет.txt»"));
            CHECK(contains(message, L"«" + scratch.path() + L"»"));
            CHECK(contains(message, L"файл не найден"));
        }
        SUBCASE("missing folder") {
            const auto message = error_of(scratch.path() + L"\\нет\\Алфавит.txt.");
            CHECK(contains(message, L"«Алфавит.txt»"));
            CHECK(contains(message, L"папка не найдена"));
        }
        SUBCASE("a folder where the file should be") {
            const auto message = error_of(scratch.folder(L"папка.txt"));
            CHECK(contains(message, L"«папка.txt»"));
            CHECK(contains(message, L"находится папка"));
        }
        SUBCASE("a file that another program holds without sharing") {
            const auto path = scratch.file(L"locked.txt", "a\r\n");
            const HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            REQUIRE(lock != INVALID_HANDLE_VALUE);
            const auto message = error_of(path);
            CloseHandle(lock);
            CHECK(contains(message, L"«locked.txt»"));
            CHECK(contains(message, L"занят другой программой"));
        }
        SUBCASE("a file larger than one decoding takes") {
            // Sparse: its size is set, nothing is written.
            const auto path = scratch.file(L"большой.txt", "");
            {
                const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                REQUIRE(h != INVALID_HANDLE_VALUE);
                LARGE_INTEGER size{};
                size.QuadPart = 0x80000001LL;  // INT_MAX + 2 bytes
                const bool sized = SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h);
                CloseHandle(h);
                REQUIRE(sized);
            }
            const auto message = error_of(path);
            CHECK(message == L"Не удалось прочитать файл «большой.txt» в папке «" + scratch.path() +
                                 L"».\nПричина: недостаточно памяти.");
        }
        SUBCASE("reading past the last line") {
            rt::TextFile file(scratch.file(L"one.txt", "a"));
            CHECK(file.line() == L"a");
            CHECK(file.eof());
            CHECK_THROWS_AS(file.line(), rt::Error);
        }
    }

    TEST_CASE("a file is closed when its reader goes") {
        Scratch scratch;
        const auto path = scratch.file(L"closed.txt", "a\r\nb\r\n");
        {
            rt::TextFile file(path);
            file.line();
        }
        // Opening without sharing succeeds only if no handle is left open.
        const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        CHECK(h != INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
}
