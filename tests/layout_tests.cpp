// Each window built in-process from its layout, measured at 96 dpi.
#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "windows/branching_window.h"
#include "windows/files_window.h"
#include "windows/graphics_window.h"
#include "windows/io_window.h"
#include "windows/loops_window.h"
#include "windows/main_window.h"
#include "windows/statement_menu.h"
#include "windows/text_viewer.h"

namespace {

struct Box {
    int left, top, width, height;
    bool operator==(const Box&) const = default;
};

std::string show(const Box& b) {
    return std::to_string(b.left) + "," + std::to_string(b.top) + " " + std::to_string(b.width) + "x" +
           std::to_string(b.height);
}

std::wstring text_of(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return text;
}

std::wstring class_of(HWND window) {
    wchar_t name[64];
    return std::wstring(name, GetClassNameW(window, name, 64));
}

Box client_on_screen(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    POINT corner{0, 0};
    ClientToScreen(window, &corner);
    return {corner.x, corner.y, r.right, r.bottom};
}

Box child_box(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

struct Expected {
    std::wstring_view class_name, caption;
    Box client;  // left, top are -1 where the system places the window
    bool sizable, boxes;
    std::vector<std::pair<std::wstring_view, Box>> controls;  // in tab order
};

void check_window(rt::Form& form, const Expected& expected) {
    form.show();
    const HWND window = form.handle();
    REQUIRE(window);
    CHECK(class_of(window) == expected.class_name);
    CHECK(text_of(window) == expected.caption);
    CHECK(GetParent(window) == nullptr);
    CHECK(GetWindow(window, GW_OWNER) == nullptr);

    const auto style = GetWindowLongW(window, GWL_STYLE);
    CHECK(bool(style & WS_THICKFRAME) == expected.sizable);
    CHECK(bool(style & WS_MAXIMIZEBOX) == expected.boxes);
    CHECK(bool(style & WS_MINIMIZEBOX) == expected.boxes);
    CHECK(bool(style & WS_SYSMENU));

    if (IsZoomed(window)) ShowWindow(window, SW_RESTORE);
    Box client = client_on_screen(window);
    if (expected.client.left < 0) client.left = client.top = -1;
    INFO("client ", show(client));
    CHECK(client == expected.client);

    std::vector<HWND> children;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    REQUIRE(children.size() == expected.controls.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const auto& [caption, box] = expected.controls[i];
        CAPTURE(i);
        CHECK(text_of(children[i]) == caption);
        const Box got = child_box(window, children[i]);
        INFO("control ", show(got));
        CHECK(got == box);
        const bool label = class_of(children[i]) == L"Static";
        CHECK(bool(GetWindowLongW(children[i], GWL_STYLE) & WS_TABSTOP) == !label);
    }
}

constexpr Box placed_by_system{-1, -1, 0, 0};
Box sized(Box b, int width, int height) { return {b.left, b.top, width, height}; }

}  // namespace

TEST_SUITE("layouts") {
    TEST_CASE("every window has the size, place, frame and controls of its layout") {
        SUBCASE("main window") {
            auto& w = rt::instance<с>();
            w.show();
            CHECK(IsZoomed(w.handle()));
            check_window(w, {L"с", L"Zazud Rared", {125, 22, 715, 471}, false, false,
                             {{L"Операторы", {288, 88, 105, 145}},
                              {L"Общие сведения", {416, 88, 105, 145}},
                              {L"разработчик", {48, 16, 89, 33}},
                              {L"End", {48, 72, 81, 25}}}});
        }
        SUBCASE("text viewer") {
            check_window(rt::instance<тс>(),
                         {L"тс", L"Кварнедо", {55, 228, 316, 341}, false, false, {{L"Метка1", {8, 8, 305, 345}}}});
        }
        SUBCASE("statement menu") {
            check_window(rt::instance<nc>(), {L"nc", L"Zazud Rared", {456, 57, 254, 213}, true, true,
                                              {{L"Операторы ввода вывода", {24, 8, 89, 49}},
                                               {L"Графические операторы", {144, 8, 89, 49}},
                                               {L"Алфавит языка Бейсик", {24, 72, 89, 49}},
                                               {L"Команды ветвления ", {144, 72, 89, 49}},
                                               {L"Команды повторения", {24, 136, 89, 49}},
                                               {L"Работа с файлами", {144, 136, 89, 49}}}});
        }
        SUBCASE("input/output window") {
            check_window(rt::instance<овв>(), {L"овв", L"Операторы ввода вывода", sized(placed_by_system, 126, 133),
                                               true, true,
                                               {{L"input", {16, 24, 81, 33}}, {L"print", {16, 80, 81, 33}}}});
        }
        SUBCASE("graphics window") {
            check_window(rt::instance<uhfa>(), {L"uhfa", L"графические операторы", {595, 314, 219, 213}, true, true,
                                                {{L"cls", {24, 24, 81, 33}},
                                                 {L"color", {24, 72, 81, 33}},
                                                 {L"circle", {24, 120, 81, 33}},
                                                 {L"line", {24, 168, 81, 33}},
                                                 {L"preset", {120, 24, 73, 33}},
                                                 {L"pset", {120, 72, 73, 33}},
                                                 {L"draw", {120, 120, 73, 33}},
                                                 {L"paint", {120, 168, 73, 33}}}});
        }
        SUBCASE("files window, narrower than the system's minimum") {
            check_window(rt::instance<рабсфай>(), {L"рабсфай", L"Работа с файлами", sized(placed_by_system, 104, 107),
                                                   true, true,
                                                   {{L"open", {8, 16, 73, 33}}, {L"close", {8, 64, 73, 33}}}});
        }
        SUBCASE("branching window") {
            check_window(rt::instance<комветвл>(), {L"комветвл", L"ветвления", sized(placed_by_system, 107, 81), true,
                                                    true, {{L"if,then,else", {16, 8, 73, 41}}}});
        }
        SUBCASE("loops window") {
            check_window(rt::instance<комповт>(), {L"комповт", L"команды повторения", sized(placed_by_system, 118, 213),
                                                   true, true,
                                                   {{L"For...Next", {16, 16, 81, 41}},
                                                    {L"While...Wend", {16, 72, 81, 41}},
                                                    {L"Do...Loop", {16, 128, 81, 41}}}});
        }
    }

    TEST_CASE("a closed window is built again from its layout on the next show") {
        auto& viewer = rt::instance<тс>();
        viewer.show();
        viewer.set_text(L"www", L"новый текст\r\n");
        const HWND label = GetWindow(viewer.handle(), GW_CHILD);
        CHECK(text_of(label) == L"новый текст\r\n");

        DestroyWindow(viewer.handle());
        CHECK(viewer.handle() == nullptr);
        CHECK(&rt::instance<тс>() == &viewer);  // the reference is never emptied

        viewer.show();
        REQUIRE(viewer.handle());
        CHECK(IsWindowVisible(viewer.handle()));
        CHECK(text_of(GetWindow(viewer.handle(), GW_CHILD)) == L"Метка1");
    }

    TEST_CASE("showing a window that is on screen keeps its one instance") {
        auto& menu = rt::instance<nc>();
        menu.show();
        const HWND first = menu.handle();
        menu.show();
        CHECK(menu.handle() == first);
        CHECK(FindWindowExW(nullptr, first, L"nc", nullptr) == nullptr);
    }
}
