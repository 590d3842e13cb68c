// The statement menu and the five topic windows it opens.
#include "driver.h"

using namespace drive;

namespace {

struct Topic {
    std::wstring_view button;  // on the menu
    std::wstring_view class_name;
    std::wstring_view caption;
    Rect client;  // twips
    bool stored;  // else the system places it and only the size counts
    std::vector<std::wstring_view> buttons;
};

const Topic topics[]{
    {L"Операторы ввода вывода", L"овв", L"Операторы ввода вывода", {60, 345, 1890, 1995}, false,
     {L"input", L"print"}},
    {L"Графические операторы", L"uhfa", L"графические операторы", {8925, 4710, 3285, 3195}, true,
     {L"cls", L"color", L"circle", L"line", L"preset", L"pset", L"draw", L"paint"}},
    {L"Команды ветвления ", L"комветвл", L"ветвления", {60, 345, 1605, 1215}, false,
     {L"if,then,else"}},
    {L"Команды повторения", L"комповт", L"команды повторения", {60, 345, 1770, 3195}, false,
     {L"For...Next", L"While...Wend", L"Do...Loop"}},
    {L"Работа с файлами", L"рабсфай", L"Работа с файлами", {60, 345, 1560, 1605}, false,
     {L"open", L"close"}},
};

struct MenuButton {
    std::wstring_view caption;
    int left, top;  // twips; all are 1335 x 735
};

constexpr MenuButton menu_buttons[]{
    {L"Операторы ввода вывода", 360, 120}, {L"Графические операторы", 2160, 120},
    {L"Алфавит языка Бейсик", 360, 1080},  {L"Команды ветвления ", 2160, 1080},
    {L"Команды повторения", 360, 2040},    {L"Работа с файлами", 2160, 2040},
};

constexpr DWORD sizable = WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX;

void check_topic_window(HWND window, const Topic& topic) {
    CHECK(class_name(window) == std::wstring(topic.class_name));
    CHECK(text(window) == std::wstring(topic.caption));
    const Rect area = client(window);
    const Rect expected{px(topic.client.left), px(topic.client.top), px(topic.client.width),
                        px(topic.client.height)};
    CHECK(area.width == expected.width);
    CHECK(area.height == expected.height);
    if (topic.stored) CHECK(area == expected);
    CHECK((style(window) & sizable) == sizable);
    CHECK_FALSE(IsZoomed(window));
    CHECK(GetWindow(window, GW_OWNER) == nullptr);
    std::vector<std::wstring> captions, expected_captions;
    for (HWND child : children(window)) captions.push_back(text(child));
    for (auto caption : topic.buttons) expected_captions.emplace_back(caption);
    CHECK(captions == expected_captions);
}

}  // namespace

TEST_SUITE("navigation") {

TEST_CASE("the menu: caption, place, sizable border, six buttons in tab order") {
    Program program(statements);
    const HWND menu = open_menu(program);
    CHECK(text(menu) == L"Zazud Rared");
    CHECK(client(menu) == Rect{px(6840), px(855), px(3810), px(3195)});
    CHECK((style(menu) & sizable) == sizable);
    CHECK(GetWindow(menu, GW_OWNER) == nullptr);
    const auto controls = children(menu);
    REQUIRE(controls.size() == std::size(menu_buttons));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const MenuButton& b = menu_buttons[i];
        CAPTURE(utf8(b.caption));
        CHECK(class_name(controls[i]) == L"Button");
        CHECK(text(controls[i]) == std::wstring(b.caption));
        CHECK(GetDlgCtrlID(controls[i]) == static_cast<int>(100 + i));
        CHECK((style(controls[i]) & WS_TABSTOP) != 0);
        CHECK(child_rect(controls[i]) == Rect{px(b.left), px(b.top), px(1335), px(735)});
    }
}

TEST_CASE("each menu button opens its window, once, and all stay open together") {
    Program program(statements);
    const HWND menu = open_menu(program);
    std::vector<HWND> opened;
    for (const Topic& topic : topics) {
        CAPTURE(utf8(topic.class_name));
        CHECK(program.windows(topic.class_name).empty());
        click(button(menu, topic.button));
        opened.push_back(program.wait_window(topic.class_name));
        check_topic_window(opened.back(), topic);
    }
    // Another click brings the same window above the others, never a second one.
    for (std::size_t i = 0; i < std::size(topics); ++i) {
        CAPTURE(utf8(topics[i].class_name));
        click(button(menu, topics[i].button));
        program.wait_for(
            [&] {
                for (HWND other : opened)
                    if (other != opened[i] && !above(opened[i], other)) return false;
                return true;
            },
            "the window to come above the other topic windows");
        for (std::size_t j = 0; j < std::size(topics); ++j)
            CHECK(program.windows(topics[j].class_name) == std::vector<HWND>{opened[j]});
    }
    opened.push_back(menu);
    opened.push_back(program.wait_window(main_class));
    opened.push_back(program.wait_window(viewer_class));
    for (HWND window : opened) {
        CAPTURE(utf8(class_name(window)));
        CHECK(IsWindowVisible(window));
    }
}

TEST_CASE("after the user closes a topic window the next click builds it again") {
    Program program(statements);
    const HWND menu = open_menu(program);
    for (const Topic& topic : topics) {
        CAPTURE(utf8(topic.class_name));
        click(button(menu, topic.button));
        const HWND window = program.wait_window(topic.class_name);
        close(window);
        wait_gone(window);
        CHECK(program.windows(topic.class_name).empty());
        click(button(menu, topic.button));
        const HWND rebuilt = program.wait_window(topic.class_name);
        check_topic_window(rebuilt, topic);
        CHECK(program.windows(topic.class_name).size() == 1);
    }
    program.expect_running();
}

}  // TEST_SUITE
