#include "windows/branching_window.h"

#include "windows/note.h"

namespace {

constexpr rt::Control controls[]{
    {L"Комманда1", rt::Kind::Button, L"if,then,else", {240, 120, 1095, 615}, 0},
};

constexpr rt::Layout window_layout{
    L"комветвл", L"ветвления", {60, 345, 1605, 1215}, rt::Border::Sizable, true, true,
    rt::State::Normal, rt::Placement::Default, nullptr, controls,
};

constexpr rt::Binding<комветвл> bindings[]{
    {L"Комманда1", &комветвл::Комманда1_Click},
};

static_assert(rt::in_tab_order(controls));
static_assert(rt::binds_every_button(window_layout, bindings));

// A blank at both ends of the title.
constexpr Note if_then_else{
    L" if...then...else ",
    L"if...then...else обычно используются, когда проверяются 1 или 2 условия в программе"};

}  // namespace

комветвл::комветвл() : Form(window_layout) {}

void комветвл::click(std::wstring_view control) { rt::route(*this, bindings, control); }

void комветвл::Комманда1_Click() { show_note(if_then_else); }
