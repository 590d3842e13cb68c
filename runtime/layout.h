#pragma once
// A window's layout: constant data from which the window is built.
#include <cstddef>
#include <span>
#include <string_view>

namespace rt {

using Twips = int;  // 1/1440 inch

// pixels = twips * dpi / 1440, rounded to the nearest pixel
constexpr int to_pixels(Twips twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

struct Rect {
    Twips left, top, width, height;
};

enum class Kind { Button, Label };
enum class Border { FixedSingle, Sizable };
enum class State { Normal, Maximized };
enum class Placement { Stored, Default };

struct Control {
    std::wstring_view name;
    Kind kind;
    std::wstring_view caption;
    Rect rect;
    int tab_index;
};

struct Layout {
    std::wstring_view class_name;
    std::wstring_view caption;
    Rect client;  // left, top: screen position of the client area
    Border border;
    bool max_box, min_box;
    State state;
    Placement placement;
    const unsigned char* picture;  // a whole .bmp file, or nullptr
    std::span<const Control> controls;  // in tab order
};

// Tab indexes run 0, 1, 2... in the order the controls are listed.
constexpr bool in_tab_order(std::span<const Control> controls) {
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].tab_index != static_cast<int>(i)) return false;
    return true;
}

}  // namespace rt
