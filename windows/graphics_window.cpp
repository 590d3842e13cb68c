#include "windows/graphics_window.h"

#include "windows/note.h"

namespace {

using rt::Kind;

constexpr rt::Control controls[]{
    {L"Комманда1", Kind::Button, L"cls", {360, 360, 1215, 495}, 0},
    {L"Комманда2", Kind::Button, L"color", {360, 1080, 1215, 495}, 1},
    {L"Комманда3", Kind::Button, L"circle", {360, 1800, 1215, 495}, 2},
    {L"Комманда4", Kind::Button, L"line", {360, 2520, 1215, 495}, 3},
    {L"Комманда5", Kind::Button, L"preset", {1800, 360, 1095, 495}, 4},
    {L"Комманда6", Kind::Button, L"pset", {1800, 1080, 1095, 495}, 5},
    {L"Комманда7", Kind::Button, L"draw", {1800, 1800, 1095, 495}, 6},
    {L"Комманда8", Kind::Button, L"paint", {1800, 2520, 1095, 495}, 7},
};

constexpr rt::Layout window_layout{
    L"uhfa", L"графические операторы", {8925, 4710, 3285, 3195}, rt::Border::Sizable, true, true,
    rt::State::Normal, rt::Placement::Stored, nullptr, controls,
};

constexpr rt::Binding<uhfa> bindings[]{
    {L"Комманда1", &uhfa::Комманда1_Click}, {L"Комманда2", &uhfa::Комманда2_Click},
    {L"Комманда3", &uhfa::Комманда3_Click}, {L"Комманда4", &uhfa::Комманда4_Click},
    {L"Комманда5", &uhfa::Комманда5_Click}, {L"Комманда6", &uhfa::Комманда6_Click},
    {L"Комманда7", &uhfa::Комманда7_Click}, {L"Комманда8", &uhfa::Комманда8_Click},
};

static_assert(rt::in_tab_order(controls));
static_assert(rt::binds_every_button(window_layout, bindings));

constexpr Note cls{L"Cls", L"cls очистка экрана"};
constexpr Note color{L"color", L"color выбор цвета"};
constexpr Note circle{L"circle", L"circle вычерчивание окружностей"};
constexpr Note line{L"line", L"line вычерчивание линий"};
constexpr Note preset{L"preset", L"preset рисование точки"};
constexpr Note pset{L"pset", L" pset рисование точки"};  // the text begins with a blank
constexpr Note draw{L"draw", L"draw вычерчивание фигур"};
constexpr Note paint{L"paint", L"paint заливка области рисунка"};

}  // namespace

uhfa::uhfa() : Form(window_layout) {}

void uhfa::click(std::wstring_view control) { rt::route(*this, bindings, control); }

void uhfa::Комманда1_Click() { show_note(cls); }
void uhfa::Комманда2_Click() { show_note(color); }
void uhfa::Комманда3_Click() { show_note(circle); }
void uhfa::Комманда4_Click() { show_note(line); }
void uhfa::Комманда5_Click() { show_note(preset); }
void uhfa::Комманда6_Click() { show_note(pset); }
void uhfa::Комманда7_Click() { show_note(draw); }
void uhfa::Комманда8_Click() { show_note(paint); }
