// The floor: the least plain Win32 code that shows what Кварнедо shows (captions with an icon,
// the focus on the first button).
//   bare.exe              a maximized window with the picture and four buttons
//   bare.exe load FILE    button 101 shows a viewer and loads FILE (Windows-1251) into its label
// Button 100 shows a task-modal information box; "bare.exe windows N" first opens N more plain
// windows, once, as the program has its viewer, menu and topic window open by then.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#define BARE_STR(x) #x
#define BARE_PATH(x) BARE_STR(x)
// "_bare_picture" on 32-bit Windows, "bare_picture" on 64-bit.
#define BARE_SYMBOL BARE_PATH(__USER_LABEL_PREFIX__) "bare_picture"

extern "C" const unsigned char bare_picture[];
__asm__(".section .rdata,\"dr\"\n"
        ".balign 4\n"
        ".globl " BARE_SYMBOL "\n"
        BARE_SYMBOL ":\n"
        ".incbin \"" BARE_PATH(BARE_PICTURE) "\"\n"
        ".text\n");

namespace {

struct Closer {
    void operator()(HANDLE h) const { CloseHandle(h); }
};

std::wstring load_file;
HWND viewer = nullptr;
int more_windows = 0;  // still to open before the first box

void paint_picture(HWND window, HDC dc) {
    const auto* file = reinterpret_cast<const BITMAPFILEHEADER*>(bare_picture);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bare_picture + sizeof(BITMAPFILEHEADER));
    const int width = info->bmiHeader.biWidth;
    const int height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, bare_picture + file->bfOffBits,
                      info, DIB_RGB_COLORS);
    RECT client;
    GetClientRect(window, &client);
    ExcludeClipRect(dc, 0, 0, width, height);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

void load() {
    if (!viewer) {
        viewer = CreateWindowExW(0, L"bare_text", L"bare", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                 55, 228, 332, 380, nullptr, nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
        const HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                           8, 8, 305, 345, viewer, reinterpret_cast<HMENU>(100),
                                           GetModuleHandleW(nullptr), nullptr);
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    ShowWindow(viewer, SW_SHOWNORMAL);
    const HANDLE file = CreateFileW(load_file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::wstring text;
    {
        const std::unique_ptr<void, Closer> owner(file);
        LARGE_INTEGER size{};
        GetFileSizeEx(file, &size);
        std::vector<char> bytes(static_cast<std::size_t>(size.QuadPart));
        DWORD count = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
        text.resize(count);
        MultiByteToWideChar(1251, 0, bytes.data(), static_cast<int>(count), text.data(),
                            static_cast<int>(count));
    }
    SetWindowTextW(GetDlgItem(viewer, 100), text.c_str());
}

LRESULT CALLBACK main_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ERASEBKGND:
        paint_picture(window, reinterpret_cast<HDC>(wparam));
        return 1;
    case WM_COMMAND:
        if (HIWORD(wparam) != BN_CLICKED) break;
        if (LOWORD(wparam) == 100) {
            for (; more_windows > 0; --more_windows)
                ShowWindow(CreateWindowExW(0, L"bare_text", L"bare", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                           55 + 200 * more_windows, 228, 332, 380, nullptr, nullptr,
                                           GetModuleHandleW(nullptr), nullptr),
                           SW_SHOWNORMAL);
            MessageBoxW(nullptr, L"circle вычерчивание окружностей", L"circle",
                        MB_ICONINFORMATION | MB_TASKMODAL);
        } else if (LOWORD(wparam) == 101 && !load_file.empty())
            load();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // No CommandLineToArgvW: shell32 alone costs more than the whole window.
    const std::wstring command = GetCommandLineW();
    if (const auto at = command.find(L" load \""); at != std::wstring::npos) {
        const auto start = at + 7;
        load_file = command.substr(start, command.find(L'"', start) - start);
    }
    if (const auto at = command.find(L" windows "); at != std::wstring::npos)
        more_windows = _wtoi(command.c_str() + at + 9);

    WNDCLASSW wc{};
    wc.lpfnWndProc = main_proc;
    wc.hInstance = instance;
    // An icon in the captions, as the program's windows have.
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"bare";
    RegisterClassW(&wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"bare_text";
    RegisterClassW(&wc);

    const HWND window = CreateWindowExW(0, L"bare", L"bare",
                                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                        125, 22, 721, 500, nullptr, nullptr, instance, nullptr);
    // Same buttons, same places as the program's main window at 96 dpi.
    struct { const wchar_t* caption; int x, y, w, h; } buttons[] = {
        {L"Операторы", 288, 88, 105, 145},
        {L"Общие сведения", 416, 88, 105, 145},
        {L"разработчик", 48, 16, 89, 33},
        {L"End", 48, 72, 81, 25},
    };
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    HWND first = nullptr;
    for (int i = 0; i < 4; ++i) {
        const HWND b = CreateWindowExW(0, L"BUTTON", buttons[i].caption,
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE,
                                       buttons[i].x, buttons[i].y, buttons[i].w, buttons[i].h, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), instance,
                                       nullptr);
        SendMessageW(b, WM_SETFONT, font, FALSE);
        if (!first) first = b;
    }
    ShowWindow(window, SW_SHOWMAXIMIZED);
    // The keyboard focus on the first button, as in the program.
    SetFocus(first);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
