// "Алфавит языка Бейсик": the alphabet file of drive C: in a plain message box.
#include <algorithm>
#include <optional>

#include "driver.h"

using namespace drive;

namespace {

const std::wstring language = L"C:\\language";
const std::wstring kelbu = language + L"\\Kelbu";
const std::wstring alphabet = kelbu + L"\\Алфавит.txt";

// Sets up the alphabet folder of drive C: and clears it away afterwards.
class AlphabetFolder {
public:
    enum What { File, NoFile, NoFolder };
    explicit AlphabetFolder(What what, std::string_view bytes = {}) {
        remove_path(kelbu);
        if (what == File) write_file(alphabet, bytes);
        if (what == NoFile) make_folder(kelbu);
    }
    ~AlphabetFolder() {
        remove_path(kelbu);
        RemoveDirectoryW(language.c_str());  // only if nothing else is there
    }
    AlphabetFolder(const AlphabetFolder&) = delete;
    AlphabetFolder& operator=(const AlphabetFolder&) = delete;
};

struct Fixture {
    std::string_view what;
    std::string_view bytes;  // Windows-1251
    std::wstring_view text;
};

constexpr Fixture fixtures[]{
    {"three lines", "\xC0 \xC1 \xC2\r\na b c\r\n0 1 2", L"А Б В\r\na b c\r\n0 1 2\r\n"},
    {"empty file", "", L""},
    {"Ё and ё, lone LF", "\xA8\xB8\n\xDF\xFF\n", L"Ёё\r\nЯя\r\n"},
};

std::vector<HWND> sorted(std::vector<HWND> windows) {
    std::sort(windows.begin(), windows.end());
    return windows;
}

}  // namespace

TEST_SUITE("alphabet") {

TEST_CASE("the alphabet in a plain box: lines ended by CR LF, no icon, one OK, no window") {
    Program program(statements);
    const HWND menu = open_menu(program);
    for (const Fixture& fixture : fixtures) {
        CAPTURE(fixture.what);
        AlphabetFolder folder(AlphabetFolder::File, fixture.bytes);
        const auto before = sorted(program.windows());
        click(button(menu, L"Алфавит языка Бейсик"));
        const Box box = program.wait_box();
        CHECK(box.title == L"Лумиса");
        CHECK(box.text == std::wstring(fixture.text));
        CHECK(box.icon == Icon::None);
        CHECK(box.buttons == std::vector<std::wstring>{L"OK"});
        CHECK_FALSE(enabled(menu));
        box.press_ok();
        program.wait_for([&] { return enabled(menu); }, "the menu enabled again");
        CHECK(sorted(program.windows()) == before);
    }
}

TEST_CASE("a missing alphabet is reported as an error, and the program goes on") {
    std::optional<AlphabetFolder> folder;
    std::wstring_view reason;
    SUBCASE("no file") {
        folder.emplace(AlphabetFolder::NoFile);
        reason = L"файл не найден";
    }
    SUBCASE("no folder") {
        folder.emplace(AlphabetFolder::NoFolder);
        reason = L"папка не найдена";
    }
    Program program(statements);
    const HWND menu = open_menu(program);
    click(button(menu, L"Алфавит языка Бейсик"));
    const Box box = program.wait_box();
    CHECK(box.title == L"Лумиса");
    CHECK(box.text == L"Не удалось открыть файл «Алфавит.txt» в папке «c:\\language\\Kelbu».\n"
                      L"Причина: " + std::wstring(reason) + L".");
    CHECK(box.icon == Icon::Error);
    CHECK(box.buttons == std::vector<std::wstring>{L"OK"});
    box.press_ok();
    program.expect_running();

    // Once the file is there the same button shows it.
    folder.emplace(AlphabetFolder::File, "abc");
    click(button(menu, L"Алфавит языка Бейсик"));
    const Box alphabet_box = program.wait_box();
    CHECK(alphabet_box.text == L"abc\r\n");
    CHECK(alphabet_box.icon == Icon::None);
    alphabet_box.press_ok();
}

}  // TEST_SUITE
