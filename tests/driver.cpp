#include "driver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "test_paths.h"

namespace drive {

namespace {

using Clock = std::chrono::steady_clock;

std::wstring last_error_text() {
    return L"error " + std::to_wstring(GetLastError());
}

bool poll(auto&& probe, Duration timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (probe()) return true;
        if (Clock::now() > deadline) return false;
        Sleep(2);
    }
}

void remove_once(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") remove_once(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

bool gone(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int px(int twips) {
    static const int dpi = [] {
        const HDC screen = GetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return value;
    }();
    return MulDiv(twips, dpi, 1440);
}

// ---- folders and files -----------------------------------------------------

Folder::Folder() {
    wchar_t temp[MAX_PATH + 1];
    REQUIRE(GetTempPathW(MAX_PATH + 1, temp) != 0);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(temp) + L"kvarnedo-e2e-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            FAIL("cannot make the folder " << utf8(path_) << ": " << utf8(last_error_text()));
    }
}

Folder::~Folder() { remove_path(path_); }

std::wstring Folder::operator/(std::wstring_view name) const {
    return path_ + L"\\" + std::wstring(name);
}

void make_folder(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3); ; at = path.find(L'\\', at + 1)) {
        const std::wstring part = path.substr(0, at);
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            FAIL("cannot make the folder " << utf8(part) << ": " << utf8(last_error_text()));
        if (at == std::wstring::npos) return;
    }
}

void write_file(const std::wstring& path, std::string_view bytes) {
    make_folder(path.substr(0, path.find_last_of(L'\\')));
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        FAIL("cannot write " << utf8(path) << ": " << utf8(last_error_text()));
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    REQUIRE_MESSAGE((ok && written == bytes.size()), "cannot write " << utf8(path));
}

void remove_path(const std::wstring& path) {
    // Right after a process ends its files may stay busy for a moment.
    if (!poll([&] { remove_once(path); return gone(path); }, 2s))
        MESSAGE("could not remove " << utf8(path));
}

Lock::Lock(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    REQUIRE_MESSAGE(handle_ != INVALID_HANDLE_VALUE, "cannot lock " << utf8(path));
}

Lock::~Lock() { CloseHandle(handle_); }

// ---- windows -----------------------------------------------------------------

std::wstring class_name(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

namespace {

// Sends a message and returns the program's answer; no answer in time fails the test.
DWORD_PTR ask(HWND window, std::string_view name, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG,
                             static_cast<UINT>(answer_timeout.count()), &answer))
        FAIL("no answer to " << name << " from a window of class \"" << utf8(class_name(window))
                             << "\" within " << answer_timeout.count() << " ms: " << utf8(last_error_text()));
    return answer;
}

}  // namespace

std::wstring text(HWND window) {
    const DWORD_PTR length = ask(window, "WM_GETTEXTLENGTH", WM_GETTEXTLENGTH);
    std::wstring result(length + 1, L'\0');
    const DWORD_PTR copied =
        ask(window, "WM_GETTEXT", WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(result.data()));
    result.resize(std::min<std::size_t>(copied, length));
    return result;
}

DWORD style(HWND window) {
    SetLastError(0);
    const LONG value = GetWindowLongW(window, GWL_STYLE);
    if (value == 0 && GetLastError() != 0)
        FAIL("cannot read the style of a window: " << utf8(last_error_text()));
    return static_cast<DWORD>(value);
}

bool enabled(HWND window) {
    REQUIRE_MESSAGE(IsWindow(window), "the window is gone");
    return IsWindowEnabled(window);
}

Rect client(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return {origin.x, origin.y, area.right, area.bottom};
}

