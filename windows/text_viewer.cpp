#include "windows/text_viewer.h"

#include "runtime/error.h"
#include "runtime/program_folder.h"
#include "runtime/text_file.h"

namespace {

constexpr rt::Control controls[]{
    {L"www", rt::Kind::Label, L"Метка1", {120, 120, 4575, 5175}, 0},
};

constexpr rt::Layout window_layout{
    L"тс", L"Кварнедо", {825, 3420, 4740, 5115}, rt::Border::FixedSingle, false, false,
    rt::State::Normal, rt::Placement::Stored, nullptr, controls,
};

static_assert(rt::in_tab_order(controls));

}  // namespace

тс::тс() : Form(window_layout) {}

void тс::click(std::wstring_view) {}

void load_text_viewer(std::wstring_view file_name) {
    rt::enter_program_folder();
    rt::instance<тс>().show();
    const std::wstring text = rt::read_lines(file_name);
    try {
        rt::instance<тс>().set_text(L"www", text);
    } catch (const rt::Error& error) {
        // Told as a failure with the file, as its other failures are.
        if (!error.code()) throw;
        rt::raise_file_error(L"показать", file_name, error.code());
    }
}
