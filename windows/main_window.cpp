#include "windows/main_window.h"

#include "resources/background.h"
#include "runtime/message_box.h"
#include "windows/statement_menu.h"
#include "windows/text_viewer.h"

namespace {

using rt::Kind;

constexpr rt::Control controls[]{
    {L"Комманда1", Kind::Button, L"Операторы", {4320, 1320, 1575, 2175}, 0},
    {L"Комманда4", Kind::Button, L"Общие сведения", {6240, 1320, 1575, 2175}, 1},
    {L"Комманда2", Kind::Button, L"разработчик", {720, 240, 1335, 495}, 2},
    {L"Комманда3", Kind::Button, L"End", {720, 1080, 1215, 375}, 3},
};

constexpr rt::Layout window_layout{
    L"с", L"Zazud Rared", {1875, 330, 10725, 7065}, rt::Border::FixedSingle, false, false,
    rt::State::Maximized, rt::Placement::Stored, background_bmp, controls,
};

constexpr rt::Binding<с> bindings[]{
    {L"Комманда1", &с::Комманда1_Click},
    {L"Комманда4", &с::Комманда4_Click},
    {L"Комманда2", &с::Комманда2_Click},
    {L"Комманда3", &с::Комманда3_Click},
};

static_assert(rt::in_tab_order(controls));
static_assert(rt::binds_every_button(window_layout, bindings));

}  // namespace

с::с() : Form(window_layout) {}

void с::click(std::wstring_view control) { rt::route(*this, bindings, control); }

void с::Комманда1_Click() {
    load_text_viewer(L"операторы.txt");
    rt::instance<nc>().show();
}

void с::Комманда4_Click() { load_text_viewer(L"Описание.txt"); }

void с::Комманда2_Click() { rt::message_box(L"Зумбарет", rt::Box::Information, L"Разработчик"); }

void с::Комманда3_Click() { rt::end_program(); }
