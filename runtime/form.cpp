#include "runtime/form.h"

#include <algorithm>
#include <new>

#include "runtime/error.h"
#include "runtime/message_box.h"

namespace rt {

namespace {

constexpr int first_control_id = 100;  // clear of IDOK and IDCANCEL

Form* being_built = nullptr;  // gets the messages sent before WM_NCCREATE
int live_windows = 0;
bool ending = false;

DWORD style_of(const Layout& layout) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    // A picture is painted under the controls: keep it off them. A plain background needs no
    // clipping, which would cost every paint of the window a region of its own.
    if (layout.picture) style |= WS_CLIPCHILDREN;
    if (layout.border == Border::Sizable) style |= WS_THICKFRAME;
    if (layout.max_box) style |= WS_MAXIMIZEBOX;
    if (layout.min_box) style |= WS_MINIMIZEBOX;
    return style;
}

struct Dpi {
    int x, y;
};

// The system's resolution is fixed for the life of a process: asked once.
Dpi screen_dpi() {
    static const Dpi dpi = [] {
        const HDC screen = GetDC(nullptr);
        const Dpi found{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
        ReleaseDC(nullptr, screen);
        return found;
    }();
    return dpi;
}

HINSTANCE module() { return GetModuleHandleW(nullptr); }

// What every window class of the program shares, loaded with the first class.
struct ClassLook {
    HICON icon;
    HICON small_icon;
    HCURSOR cursor;
};

const ClassLook& class_look() {
    static const ClassLook look{
        LoadIconW(module(), MAKEINTRESOURCEW(1)),
        // Given, not left to RegisterClassExW, which would make it from the resource for each class.
        static_cast<HICON>(LoadImageW(module(), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                      LR_SHARED)),
        LoadCursorW(nullptr, IDC_ARROW),
    };
    return look;
}

// Registers the class of a window, on its first build.
void register_class(const std::wstring& name, WNDPROC proc) {
    const ClassLook& look = class_look();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = module();
    wc.hIcon = look.icon;
    wc.hIconSm = look.small_icon;
    wc.hCursor = look.cursor;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Error(L"Не удалось зарегистрировать класс окна «" + name + L"».\nПричина: " +
                    reason(GetLastError()) + L".");
}

// Draws a .bmp file held in memory at the top-left corner, unscaled,
// and the background colour beyond it.
void paint_picture(HWND window, HDC dc, const unsigned char* bmp) {
    const auto* file = reinterpret_cast<const BITMAPFILEHEADER*>(bmp);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bmp + sizeof(BITMAPFILEHEADER));
    const int width = info->bmiHeader.biWidth;
    const int height = std::abs(info->bmiHeader.biHeight);
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, bmp + file->bfOffBits, info,
                      DIB_RGB_COLORS);
    RECT client;
    GetClientRect(window, &client);
    ExcludeClipRect(dc, 0, 0, width, height);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace

HWND Form::control(std::wstring_view name) const {
    const auto& controls = layout_.controls;
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&](const Control& c) { return c.name == name; });
    if (found == controls.end())
        throw Error(L"В окне «" + std::wstring(layout_.caption) + L"» нет элемента «" +
                    std::wstring(name) + L"».");
    return GetDlgItem(window_.get(), first_control_id + static_cast<int>(found - controls.begin()));
}

void Form::build() {
    const std::wstring class_name(layout_.class_name);
    if (!registered_) register_class(class_name, &Form::window_proc);
    registered_ = true;

    const Dpi dpi = screen_dpi();
    const Rect& c = layout_.client;
    RECT frame{to_pixels(c.left, dpi.x), to_pixels(c.top, dpi.y), 0, 0};
    frame.right = frame.left + to_pixels(c.width, dpi.x);
    frame.bottom = frame.top + to_pixels(c.height, dpi.y);
    const DWORD style = style_of(layout_);
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    frame_ = {frame.right - frame.left, frame.bottom - frame.top};
    const bool stored = layout_.placement == Placement::Stored;

    being_built = this;
    const HWND window = CreateWindowExW(0, class_name.c_str(), std::wstring(layout_.caption).c_str(),
                                        style, stored ? frame.left : CW_USEDEFAULT,
                                        stored ? frame.top : 0, frame_.cx, frame_.cy, nullptr,
                                        nullptr, module(), this);
    being_built = nullptr;
    if (!window)
        throw Error(L"Не удалось создать окно «" + std::wstring(layout_.caption) +
                    L"».\nПричина: " + reason(GetLastError()) + L".");

    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    focus_ = nullptr;
    shown_ = false;
    for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
        const Control& k = layout_.controls[i];
        const bool button = k.kind == Kind::Button;
        const DWORD control_style = WS_CHILD | WS_VISIBLE |
                                    (button ? WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE
                                            : SS_LEFT | SS_NOPREFIX);
        const HWND child = CreateWindowExW(
            0, button ? L"BUTTON" : L"STATIC", std::wstring(k.caption).c_str(), control_style,
            to_pixels(k.rect.left, dpi.x), to_pixels(k.rect.top, dpi.y),
            to_pixels(k.rect.width, dpi.x), to_pixels(k.rect.height, dpi.y), window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(first_control_id + i)), module(), nullptr);
        if (!child)
            throw Error(L"Не удалось создать элемент «" + std::wstring(k.caption) + L"» окна «" +
                        std::wstring(layout_.caption) + L"».\nПричина: " + reason(GetLastError()) +
                        L".");
        SendMessageW(child, WM_SETFONT, font, FALSE);
        if (button && !focus_) focus_ = child;
    }
}

