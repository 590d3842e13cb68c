// The statement notes of the topic windows.
#include <map>

#include "driver.h"

using namespace drive;

namespace {

struct Note {
    std::wstring_view topic;      // the menu button that opens the window
    std::wstring_view window;     // its class
    std::wstring_view statement;  // the button in it
    std::wstring_view title, text;
    bool twice = false;           // also check that a second click shows it again
};

constexpr Note notes[]{
    {L"Графические операторы", L"uhfa", L"cls", L"Cls", L"cls очистка экрана", true},
    {L"Графические операторы", L"uhfa", L"color", L"color", L"color выбор цвета"},
    {L"Графические операторы", L"uhfa", L"circle", L"circle", L"circle вычерчивание окружностей"},
    {L"Графические операторы", L"uhfa", L"line", L"line", L"line вычерчивание линий"},
    {L"Графические операторы", L"uhfa", L"preset", L"preset", L"preset рисование точки"},
    {L"Графические операторы", L"uhfa", L"pset", L"pset", L" pset рисование точки"},
    {L"Графические операторы", L"uhfa", L"draw", L"draw", L"draw вычерчивание фигур"},
    {L"Графические операторы", L"uhfa", L"paint", L"paint", L"paint заливка области рисунка"},
    {L"Операторы ввода вывода", L"овв", L"input", L"input", L"input вводит данные с клавиатуры"},
    {L"Операторы ввода вывода", L"овв", L"print", L"print", L"print для вывода данных на экран"},
    {L"Работа с файлами", L"рабсфай", L"open", L"open", L"open открытие файла"},
    {L"Работа с файлами", L"рабсфай", L"close", L"close", L"close закрытие файла"},
    {L"Команды ветвления ", L"комветвл", L"if,then,else", L" if...then...else ",
     L"if...then...else обычно используются, когда проверяются 1 или 2 условия в программе", true},
    {L"Команды повторения", L"комповт", L"For...Next", L"For...Next",
     L"for...next это цикл с заранее заданным числом повторений"},
    {L"Команды повторения", L"комповт", L"While...Wend", L"while...wend",
     L"while...wend-операторы цикла"},
    {L"Команды повторения", L"комповт", L"Do...Loop", L"do...loop", L"do...loop операторы цикла"},
};

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
            CHECK_FALSE(IsWindowEnabled(window));
            box.press_ok();
            program.wait_for([&] { return IsWindowEnabled(window); }, "the window enabled again");
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
    for (HWND window : all) REQUIRE(IsWindowEnabled(window));

    SUBCASE("a note") { click(button(graphics, L"circle")); }
    SUBCASE("the developer box") { click(button(main, L"разработчик")); }
    const Box box = program.wait_box();
    for (HWND window : all) {
        CAPTURE(utf8(class_name(window)));
        CHECK_FALSE(IsWindowEnabled(window));
    }
    box.press_ok();
    for (HWND window : all) {
        CAPTURE(utf8(class_name(window)));
        program.wait_for([&] { return IsWindowEnabled(window); }, "the window enabled again");
    }
}

}  // TEST_SUITE
