// "Операторы" and "Общие сведения": the text files of the program's folder in the viewer.
#include <memory>

#include "driver.h"

using namespace drive;

namespace {

struct Source {
    std::wstring_view button;
    std::wstring_view file;
    std::string_view sample;  // some content of the file
};

constexpr Source sources[]{
    {L"Операторы", L"операторы.txt", "statements\r\n"},
    {L"Общие сведения", L"Описание.txt", "about\r\n"},
};

struct Fixture {
    std::string_view what;
    std::string_view bytes;  // Windows-1251
    std::wstring_view text;  // what the label shows
};

// Consecutive rows differ, so that each click is seen to take effect.
constexpr Fixture fixtures[]{
    {"lines ending in CR LF", "one\r\ntwo\r\nthree\r\n", L"one\r\ntwo\r\nthree\r\n"},
    {"no line end at the end", "one\r\ntwo", L"one\r\ntwo\r\n"},
    {"only CR LF", "\r\n", L"\r\n"},
    {"empty file", "", L""},
    {"empty lines inside", "a\r\n\r\n\r\nb\r\n", L"a\r\n\r\n\r\nb\r\n"},
    {"lone LF", "a\nb\n", L"a\r\nb\r\n"},
    {"lone CR", "a\rb\r\rc", L"a\r\nb\r\n\r\nc\r\n"},
    {"LF CR is two line ends", "a\n\rb", L"a\r\n\r\nb\r\n"},
    // A label's text is a NUL-terminated string: it ends at the first NUL.
    {"NUL and control bytes", std::string_view("a\x01\x1B\x7F" "b\r\nc\0d\r\n", 11), L"a\x01\x1B\x7F" L"b\r\nc"},
    {"0x98, unassigned in Windows-1251", "\x98\r\n", L"\x0098\r\n"},
    {"Cyrillic with Ё and ё",
     "\xA8\xE6 \xE8 \xB8\xEB\xEA\xE0: \xAB\xD1\xFA\xE5\xF8\xFC \xE6\xE5 \xE5\xF9\xB8\xBB\r\n\xDF",
     L"Ёж и ёлка: «Съешь же ещё»\r\nЯ\r\n"},
    {"the whole Cyrillic alphabet",
     "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
     "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF\r\n"
     "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
     "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF\r\n",
     L"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ\r\nабвгдежзийклмнопрстуфхцчшщъыьэюя\r\n"},
};

HWND label_of(HWND viewer) {
    const HWND label = GetDlgItem(viewer, 100);
    REQUIRE(label);
    return label;
}

// Many lines, to see that the label gets all of them.
std::pair<std::string, std::wstring> long_text(int lines) {
    std::string bytes;
    std::wstring text;
    for (int i = 1; i <= lines; ++i) {
        const std::string n = std::to_string(i);
        bytes += "\xF1\xF2\xF0\xEE\xEA\xE0 " + n + "\r\n";  // "строка N"
        text += L"строка " + std::wstring(n.begin(), n.end()) + L"\r\n";
    }
    return {bytes, text};
}

std::wstring open_error(std::wstring_view file, const std::wstring& folder,
                        std::wstring_view reason) {
    return L"Не удалось открыть файл «" + std::wstring(file) + L"» в папке «" + folder +
           L"».\nПричина: " + std::wstring(reason) + L".";
}

}  // namespace

