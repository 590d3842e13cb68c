// The statement notes of the topic windows.
#include <map>

#include "driver.h"
#include "notes_table.h"

using namespace drive;

namespace {

}  // namespace

TEST_SUITE("notes") {

TEST_CASE("each statement button shows its note; the window stays and is enabled after") {
    Program program(statements);
    const HWND menu = open_menu(program);
    std::map<std::wstring_view, HWND> windows;
    for (const Note& note : notes) {
        CAPTURE(utf8(note.statement));
        HWND& window = windows[note.window];
        if (!window) {
            click(button(menu, note.topic));
            window = program.wait_window(note.window);
        }
        for (int round = 0; round < (note.twice ? 2 : 1); ++round) {
            CAPTURE(round);
            click(button(window, note.statement));
            const Box box = program.wait_box();
            CHECK(box.title == std::wstring(note.title));
            CHECK(box.text == std::wstring(note.text));
            CHECK(box.icon == Icon::Information);
            CHECK(box.buttons == std::vector<std::wstring>{L"OK"});
            CHECK_FALSE(enabled(window));
            box.press_ok();
            program.wait_for([&] { return enabled(window); }, "the window enabled again");
            CHECK(IsWindowVisible(window));
            CHECK(program.windows(note.window) == std::vector<HWND>{window});
        }
    }
    program.expect_running();
}

TEST_CASE("a message box disables every window of the program while it is up") {
    Program program(statements);
    const HWND main = program.wait_window(main_class);
    const HWND menu = open_menu(program);
    click(button(menu, L"Графические операторы"));
    const HWND graphics = program.wait_window(L"uhfa");
    const HWND all[]{main, program.wait_window(viewer_class), menu, graphics};
    for (HWND window : all) REQUIRE(enabled(window));

    SUBCASE("a note") { click(button(graphics, L"circle")); }
    SUBCASE("the developer box") { click(button(main, L"разработчик")); }
    const Box box = program.wait_box();
    for (HWND window : all) {
        CAPTURE(utf8(class_name(window)));
        CHECK_FALSE(enabled(window));
    }
    box.press_ok();
    for (HWND window : all) {
        CAPTURE(utf8(class_name(window)));
        program.wait_for([&] { return enabled(window); }, "the window enabled again");
    }
}

}  // TEST_SUITE
