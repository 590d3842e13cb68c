// The main window: start-up state, its buttons, the picture, the developer box, ending.
#include "driver.h"
#include "test_paths.h"

using namespace drive;

namespace {

constexpr std::wstring_view all_classes[]{L"с",    L"тс",      L"nc",       L"овв",
                                          L"uhfa", L"рабсфай", L"комветвл", L"комповт"};

struct ButtonRow {
    std::wstring_view caption;
    Rect twips;
};

constexpr ButtonRow main_buttons[]{
    {L"Операторы", {4320, 1320, 1575, 2175}},
    {L"Общие сведения", {6240, 1320, 1575, 2175}},
    {L"разработчик", {720, 240, 1335, 495}},
    {L"End", {720, 1080, 1215, 375}},
};

Rect pixels(const Rect& twips) {
    return {px(twips.left), px(twips.top), px(twips.width), px(twips.height)};
}

const Program::Files texts{{L"Описание.txt", "a\r\n"}, {L"операторы.txt", "b\r\n"}};

}  // namespace

TEST_SUITE("main_window") {

TEST_CASE("at start only the main window is there, maximized") {
    Program program;
    const HWND main = program.wait_window(main_class);
    for (auto name : all_classes) {
        CAPTURE(utf8(name));
        CHECK(program.windows(name).size() == (name == main_class ? 1u : 0u));
    }
    std::vector<HWND> visible;
    for (HWND window : program.windows())
        if (IsWindowVisible(window)) visible.push_back(window);
    CHECK(visible == std::vector<HWND>{main});

    CHECK(text(main) == L"Zazud Rared");
    CHECK(IsZoomed(main));
    CHECK(GetWindow(main, GW_OWNER) == nullptr);
    const DWORD s = style(main);
    CHECK((s & WS_CAPTION) == WS_CAPTION);
    CHECK((s & WS_THICKFRAME) == 0);
    CHECK((s & WS_MAXIMIZEBOX) == 0);
    CHECK((s & WS_MINIMIZEBOX) == 0);
}

TEST_CASE("the four buttons, in tab order, where the layout puts them") {
    Program program;
    const HWND main = program.wait_window(main_class);
    const auto controls = children(main);
    REQUIRE(controls.size() == std::size(main_buttons));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ButtonRow& row = main_buttons[i];
        CAPTURE(utf8(row.caption));
        CHECK(class_name(controls[i]) == L"Button");
        CHECK(text(controls[i]) == std::wstring(row.caption));
        CHECK(GetDlgCtrlID(controls[i]) == static_cast<int>(100 + i));
        CHECK((style(controls[i]) & WS_TABSTOP) != 0);
        CHECK(child_rect(controls[i]) == pixels(row.twips));
    }
}

TEST_CASE("the focus starts on Операторы and Tab goes round the buttons") {
    Program program;
    const HWND main = program.wait_window(main_class);
    const HWND first = button(main, L"Операторы");
    program.wait_for([&] { return program.focus() == first; }, "the focus on Операторы");
    for (auto next : {L"Общие сведения", L"разработчик", L"End", L"Операторы"}) {
        CAPTURE(utf8(next));
        const HWND expected = button(main, next);
        press_key(program.focus(), VK_TAB);
        program.wait_for([&] { return program.focus() == expected; }, "the focus to move");
    }
}