TEST_SUITE("loading") {

TEST_CASE("the viewer: caption, place, fixed border, one label") {
    Program program({{L"Описание.txt", "x\r\n"}});
    click(button(program.wait_window(main_class), L"Общие сведения"));
    const HWND viewer = program.wait_window(viewer_class);
    CHECK(text(viewer) == L"Кварнедо");
    CHECK(client(viewer) == Rect{px(825), px(3420), px(4740), px(5115)});
    CHECK(GetWindow(viewer, GW_OWNER) == nullptr);
    CHECK((style(viewer) & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) == 0);
    const auto controls = children(viewer);
    REQUIRE(controls.size() == 1);
    CHECK(class_name(controls[0]) == L"Static");
    CHECK(GetDlgCtrlID(controls[0]) == 100);
    CHECK(child_rect(controls[0]) == Rect{px(120), px(120), px(4575), px(5175)});
    CHECK(wait_text(controls[0], L"x\r\n") == L"x\r\n");
}

TEST_CASE("each file is shown line by line, each line ended by CR LF") {
    Program program;
    const HWND main = program.wait_window(main_class);
    for (const Source& source : sources) {
        CAPTURE(utf8(source.button));
        for (const Fixture& fixture : fixtures) {
            CAPTURE(fixture.what);
            write_file(program.path(source.file), fixture.bytes);
            click(button(main, source.button));
            const HWND label = label_of(program.wait_window(viewer_class));
            CHECK(wait_text(label, fixture.text) == std::wstring(fixture.text));
        }
    }
    CHECK(program.windows(viewer_class).size() == 1);
}

TEST_CASE("every click reads again; the menu comes with Операторы only, and stays") {
    const auto [long_bytes, long_label] = long_text(3000);
    Program program({{L"Описание.txt", "first\r\n"}, {L"операторы.txt", "statements\r\n"}});
    const HWND main = program.wait_window(main_class);

    click(button(main, L"Общие сведения"));
    const HWND label = label_of(program.wait_window(viewer_class));
    CHECK(wait_text(label, L"first\r\n") == L"first\r\n");
    CHECK(program.windows(menu_class).empty());

    write_file(program.path(L"Описание.txt"), long_bytes);
    click(button(main, L"Общие сведения"));
    CHECK(wait_text(label, long_label) == long_label);
    CHECK(program.windows(menu_class).empty());

    click(button(main, L"Операторы"));
    CHECK(wait_text(label, L"statements\r\n") == L"statements\r\n");
    const HWND menu = program.wait_window(menu_class);

    click(button(main, L"Общие сведения"));
    CHECK(wait_text(label, long_label) == long_label);
    CHECK(IsWindowVisible(menu));
    CHECK(program.windows(menu_class).size() == 1);
    CHECK(program.windows(viewer_class).size() == 1);
}

TEST_CASE("the files are read from the program's folder, whatever the current folder") {
    Folder elsewhere;
    write_file(elsewhere / L"операторы.txt", "wrong\r\n");
    write_file(elsewhere / L"Описание.txt", "wrong\r\n");
    Program program({{L"Описание.txt", "about\r\n"}, {L"операторы.txt", "statements\r\n"}},
                    elsewhere.path());
    const HWND main = program.wait_window(main_class);
    click(button(main, L"Операторы"));
    const HWND label = label_of(program.wait_window(viewer_class));
    CHECK(wait_text(label, L"statements\r\n") == L"statements\r\n");
    program.wait_window(menu_class);
    click(button(main, L"Общие сведения"));
    CHECK(wait_text(label, L"about\r\n") == L"about\r\n");
}

TEST_CASE("a file that cannot be opened is reported; the next click after a fix reads it") {
    struct Case {
        std::string_view what;
        std::wstring_view reason;
    };
    const Case missing{"missing", L"файл не найден"};
    const Case folder{"a folder in its place", L"под этим именем находится папка, а не файл"};
    const Case locked{"held open by another program", L"файл занят другой программой"};
    const Case* c = nullptr;
    SUBCASE("missing") { c = &missing; }
    SUBCASE("folder") { c = &folder; }
    SUBCASE("locked") { c = &locked; }
    REQUIRE(c);
    CAPTURE(c->what);

    Program program;
    std::vector<std::unique_ptr<Lock>> locks;
    for (const Source& source : sources) {
        const std::wstring path = program.path(source.file);
        if (c == &folder) make_folder(path);
        if (c == &locked) {
            write_file(path, "busy\r\n");
            locks.push_back(std::make_unique<Lock>(path));
        }
    }
    const HWND main = program.wait_window(main_class);
    for (const Source& source : sources) {
        CAPTURE(utf8(source.button));
        click(button(main, source.button));
        const Box box = program.wait_box();
        CHECK(box.title == L"Лумиса");
        CHECK(box.text == open_error(source.file, program.folder().path(), c->reason));
        CHECK(box.icon == Icon::Error);
        CHECK(box.buttons == std::vector<std::wstring>{L"OK"});
        // The viewer is up before the file is read, and keeps its first text.
        const HWND viewer = program.wait_window(viewer_class);
        CHECK(text(label_of(viewer)) == L"Метка1");
        CHECK(program.windows(menu_class).empty());
        box.press_ok();
        program.expect_running();
        CHECK(text(label_of(viewer)) == L"Метка1");
        CHECK(program.windows(menu_class).empty());
    }

    locks.clear();
    for (const Source& source : sources) {
        remove_path(program.path(source.file));
        write_file(program.path(source.file), source.sample);
    }
    const HWND label = label_of(program.wait_window(viewer_class));
    click(button(main, L"Общие сведения"));
    CHECK(wait_text(label, L"about\r\n") == L"about\r\n");

    // A failed read keeps the text shown before.
    remove_path(program.path(L"Описание.txt"));
    click(button(main, L"Общие сведения"));
    program.wait_box().press_ok();
    CHECK(text(label) == L"about\r\n");

    click(button(main, L"Операторы"));
    CHECK(wait_text(label, L"statements\r\n") == L"statements\r\n");
    program.wait_window(menu_class);
}

TEST_CASE("a 20 MB file is shown whole, in a few seconds") {
    std::string bytes;
    std::wstring expected;
    const std::string line(70, '\xE0');  // "а" times 70
    const std::wstring wide_line = std::wstring(70, L'а') + L"\r\n";
    while (bytes.size() < 20 * 1024 * 1024) {
        bytes += line + "\r\n";
        expected += wide_line;
    }
    Program program({{L"Описание.txt", bytes}});
    click(button(program.wait_window(main_class), L"Общие сведения"));
    const HWND label = label_of(program.wait_window(viewer_class));
    // Quadratic joining of the lines would take minutes.
    program.wait_for([&] { return GetWindowTextLengthW(label) == static_cast<int>(expected.size()); },
                     "the whole text in the label", 15s);
    CHECK(text(label) == expected);
}

TEST_CASE("closing the viewer while a file is missing, then clicking again") {
    Program program;
    const HWND main = program.wait_window(main_class);
    for (int attempt = 0; attempt < 2; ++attempt) {
        CAPTURE(attempt);
        click(button(main, L"Общие сведения"));
        const Box box = program.wait_box();
        CHECK(box.icon == Icon::Error);
        CHECK(box.text == open_error(L"Описание.txt", program.folder().path(), L"файл не найден"));
        box.press_ok();
        const HWND viewer = program.wait_window(viewer_class);
        CHECK(text(label_of(viewer)) == L"Метка1");
        close(viewer);
        wait_gone(viewer);
        program.expect_running();
    }
    CHECK(program.windows(main_class).size() == 1);
}

TEST_CASE("after the user closes the viewer the next click builds it again") {
    Program program({{L"Описание.txt", "before\r\n"}});
    const HWND main = program.wait_window(main_class);
    click(button(main, L"Общие сведения"));
    const HWND viewer = program.wait_window(viewer_class);
    CHECK(wait_text(label_of(viewer), L"before\r\n") == L"before\r\n");
    close(viewer);
    wait_gone(viewer);
    CHECK(program.windows(viewer_class).empty());
    program.expect_running();

    write_file(program.path(L"Описание.txt"), "after\r\n");
    click(button(main, L"Общие сведения"));
    const HWND rebuilt = program.wait_window(viewer_class);
    CHECK(wait_text(label_of(rebuilt), L"after\r\n") == L"after\r\n");
    CHECK(text(rebuilt) == L"Кварнедо");
    CHECK(client(rebuilt) == Rect{px(825), px(3420), px(4740), px(5115)});
    CHECK(program.windows(viewer_class).size() == 1);
}

}  // TEST_SUITE
