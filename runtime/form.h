#pragma once
// Windows built from their layouts, and the routing of button clicks to handlers.
#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "runtime/handles.h"
#include "runtime/layout.h"

namespace rt {

// The one instance of a window layout. The object lives for the whole run;
// the window behind it is built on first use and again after the user closed it.
class Form {
public:
    explicit Form(const Layout& layout) : layout_(layout) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Puts the window on screen, modeless and without an owner; returns at once.
    // The first show of each build gives the window its initial state.
    void show();
    // Replaces the whole text of a control.
    void set_text(std::wstring_view control, const std::wstring& text);

    HWND handle() const { return window_.get(); }
    const Layout& layout() const { return layout_; }

protected:
    virtual void click(std::wstring_view control) = 0;

private:
    friend int run_event_loop();

    void build();
    HWND control(std::wstring_view name) const;
    void run_click(std::size_t index) noexcept;
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept;

    const Layout& layout_;
    UniqueWindow window_;
    SIZE frame_{};          // the frame that gives the layout's client size
    HWND focus_ = nullptr;  // the control that gets the focus when the window is activated
    bool shown_ = false;
    bool registered_ = false;  // the window class, once for the whole run
};

// A click on a button runs the handler bound to the button's name.
template <class W>
struct Binding {
    std::wstring_view control;
    void (W::*run)();
};

template <class W, std::size_t N>
void route(W& window, const Binding<W> (&bindings)[N], std::wstring_view control) {
    for (const auto& binding : bindings)
        if (binding.control == control) return (window.*binding.run)();
}

// Every button of the layout has exactly one binding, and every binding names a button.
template <class W, std::size_t N>
constexpr bool binds_every_button(const Layout& layout, const Binding<W> (&bindings)[N]) {
    std::size_t buttons = 0;
    for (const auto& c : layout.controls) {
        if (c.kind != Kind::Button) continue;
        ++buttons;
        int found = 0;
        for (const auto& b : bindings) found += b.control == c.name;
        if (found != 1) return false;
    }
    return buttons == N;
}

// The program-wide reference to a window's one instance, filled on first use.
template <class W>
W& instance() {
    static W window;
    return window;
}

// Dispatches messages until the program ends: end_program() or the last window closed.
int run_event_loop();
// Ends the program at once, with all its windows.
void end_program();

}  // namespace rt