TEST_CASE("the picture at the top-left, unscaled, under the buttons") {
    Program program;
    const HWND main = program.wait_window(main_class);
    const COLORREF green = RGB(202, 230, 119), white = RGB(255, 255, 255);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const Image picture = load_bitmap(BACKGROUND_BMP);
    REQUIRE(picture.width() == 800);
    REQUIRE(picture.height() == 600);

    std::vector<Rect> buttons;
    for (const ButtonRow& row : main_buttons) buttons.push_back(pixels(row.twips));
    // The share of a button's inside, within its border, that shows its face colour.
    const auto face_share = [&](const Image& image, const Rect& r) {
        int faces = 0, all = 0;
        for (int y = r.top + 4; y < r.top + r.height - 4; ++y)
            for (int x = r.left + 4; x < r.left + r.width - 4; ++x, ++all)
                faces += image.at(x, y) == face;
        return static_cast<double>(faces) / all;
    };
    // The window is drawn in pieces (background, then each button): wait for all of them.
    const Image screen = program.wait_drawn(main, [&](const Image& image) -> std::string {
        if (image.width() <= 820 || image.height() <= 620)
            return "client " + std::to_string(image.width()) + "x" + std::to_string(image.height());
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{799, 0}, std::pair{0, 599}, std::pair{799, 599}})
            if (!close_to(image.at(x, y), picture.at(x, y), 2))
                return "picture at " + std::to_string(x) + "," + std::to_string(y) + " " +
                       describe(image.at(x, y));
        for (const auto& [x, y] : {std::pair{800, 0}, std::pair{0, 600}, std::pair{image.width() - 1, image.height() - 1}})
            if (image.at(x, y) != face)
                return "background at " + std::to_string(x) + "," + std::to_string(y) + " " +
                       describe(image.at(x, y));
        for (const Rect& r : buttons)
            if (face_share(image, r) < 0.5)
                return "button at " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                       describe(image.at(r.left + r.width / 2, r.top + 4));
        return {};
    });

    struct Sample {
        int x, y;
        COLORREF colour;
    };
    for (const Sample& s : {Sample{0, 0, green}, Sample{5, 590, white}, Sample{700, 10, white}}) {
        CAPTURE(s.x);
        CAPTURE(s.y);
        CHECK_MESSAGE(close_to(screen.at(s.x, s.y), s.colour), describe(screen.at(s.x, s.y)));
    }
    int red = 0;
    for (int y = 28; y <= 75; ++y)
        for (int x = 231; x <= 551; ++x) red += close_to(screen.at(x, y), RGB(222, 15, 15), 24);
    CHECK(red > 100);

    const auto on_button = [&](int x, int y) {
        for (const Rect& r : buttons)
            if (x >= r.left && y >= r.top && x < r.left + r.width && y < r.top + r.height)
                return true;
        return false;
    };
    // Pixel for pixel the file's picture, beyond it the window's background.
    int wrong_picture = 0, wrong_background = 0;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            if (on_button(x, y)) continue;
            if (x < 800 && y < 600)
                wrong_picture += !close_to(screen.at(x, y), picture.at(x, y), 2);
            else
                wrong_background += screen.at(x, y) != face;
        }
    CHECK(wrong_picture == 0);
    CHECK(wrong_background == 0);

    // Each button covers the picture: inside its border its face shows, but for the caption.
    for (const Rect& r : buttons) {
        CAPTURE(r);
        CHECK(face_share(screen, r) > 0.8);
    }
}

TEST_CASE("разработчик shows the developer box, which disables the window while up") {
    Program program;
    const HWND main = program.wait_window(main_class);
    for (int round = 0; round < 2; ++round) {
        CAPTURE(round);
        click(button(main, L"разработчик"));
        const Box box = program.wait_box();
        CHECK(box.title == L"Разработчик");
        CHECK(box.text == L"Зумбарет");
        CHECK(box.icon == Icon::Information);
        CHECK(box.buttons == std::vector<std::wstring>{L"OK"});
        CHECK(GetWindow(box.window, GW_OWNER) == nullptr);
        CHECK_FALSE(enabled(main));
        box.press_ok();
        program.wait_for([&] { return enabled(main); }, "the main window enabled again");
        CHECK(program.boxes().empty());
    }
    program.expect_running();
}

TEST_CASE("End ends the program with code 0") {
    Program program;
    click(button(program.wait_window(main_class), L"End"));
    CHECK(program.wait_exit() == 0);
}

TEST_CASE("End ends the program with its other windows open") {
    Program program(texts);
    const HWND main = program.wait_window(main_class);
    click(button(main, L"Операторы"));
    program.wait_window(menu_class);
    click(button(main, L"End"));
    CHECK(program.wait_exit() == 0);
}

TEST_CASE("closing the main window alone ends the program") {
    Program program;
    close(program.wait_window(main_class));
    CHECK(program.wait_exit() == 0);
}

TEST_CASE("the program runs until its last window is closed") {
    Program program(texts);
    const HWND main = program.wait_window(main_class);
    SUBCASE("the viewer open") {
        click(button(main, L"Общие сведения"));
        const HWND viewer = program.wait_window(viewer_class);
        close(main);
        wait_gone(main);
        program.expect_running();
        CHECK(IsWindowVisible(viewer));
        close(viewer);
    }
    SUBCASE("the viewer and the menu open") {
        click(button(main, L"Операторы"));
        const HWND menu = program.wait_window(menu_class);
        const HWND viewer = program.wait_window(viewer_class);
        close(main);
        wait_gone(main);
        close(viewer);
        wait_gone(viewer);
        program.expect_running();
        close(menu);
    }
    CHECK(program.wait_exit() == 0);
}

}  // TEST_SUITE
