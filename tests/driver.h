#pragma once
// Drives the built program from outside, as a user would: stages its folder,
// starts it, finds its windows, presses buttons, reads message boxes and pixels.
// Every wait has a deadline and fails the test with what it waited for.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include <doctest/doctest.h>

#include "utf8.h"

namespace drive {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;
inline constexpr Duration default_timeout = 5s;
// How long a query sent to the program may wait for its answer; no answer fails the test.
inline constexpr Duration answer_timeout = 5s;

using ::utf8;

// Twips to pixels at the screen's dpi.
int px(int twips);

// A rectangle as left, top, width, height.
struct Rect {
    int left, top, width, height;
    bool operator==(const Rect&) const = default;
};

// ---- folders and files -----------------------------------------------------

// A fresh folder under the temporary folder, removed with all it holds.
class Folder {
public:
    Folder();
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(std::wstring_view name) const;

private:
    std::wstring path_;
};

// Writes raw bytes (Windows-1251 text is given as such), making missing folders.
void write_file(const std::wstring& path, std::string_view bytes);
// Removes a file or a folder with everything in it; no error if absent.
void remove_path(const std::wstring& path);
void make_folder(const std::wstring& path);

// Holds a file open with no sharing, so that nobody else can open it.
class Lock {
public:
    explicit Lock(const std::wstring& path);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    HANDLE handle_;
};

// ---- windows -----------------------------------------------------------------

std::wstring class_name(HWND window);
// The caption of a window or the text of a control, whole, as the program answers it.
std::wstring text(HWND window);
DWORD style(HWND window);
// Whether the window takes input; fails if it is gone.
bool enabled(HWND window);
// The client area: its screen position and size.
Rect client(HWND window);
// A child's window rectangle relative to its parent's client area.
Rect child_rect(HWND child);
// Direct children, in z-order (which is creation order for the program's controls).
std::vector<HWND> children(HWND window);
// The one child button with exactly this caption; fails if none or several.
HWND button(HWND window, std::wstring_view caption);
// Clicks a button like the mouse does.
void click(HWND button);
// Presses and releases a key in the window that has the keyboard focus.
void press_key(HWND focus, WPARAM key);
// Whether top-level window a is above b.
bool above(HWND a, HWND b);
// Asks a window to close, as the system menu does.
void close(HWND window);
void wait_gone(HWND window, Duration timeout = default_timeout);
// Waits until the text of the window is expected; returns the last text seen.
// A text is set in a few milliseconds: a short deadline keeps failing tables quick.
std::wstring wait_text(HWND window, std::wstring_view expected, Duration timeout = 2s);

// Client pixels of a top-level window, as on screen.
class Image {
public:
    Image(int width, int height) : width_(width), height_(height), bits_(width * height) {}
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF at(int x, int y) const;
    std::uint32_t* bits() { return bits_.data(); }
    bool operator==(const Image&) const = default;

private:
    int width_, height_;
    std::vector<std::uint32_t> bits_;  // top-down BGRA
};
// area is in the client coordinates of the top-level window.
Image capture(HWND top, const Rect& area);
Image capture(HWND top);
Image load_bitmap(const wchar_t* path);
bool close_to(COLORREF a, COLORREF b, int tolerance = 8);
std::string describe(COLORREF colour);

// ---- message boxes ---------------------------------------------------------

enum class Icon { None, Information, Error, Other };

struct Box {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;
    std::vector<std::wstring> buttons;  // captions, in order
    Icon icon = Icon::None;

    // Presses OK and waits until the box is gone.
    void press_ok() const;
};

// ---- the program -----------------------------------------------------------

// The program started from a staged copy of the build in a fresh folder.
// Destroying it ends the process and removes the folder.
class Program {
public:
    using Files = std::vector<std::pair<std::wstring, std::string>>;

    // files: names in the program's folder and their bytes. Without current_directory
    // the program starts in its own folder.
    explicit Program(const Files& files = {}, const std::wstring& current_directory = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const Folder& folder() const { return folder_; }
    std::wstring path(std::wstring_view name) const { return folder_ / name; }

    HANDLE handle() const { return process_.hProcess; }
    bool running() const;
    // Waits for the process to end; returns its exit code.
    DWORD wait_exit(Duration timeout = default_timeout) const;
    // Fails unless the process goes on: one of its windows is repainted, which a program
    // told to quit never does (it takes WM_QUIT before any WM_PAINT).
    void expect_running() const;

    // All top-level windows of the process; of one class (compared exactly).
    std::vector<HWND> windows() const;
    std::vector<HWND> windows(std::wstring_view class_name) const;
    // Waits for a visible top-level window of this class.
    HWND wait_window(std::wstring_view class_name, Duration timeout = default_timeout) const;
    // Waits for a message box of the process and reads it once it is drawn.
    Box wait_box(Duration timeout = default_timeout) const;
    std::vector<HWND> boxes() const;
    // The control with the keyboard focus in the program's thread.
    HWND focus() const;
    // Captures the client area of a top-level window until two captures in a row are the same
    // and missing(image) is empty; on the deadline fails with what missing last said.
    Image wait_drawn(HWND top, const std::function<std::string(const Image&)>& missing,
                     Duration timeout = default_timeout) const;

    // Polls probe until it gives a true value; fails on the deadline or if the program ends.
    // what names the awaited state: a text, or a function giving it at the time of failure.
    template <class Probe, class What>
    auto wait_for(Probe&& probe, const What& what, Duration timeout = default_timeout) const
        -> decltype(probe());

private:
    [[noreturn]] void fail_waiting(std::string_view what) const;

    Folder folder_;
    PROCESS_INFORMATION process_{};
};

template <class Probe, class What>
auto Program::wait_for(Probe&& probe, const What& what, Duration timeout) const
    -> decltype(probe()) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (auto result = probe()) return result;
        if (!running() || std::chrono::steady_clock::now() > deadline) {
            if constexpr (std::is_invocable_v<const What&>) fail_waiting(what());
            else fail_waiting(what);
        }
        Sleep(2);
    }
}

// A program folder with a statements file, for the tests that need the menu.
inline const Program::Files statements{{L"операторы.txt", "x\r\n"}};
// Clicks "Операторы" and waits for the statement menu.
HWND open_menu(const Program& program);

// Classes of the windows most tests look for.
inline constexpr std::wstring_view main_class = L"с";
inline constexpr std::wstring_view viewer_class = L"тс";
inline constexpr std::wstring_view menu_class = L"nc";

}  // namespace drive

namespace doctest {
template <>
struct StringMaker<std::wstring> {
    static String convert(const std::wstring& text);
};
template <std::size_t N>
struct StringMaker<wchar_t[N]> {
    static String convert(const wchar_t* text) { return StringMaker<std::wstring>::convert(text); }
};
template <std::size_t N>
struct StringMaker<const wchar_t[N]> : StringMaker<wchar_t[N]> {};
template <>
struct StringMaker<drive::Rect> {
    static String convert(const drive::Rect& rect);
};
template <>
struct StringMaker<drive::Icon> {
    static String convert(drive::Icon icon);
};
template <>
struct StringMaker<std::vector<std::wstring>> {
    static String convert(const std::vector<std::wstring>& texts);
};
}  // namespace doctest