void Form::show() {
    if (!window_) build();
    const HWND window = window_.get();
    if (!shown_) {
        shown_ = true;
        ShowWindow(window, layout_.state == State::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    } else {
        ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
        BringWindowToTop(window);
    }
    if (!IsWindowVisible(window))
        throw Error(L"Не удалось показать окно «" + std::wstring(layout_.caption) + L"».");
}

void Form::set_text(std::wstring_view name, const std::wstring& text) {
    if (!window_) build();
    if (!SetWindowTextW(control(name), text.c_str())) {
        // A text too large for the control fails without a code of its own.
        const DWORD code = GetLastError() ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
        throw Error(L"Не удалось показать текст в окне «" + std::wstring(layout_.caption) +
                        L"».\nПричина: " + reason(code) + L".",
                    code);
    }
}

void Form::run_click(std::size_t index) noexcept {
    try {
        click(layout_.controls[index].name);
    } catch (const Error& error) {
        report_error(error);
    } catch (const std::bad_alloc&) {
        report_error(Error(L"Недостаточно памяти для этого действия."));
    } catch (...) {
        report_error(Error(L"Действие прервано непредвиденной ошибкой."));
    }
}

LRESULT Form::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = window_.get();
    switch (message) {
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lparam);
        // Enter on a focused button comes as IDOK from IsDialogMessage.
        if (LOWORD(wparam) == IDOK && !from) from = GetFocus();
        else if (HIWORD(wparam) != BN_CLICKED) break;
        if (!from || GetParent(from) != window || !IsWindowEnabled(window)) return 0;
        const int index = GetDlgCtrlID(from) - first_control_id;
        if (index >= 0 && static_cast<std::size_t>(index) < layout_.controls.size() &&
            layout_.controls[index].kind == Kind::Button)
            run_click(static_cast<std::size_t>(index));
        return 0;
    }
    // Like a dialog: the focus goes back to the button that had it.
    case WM_ACTIVATE:
        if (LOWORD(wparam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && GetParent(focus) == window) focus_ = focus;
            break;
        }
        if (!focus_ || HIWORD(wparam)) break;
        SetFocus(focus_);
        return 0;
    case WM_SETFOCUS:
        if (!focus_) break;
        SetFocus(focus_);
        return 0;
    case WM_ERASEBKGND:
        if (!layout_.picture) break;
        paint_picture(window, reinterpret_cast<HDC>(wparam), layout_.picture);
        return 1;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK Form::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->window_.reset(window);
        ++live_windows;
    }
    if (!form) form = being_built;
    if (!form) return DefWindowProcW(window, message, wparam, lparam);

    if (message == WM_GETMINMAXINFO) {
        // Let the window keep its layout's size past the system's track limits.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
        limits->ptMinTrackSize.x = std::min(limits->ptMinTrackSize.x, form->frame_.cx);
        limits->ptMinTrackSize.y = std::min(limits->ptMinTrackSize.y, form->frame_.cy);
        limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, form->frame_.cx);
        limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, form->frame_.cy);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        (void)form->window_.release();
        if (--live_windows == 0) PostQuitMessage(0);
        return DefWindowProcW(window, message, wparam, lparam);
    }
    if (!form->window_) return DefWindowProcW(window, message, wparam, lparam);
    try {
        return form->handle_message(message, wparam, lparam);
    } catch (...) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

int run_event_loop() {
    MSG message{};
    while (!ending && GetMessageW(&message, nullptr, 0, 0) > 0) {
        const HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        const bool form = top && static_cast<ULONG_PTR>(GetClassLongPtrW(top, GCLP_WNDPROC)) ==
                                     reinterpret_cast<ULONG_PTR>(&Form::window_proc);
        // Tab, Shift+Tab, Space and Enter move between and press the buttons.
        if (form && IsDialogMessageW(top, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void end_program() {
    ending = true;
    PostQuitMessage(0);
}

}  // namespace rt