Rect child_rect(HWND child) {
    RECT area{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

std::vector<HWND> children(HWND window) {
    std::vector<HWND> result;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        result.push_back(child);
    return result;
}

HWND button(HWND window, std::wstring_view caption) {
    std::vector<HWND> found;
    for (HWND child : children(window))
        if (class_name(child) == L"Button" && text(child) == caption) found.push_back(child);
    REQUIRE_MESSAGE(found.size() == 1, found.size() << " buttons \"" << utf8(caption) << "\" in \""
                                                    << utf8(text(window)) << "\"");
    return found.front();
}

void click(HWND button) { REQUIRE(PostMessageW(button, BM_CLICK, 0, 0)); }

void press_key(HWND focus, WPARAM key) {
    REQUIRE(focus);
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

bool above(HWND a, HWND b) {
    for (HWND next = GetWindow(a, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
        if (next == b) return true;
    return false;
}

void close(HWND window) { REQUIRE(PostMessageW(window, WM_CLOSE, 0, 0)); }

void wait_gone(HWND window, Duration timeout) {
    if (!poll([&] { return !IsWindow(window); }, timeout))
        FAIL("the window \"" << utf8(text(window)) << "\" is still there after "
                             << timeout.count() << " ms");
}

std::wstring wait_text(HWND window, std::wstring_view expected, Duration timeout) {
    std::wstring seen;
    poll([&] { return (seen = text(window)) == expected; }, timeout);
    return seen;
}

// ---- pixels ----------------------------------------------------------------

COLORREF Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        FAIL("pixel " << x << "," << y << " outside " << width_ << "x" << height_);
    const std::uint32_t v = bits_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

namespace {

// Runs draw on a memory DC holding a 32-bit top-down DIB, then copies its bits out.
template <class Draw>
Image with_dib(HDC like, int width, int height, Draw&& draw) {
    Image image(width, height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC memory = CreateCompatibleDC(like);
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    REQUIRE(bitmap);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    draw(memory);
    GdiFlush();
    std::memcpy(image.bits(), bits, sizeof(std::uint32_t) * width * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return image;
}

}  // namespace

Image capture(HWND top, const Rect& area) {
    REQUIRE((area.width > 0 && area.height > 0));
    const HDC window = GetDC(top);
    REQUIRE(window);
    Image image = with_dib(window, area.width, area.height, [&](HDC memory) {
        BitBlt(memory, 0, 0, area.width, area.height, window, area.left, area.top, SRCCOPY);
    });
    ReleaseDC(top, window);
    return image;
}

Image capture(HWND top) {
    const Rect area = client(top);
    return capture(top, {0, 0, area.width, area.height});
}

Image load_bitmap(const wchar_t* path) {
    const auto bitmap = static_cast<HBITMAP>(
        LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    REQUIRE_MESSAGE(bitmap, "cannot load " << utf8(path) << ": " << utf8(last_error_text()));
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    Image image = with_dib(nullptr, size.bmWidth, size.bmHeight, [&](HDC memory) {
        const HDC source = CreateCompatibleDC(memory);
        const HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(memory, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    });
    DeleteObject(bitmap);
    return image;
}

bool close_to(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string describe(COLORREF colour) {
    return "RGB(" + std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) +
           "," + std::to_string(GetBValue(colour)) + ")";
}

// ---- message boxes ---------------------------------------------------------

namespace {

constexpr int box_text_id = 0xFFFF;

HWND icon_static(HWND box) {
    for (HWND child : children(box))
        if (class_name(child) == L"Static" && (style(child) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child))
            return child;
    return nullptr;
}

// Whether the box shows an icon: its icon control exists and holds one.
bool has_icon(HWND icon) { return icon && ask(icon, "STM_GETICON", STM_GETICON) != 0; }

// The share of pixels of the shown icon that match a system icon drawn over the same background.
double likeness(const Image& shown, LPCWSTR system_icon) {
    const COLORREF background = shown.at(0, 0);
    const Image drawn = with_dib(nullptr, shown.width(), shown.height(), [&](HDC memory) {
        const HBRUSH brush = CreateSolidBrush(background);
        const RECT all{0, 0, shown.width(), shown.height()};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        DrawIconEx(memory, 0, 0, LoadIconW(nullptr, system_icon), shown.width(), shown.height(), 0,
                   nullptr, DI_NORMAL);
    });
    int same = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) same += close_to(shown.at(x, y), drawn.at(x, y), 24);
    return static_cast<double>(same) / (shown.width() * shown.height());
}

Icon icon_kind(HWND box, HWND icon) {
    RECT area{};
    GetWindowRect(icon, &area);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&area), 2);
    const Image shown =
        capture(box, {area.left, area.top, area.right - area.left, area.bottom - area.top});
    const double information = likeness(shown, IDI_INFORMATION);
    const double error = likeness(shown, IDI_ERROR);
    if (std::max(information, error) < 0.95) return Icon::Other;
    return information > error ? Icon::Information : Icon::Error;
}

}  // namespace

void Box::press_ok() const {
    HWND ok = GetDlgItem(window, IDOK);
    REQUIRE_MESSAGE((ok && IsWindowVisible(ok)), "no OK button in the box \"" << utf8(title) << "\"");
    click(ok);
    wait_gone(window);
}

// ---- the program -----------------------------------------------------------

Program::Program(const Files& files, const std::wstring& current_directory) {
    const std::wstring exe = folder_ / std::wstring_view(PROGRAM_EXE).substr(
                                           std::wstring_view(PROGRAM_EXE).find_last_of(L'\\') + 1);
    REQUIRE_MESSAGE(CopyFileW(PROGRAM_EXE, exe.c_str(), FALSE),
                    "cannot copy " << utf8(PROGRAM_EXE) << ": " << utf8(last_error_text()));
    for (const auto& [name, bytes] : files) write_file(folder_ / name, bytes);
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const std::wstring& start_in = current_directory.empty() ? folder_.path() : current_directory;
    REQUIRE_MESSAGE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   start_in.c_str(), &startup, &process_),
                    "cannot start " << utf8(exe) << ": " << utf8(last_error_text()));
    CloseHandle(process_.hThread);
}

Program::~Program() {
    if (!process_.hProcess) return;
    if (running()) TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
}

bool Program::running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

DWORD Program::wait_exit(Duration timeout) const {
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        FAIL("the program still runs after " << timeout.count() << " ms");
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void Program::expect_running() const {
    HWND shown = nullptr;
    for (HWND window : windows())
        if (IsWindowVisible(window)) shown = window;
    REQUIRE_MESSAGE(shown, "the program shows no window");
    REQUIRE(InvalidateRect(shown, nullptr, FALSE));
    wait_for([&] { return IsWindow(shown) && !GetUpdateRect(shown, nullptr, FALSE); },
             "the program to repaint its window of class \"" + utf8(class_name(shown)) + "\"");
}

namespace {

struct Search {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.process) search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> Program::windows() const {
    Search search{process_.dwProcessId, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Program::windows(std::wstring_view wanted) const {
    std::vector<HWND> found;
    for (HWND window : windows())
        if (class_name(window) == wanted) found.push_back(window);
    return found;
}

HWND Program::wait_window(std::wstring_view wanted, Duration timeout) const {
    return wait_for(
        [&]() -> HWND {
            for (HWND window : windows(wanted))
                if (IsWindowVisible(window)) return window;
            return nullptr;
        },
        "a window of class \"" + utf8(wanted) + "\"", timeout);
}

std::vector<HWND> Program::boxes() const {
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"#32770", nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process_.dwProcessId && IsWindowVisible(window)) found.push_back(window);
    }
    return found;
}

Box Program::wait_box(Duration timeout) const {
    Box box;
    box.window = wait_for([&]() -> HWND { auto b = boxes(); return b.empty() ? nullptr : b.front(); },
                          "a message box", timeout);
    box.title = text(box.window);
    if (HWND label = GetDlgItem(box.window, box_text_id)) box.text = text(label);
    for (HWND child : children(box.window))
        if (class_name(child) == L"Button" && IsWindowVisible(child))
            box.buttons.push_back(text(child));
    const HWND icon = icon_static(box.window);
    if (has_icon(icon)) {
        // The icon is told by its pixels, once the box is drawn.
        poll([&] { box.icon = icon_kind(box.window, icon); return box.icon != Icon::Other; }, 2s);
    }
    return box;
}

HWND Program::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(process_.dwThreadId, &info))
        FAIL("cannot read the program's keyboard focus: " << utf8(last_error_text()));
    return info.hwndFocus;
}

Image Program::wait_drawn(HWND top, const std::function<std::string(const Image&)>& missing,
                          Duration timeout) const {
    std::optional<Image> last;
    std::string seen = "no capture yet";
    const auto settled = [&] {
        Image image = capture(top);
        const bool same = last && image == *last;
        seen = missing(image);
        if (seen.empty() && !same) seen = "the picture still changing";
        last = std::move(image);
        return seen.empty();
    };
    wait_for(settled, [&] { return "the window \"" + utf8(text(top)) + "\" drawn (" + seen + ")"; },
             timeout);
    return *last;
}

HWND open_menu(const Program& program) {
    click(button(program.wait_window(main_class), L"Операторы"));
    return program.wait_window(menu_class);
}

void Program::fail_waiting(std::string_view what) const {
    if (running()) FAIL("timed out waiting for " << std::string(what));
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    FAIL("the program ended (exit code " << code << ") while waiting for " << std::string(what));
    std::abort();  // not reached: FAIL throws
}

}  // namespace drive

namespace doctest {

String StringMaker<std::wstring>::convert(const std::wstring& text) {
    std::wstring shown = L"\"";
    for (wchar_t c : text) {
        if (c == L'\r') shown += L"\\r";
        else if (c == L'\n') shown += L"\\n";
        else shown += c;
    }
    shown += L"\"";
    return String(drive::utf8(shown).c_str());
}

String StringMaker<drive::Rect>::convert(const drive::Rect& r) {
    std::string shown = "{";
    for (int value : {r.left, r.top, r.width, r.height}) {
        if (shown.size() > 1) shown += ", ";
        shown += std::to_string(value);
    }
    shown += "}";
    return String(shown.c_str());
}

String StringMaker<drive::Icon>::convert(drive::Icon icon) {
    switch (icon) {
    case drive::Icon::None: return "no icon";
    case drive::Icon::Information: return "information icon";
    case drive::Icon::Error: return "error icon";
    case drive::Icon::Other: return "some other icon";
    }
    return "?";
}

String StringMaker<std::vector<std::wstring>>::convert(const std::vector<std::wstring>& texts) {
    String result = "[";
    for (std::size_t i = 0; i < texts.size(); ++i)
        result += (i ? ", " : "") + StringMaker<std::wstring>::convert(texts[i]);
    return result + "]";
}

}  // namespace doctest
