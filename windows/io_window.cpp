#include "windows/io_window.h"

#include "windows/note.h"

namespace {

using rt::Kind;

constexpr rt::Control controls[]{
    {L"Комманда1", Kind::Button, L"input", {240, 360, 1215, 495}, 0},
    {L"Комманда2", Kind::Button, L"print", {240, 1200, 1215, 495}, 1},
};

constexpr rt::Layout window_layout{
    L"овв", L"Операторы ввода вывода", {60, 345, 1890, 1995}, rt::Border::Sizable, true, true,
    rt::State::Normal, rt::Placement::Default, nullptr, controls,
};

constexpr rt::Binding<овв> bindings[]{
    {L"Комманда1", &овв::Комманда1_Click},
    {L"Комманда2", &овв::Комманда2_Click},
};

static_assert(rt::in_tab_order(controls));
static_assert(rt::binds_every_button(window_layout, bindings));

constexpr Note input{L"input", L"input вводит данные с клавиатуры"};
constexpr Note print{L"print", L"print для вывода данных на экран"};

}  // namespace

овв::овв() : Form(window_layout) {}

void овв::click(std::wstring_view control) { rt::route(*this, bindings, control); }

void овв::Комманда1_Click() { show_note(input); }
void овв::Комманда2_Click() { show_note(print); }
