#include "windows/loops_window.h"

#include "windows/note.h"

namespace {

using rt::Kind;

constexpr rt::Control controls[]{
    {L"Комманда1", Kind::Button, L"For...Next", {240, 240, 1215, 615}, 0},
    {L"Комманда2", Kind::Button, L"While...Wend", {240, 1080, 1215, 615}, 1},
    {L"Комманда3", Kind::Button, L"Do...Loop", {240, 1920, 1215, 615}, 2},
};

constexpr rt::Layout window_layout{
    L"комповт", L"команды повторения", {60, 345, 1770, 3195}, rt::Border::Sizable, true, true,
    rt::State::Normal, rt::Placement::Default, nullptr, controls,
};

constexpr rt::Binding<комповт> bindings[]{
    {L"Комманда1", &комповт::Комманда1_Click},
    {L"Комманда2", &комповт::Комманда2_Click},
    {L"Комманда3", &комповт::Комманда3_Click},
};

static_assert(rt::in_tab_order(controls));
static_assert(rt::binds_every_button(window_layout, bindings));

constexpr Note for_next{L"For...Next", L"for...next это цикл с заранее заданным числом повторений"};
constexpr Note while_wend{L"while...wend", L"while...wend-операторы цикла"};
constexpr Note do_loop{L"do...loop", L"do...loop операторы цикла"};

}  // namespace

комповт::комповт() : Form(window_layout) {}

void комповт::click(std::wstring_view control) { rt::route(*this, bindings, control); }

void комповт::Комманда1_Click() { show_note(for_next); }
void комповт::Комманда2_Click() { show_note(while_wend); }
void комповт::Комманда3_Click() { show_note(do_loop); }
