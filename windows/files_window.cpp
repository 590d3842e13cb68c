#include "windows/files_window.h"

#include "windows/note.h"

namespace {

using rt::Kind;

constexpr rt::Control controls[]{
    {L"Комманда1", Kind::Button, L"open", {120, 240, 1095, 495}, 0},
    {L"Комманда2", Kind::Button, L"close", {120, 960, 1095, 495}, 1},
};

constexpr rt::Layout window_layout{
    L"рабсфай", L"Работа с файлами", {60, 345, 1560, 1605}, rt::Border::Sizable, true, true,
    rt::State::Normal, rt::Placement::Default, nullptr, controls,
};

constexpr rt::Binding<рабсфай> bindings[]{
    {L"Комманда1", &рабсфай::Комманда1_Click},
    {L"Комманда2", &рабсфай::Комманда2_Click},
};

static_assert(rt::in_tab_order(controls));
static_assert(rt::binds_every_button(window_layout, bindings));

constexpr Note open{L"open", L"open открытие файла"};
constexpr Note close{L"close", L"close закрытие файла"};

}  // namespace

рабсфай::рабсфай() : Form(window_layout) {}

void рабсфай::click(std::wstring_view control) { rt::route(*this, bindings, control); }

void рабсфай::Комманда1_Click() { show_note(open); }
void рабсфай::Комманда2_Click() { show_note(close); }
