// Looks at the program started by tools/run.sh from inside its Wine desktop:
// the main window maximized with its caption across the screen, then presses End.
// Usage: desktop_check.exe DESKTOP WIDTH HEIGHT
// Prints what it saw; exits with 0 when every check held.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "runtime/handles.h"
#include "utf8.h"

namespace {

constexpr DWORD timeout_ms = 10000;

std::wstring desktop_name() {
    wchar_t name[256] = L"";
    GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof name,
                              nullptr);
    return name;
}

struct DcDeleter {
    void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const noexcept { DeleteObject(bitmap); }
};

// The screen's device context, released on leaving.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// One pixel of the screen, read back through a DIB.
COLORREF screen_pixel(int x, int y) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const ScreenDc screen;
    const std::unique_ptr<HDC__, DcDeleter> memory(CreateCompatibleDC(screen.get()));
    const std::unique_ptr<HBITMAP__, BitmapDeleter> dib(
        CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !dib) return CLR_INVALID;
    const HGDIOBJ old = SelectObject(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, 1, 1, screen.get(), x, y, SRCCOPY);
    GdiFlush();
    const auto bgra = *static_cast<const DWORD*>(bits);
    SelectObject(memory.get(), old);
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

// Whether the colour lies between the two ends of the active caption's gradient.
bool caption_colour(COLORREF colour) {
    const COLORREF a = GetSysColor(COLOR_ACTIVECAPTION), b = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
    const auto within = [](int value, int one, int other) {
        return value >= std::min(one, other) - 8 && value <= std::max(one, other) + 8;
    };
    return within(GetRValue(colour), GetRValue(a), GetRValue(b)) &&
           within(GetGValue(colour), GetGValue(a), GetGValue(b)) &&
           within(GetBValue(colour), GetBValue(a), GetBValue(b));
}

std::string hex(COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

// What one look at the screen found; problems is empty when all is as it should be.
struct Look {
    HWND main = nullptr;
    std::vector<std::string> problems;
    std::string seen;
};

Look look(const std::wstring& desktop, int width, int height) {
    Look result;
    auto& problems = result.problems;
    const std::wstring name = desktop_name();
    if (name != desktop) problems.push_back("this process runs in the desktop \"" + utf8(name) + "\"");
    const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
    if (screen_w != width || screen_h != height)
        problems.push_back("the desktop is " + std::to_string(screen_w) + "x" +
                           std::to_string(screen_h));
    // FindWindow looks only in this thread's desktop.
    result.main = FindWindowW(L"с", L"Zazud Rared");
    if (!result.main || !IsWindowVisible(result.main)) {
        problems.push_back("no visible main window in this desktop");
        return result;
    }
    RECT frame, client;
    GetWindowRect(result.main, &frame);
    GetClientRect(result.main, &client);
    MapWindowPoints(result.main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const LONG style = GetWindowLongW(result.main, GWL_STYLE);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int caption_y = client.top - caption / 2;
    const COLORREF pixels[]{screen_pixel(screen_w / 2, caption_y),
                            screen_pixel(screen_w * 3 / 4, caption_y)};
    result.seen = "frame (" + std::to_string(frame.left) + "," + std::to_string(frame.top) + ")-(" +
                  std::to_string(frame.right) + "," + std::to_string(frame.bottom) + "), client (" +
                  std::to_string(client.left) + "," + std::to_string(client.top) + ")-(" +
                  std::to_string(client.right) + "," + std::to_string(client.bottom) +
                  "), caption " + std::to_string(caption) + " px, caption pixels " +
                  hex(pixels[0]) + " " + hex(pixels[1]) + ", active caption " +
                  hex(GetSysColor(COLOR_ACTIVECAPTION)) + ".." +
                  hex(GetSysColor(COLOR_GRADIENTACTIVECAPTION));
    if (!IsZoomed(result.main)) problems.push_back("the main window is not maximized");
    if ((style & WS_CAPTION) != WS_CAPTION) problems.push_back("the main window has no caption");
    if (frame.left > 0 || frame.right < screen_w || client.left != 0 || client.right != screen_w)
        problems.push_back("the main window does not span the screen's width");
    if (client.top < caption || client.bottom != screen_h)
        problems.push_back("the main window's caption and client area do not fill the screen");
    for (const COLORREF pixel : pixels)
        if (!caption_colour(pixel)) problems.push_back("the caption is not drawn (" + hex(pixel) + ")");
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (__argc != 4) {
        std::puts("usage: desktop_check.exe DESKTOP WIDTH HEIGHT");
        return 2;
    }
    const std::wstring desktop = __wargv[1];
    const int width = _wtoi(__wargv[2]), height = _wtoi(__wargv[3]);

    // Waits until everything holds: a window is drawn in pieces after it shows.
    const DWORD start = GetTickCount();
    Look seen = look(desktop, width, height);
    while (!seen.problems.empty() && GetTickCount() - start < timeout_ms) {
        Sleep(20);
        seen = look(desktop, width, height);
    }
    std::printf("desktop \"%s\", %dx%d: %s\n", utf8(desktop).c_str(), width, height,
                seen.seen.c_str());
    for (const auto& problem : seen.problems) std::printf("FAILED: %s\n", problem.c_str());
    if (!seen.main) return 1;

    // End, as the user ends the program; its exit code must be 0.
    DWORD process_id = 0;
    GetWindowThreadProcessId(seen.main, &process_id);
    const rt::UniqueHandle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    const HWND end = FindWindowExW(seen.main, nullptr, L"Button", L"End");
    if (!process || !end || !PostMessageW(end, BM_CLICK, 0, 0)) {
        std::puts("FAILED: cannot press End");
        return 1;
    }
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.get(), timeout_ms) != WAIT_OBJECT_0) {
        std::puts("FAILED: the program still runs after End");
        return 1;
    }
    GetExitCodeProcess(process.get(), &code);
    std::printf("End pressed: the program ended with code %lu\n", code);
    return seen.problems.empty() && code == 0 ? 0 : 1;
}
