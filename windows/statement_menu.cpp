#include "windows/statement_menu.h"

#include "runtime/message_box.h"
#include "runtime/text_file.h"
#include "windows/branching_window.h"
#include "windows/files_window.h"
#include "windows/graphics_window.h"
#include "windows/io_window.h"
#include "windows/loops_window.h"

namespace {

using rt::Kind;

constexpr rt::Control controls[]{
    {L"Комманда1", Kind::Button, L"Операторы ввода вывода", {360, 120, 1335, 735}, 0},
    {L"Комманда2", Kind::Button, L"Графические операторы", {2160, 120, 1335, 735}, 1},
    {L"Комманда3", Kind::Button, L"Алфавит языка Бейсик", {360, 1080, 1335, 735}, 2},
    {L"Комманда4", Kind::Button, L"Команды ветвления ", {2160, 1080, 1335, 735}, 3},
    {L"Комманда5", Kind::Button, L"Команды повторения", {360, 2040, 1335, 735}, 4},
    {L"Комманда6", Kind::Button, L"Работа с файлами", {2160, 2040, 1335, 735}, 5},
};

constexpr rt::Layout window_layout{
    L"nc", L"Zazud Rared", {6840, 855, 3810, 3195}, rt::Border::Sizable, true, true,
    rt::State::Normal, rt::Placement::Stored, nullptr, controls,
};

constexpr rt::Binding<nc> bindings[]{
    {L"Комманда1", &nc::Комманда1_Click}, {L"Комманда2", &nc::Комманда2_Click},
    {L"Комманда3", &nc::Комманда3_Click}, {L"Комманда4", &nc::Комманда4_Click},
    {L"Комманда5", &nc::Комманда5_Click}, {L"Комманда6", &nc::Комманда6_Click},
};

static_assert(rt::in_tab_order(controls));
static_assert(rt::binds_every_button(window_layout, bindings));

// The name ends in a dot, which Windows drops: the file read is Алфавит.txt.
constexpr std::wstring_view alphabet_file = L"c:\\language\\Kelbu\\Алфавит.txt.";

}  // namespace

nc::nc() : Form(window_layout) {}

void nc::click(std::wstring_view control) { rt::route(*this, bindings, control); }

void nc::Комманда1_Click() { rt::instance<овв>().show(); }
void nc::Комманда2_Click() { rt::instance<uhfa>().show(); }
void nc::Комманда4_Click() { rt::instance<комветвл>().show(); }
void nc::Комманда5_Click() { rt::instance<комповт>().show(); }
void nc::Комманда6_Click() { rt::instance<рабсфай>().show(); }

// A failure to open or read the file is reported as such, never as an empty alphabet.
void nc::Комманда3_Click() { rt::message_box(rt::read_lines(alphabet_file), rt::Box::Plain); }
