// A long random run over everything a user can reach, with the text files
// changing under the program: it must never die, hang, leak or show a box it
// has no business showing, and the viewer must always hold the last good load.
#include "driver.h"
#include "notes_table.h"

#include <psapi.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>

#include "windows/branching_window.h"
#include "windows/files_window.h"
#include "windows/graphics_window.h"
#include "windows/io_window.h"
#include "windows/loops_window.h"
#include "windows/main_window.h"
#include "windows/statement_menu.h"
#include "windows/text_viewer.h"

using namespace drive;

namespace {

// Windows and controls when every window is open at once: the most a sound program has.
template <class... Window>
std::size_t windows_and_controls() {
    return ((1 + rt::instance<Window>().layout().controls.size()) + ...);
}
const std::size_t most_windows = windows_and_controls<с, тс, nc, овв, uhfa, рабсфай, комветвл, комповт>();

// A window that the system makes for each thread of its own accord (the IME's), not the program.
bool system_window(HWND window) {
    const std::wstring name = class_name(window);
    return name == L"IME" || name == L"MSCTFIME UI";
}

constexpr unsigned seed = 20261210;  // printed; change it to replay another run
constexpr int actions = 2000;
constexpr int baseline_after = 200;  // leaks are measured from here on
constexpr Duration answer_within = 2s;

const std::wstring operators_file = L"операторы.txt";
const std::wstring description_file = L"Описание.txt";
const std::wstring alphabet_path = L"C:\\language\\Kelbu\\Алфавит.txt";

// A state a text file can be in; label is what the viewer shows after loading it,
// or nothing when loading must fail with an error box.
struct FileState {
    std::string_view name;
    std::string bytes;
    std::optional<std::wstring> label;
    bool folder = false, locked = false, missing = false;
};

std::string big_file() {
    std::string bytes;
    for (int i = 0; bytes.size() < 2'000'000; ++i)
        bytes += "\xF1\xF2\xF0\xEE\xEA\xE0 " + std::to_string(i) + " abcdefghijklmnopqrstuvwxyz\r\n";
    return bytes;
}

std::wstring big_label() {
    std::wstring text;
    for (int i = 0; text.size() < 2'000'000; ++i)
        text += L"строка " + std::to_wstring(i) + L" abcdefghijklmnopqrstuvwxyz\r\n";
    return text;
}

std::vector<FileState> file_states() {
    return {
        {"good", "\xEF\xE5\xF0\xE2\xE0\xFF\r\n\xE2\xF2\xEE\xF0\xE0\xFF\r\n", L"первая\r\nвторая\r\n"},
        {"missing", "", std::nullopt, false, false, true},
        {"empty", "", L""},
        {"folder of that name", "", std::nullopt, true},
        {"locked", "x\r\n", std::nullopt, false, true},
        {"2 MB", big_file(), big_label()},
        // The label's text ends at a NUL.
        {"NUL and control bytes", std::string("a\x01\x1B" "b\r\nc\0d\r\n", 10), std::wstring(L"a\x01\x1B" L"b\r\nc")},
        {"lone LF", "a\nb\n\nc", L"a\r\nb\r\n\r\nc\r\n"},
    };
}

struct AlphabetState {
    std::string_view name;
    std::optional<std::string> bytes;  // nothing: missing
    std::wstring text;
};

const AlphabetState alphabet_states[] = {
    {"alphabet", std::string("A B C\r\n0 1 2\r\n"), L"A B C\r\n0 1 2\r\n"},
    {"empty alphabet", std::string(), L""},
    {"missing alphabet", std::nullopt, L""},
};

// The note a button shows, the developer box among them; nothing for other buttons.
const Note developer{L"", L"с", L"разработчик", L"Разработчик", L"Зумбарет"};
const Note* note_of(std::wstring_view window, std::wstring_view button) {
    if (window == developer.window && button == developer.statement) return &developer;
    const auto found = std::ranges::find_if(
        notes, [&](const Note& note) { return note.window == window && note.statement == button; });
    return found == std::end(notes) ? nullptr : found;
}

// The class of the topic window that a menu button opens; empty for other buttons.
std::wstring window_opened_by(std::wstring_view button) {
    for (const Note& note : notes)
        if (note.topic == button) return std::wstring(note.window);
    return {};
}

bool contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// The program under test, and what it should show.
class Monkey {
public:
    Monkey() : program_({{operators_file, states_[0].bytes}, {description_file, states_[0].bytes}}) {
        program_.wait_window(main_class);
        set_alphabet(alphabet_states[0]);
    }
    ~Monkey() { remove_path(L"C:\\language"); }

    void run() {
        std::mt19937 random(seed);
        MESSAGE("monkey seed " << seed);
        for (step_ = 0; step_ < actions; ++step_) {
            if (step_ >= baseline_after && step_ % 100 == 0) change_files(random);
            if (step_ == baseline_after) baseline_ = measure();
            const int pick = std::uniform_int_distribution<>(0, 99)(random);
            if (pick < 60) click_any(random);
            else if (pick < 75) close_any(random);
            else press_tab();
            REQUIRE_MESSAGE(program_.running(), "the program ended at action " << step_);
        }
        change_files_to(0, 0, random);
        MESSAGE(done_[Done::Loaded] << " loads, " << done_[Done::Boxed] << " other boxes, " << done_[Done::Shown]
                                  << " windows shown, " << done_[Done::Closed] << " closed, " << done_[Done::Tabbed] << " Tabs");
        check_no_leaks();
    }

private:
    struct Usage {
        std::size_t windows = 0, committed = 0;
        DWORD gdi = 0, user = 0;
    };

    void set_file(const std::wstring& name, const FileState& state) {
        const std::wstring path = program_.path(name);
        locks_.erase(name);
        remove_path(path);
        if (state.missing) return;
        if (state.folder) return make_folder(path);
        write_file(path, state.bytes);
        if (state.locked) locks_.try_emplace(name, path);
    }

    void set_alphabet(const AlphabetState& state) {
        remove_path(L"C:\\language");
        if (state.bytes) write_file(alphabet_path, *state.bytes);
        alphabet_ = &state;
    }

    void change_files(std::mt19937& random) {
        std::uniform_int_distribution<std::size_t> any(0, states_.size() - 1);
        change_files_to(any(random), any(random), random);
    }

    void change_files_to(std::size_t operators, std::size_t description, std::mt19937& random) {
        set_file(operators_file, states_[operators]);
        set_file(description_file, states_[description]);
        file_[operators_file] = &states_[operators];
        file_[description_file] = &states_[description];
        set_alphabet(alphabet_states[std::uniform_int_distribution<>(0, 2)(random)]);
    }

    // Top-level windows of the program that a user can act on.
    std::vector<HWND> open_windows() const {
        std::vector<HWND> found;
        for (HWND w : program_.windows())
            if (IsWindowVisible(w) && class_name(w) != L"#32770") found.push_back(w);
        return found;
    }

    void click_any(std::mt19937& random) {
        // A window first, then one of its buttons: else the sixteen notes would take most clicks.
        std::vector<std::vector<HWND>> windows;
        for (HWND w : open_windows()) {
            std::vector<HWND> buttons;
            for (HWND c : children(w))
                if (class_name(c) == L"Button" && text(c) != L"End") buttons.push_back(c);
            if (!buttons.empty()) windows.push_back(std::move(buttons));
        }
        if (windows.empty()) return;
        const auto& buttons = windows[std::uniform_int_distribution<std::size_t>(0, windows.size() - 1)(random)];
        const HWND button = buttons[std::uniform_int_distribution<std::size_t>(0, buttons.size() - 1)(random)];
        const HWND window = GetParent(button);
        const std::wstring cls = class_name(window), caption = text(button);
        const bool viewer_was_open = !program_.windows(viewer_class).empty();
        INFO("action " << step_ << ": click \"" << utf8(caption) << "\" in " << utf8(cls));

        // The click is over when the callback comes; a box comes up before that.
        const int click = ++clicks_;
        REQUIRE(SendMessageCallbackW(button, BM_CLICK, 0, 0, &Monkey::clicked, reinterpret_cast<ULONG_PTR>(this)));
        std::optional<Box> box;
        const auto deadline = std::chrono::steady_clock::now() + answer_within;
        while (answered_ < click) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            if (answered_ >= click) break;
            if (!box && !program_.boxes().empty()) box = program_.wait_box(answer_within);
            if (box) break;
            REQUIRE_MESSAGE(std::chrono::steady_clock::now() < deadline, "no answer to the click");
            Sleep(1);
        }

        const bool loads = cls == main_class && (caption == L"Операторы" || caption == L"Общие сведения");
        if (loads) {
            const FileState& state = *file_[caption == L"Операторы" ? operators_file : description_file];
            ++done_[Done::Loaded];
            if (!viewer_was_open) label_ = L"Метка1";  // built again from its layout
            if (state.label) {
                CHECK_MESSAGE(!box, "a box after loading " << state.name);
                label_ = *state.label;
                if (caption == L"Операторы") CHECK(!program_.windows(menu_class).empty());
            } else {
                REQUIRE_MESSAGE(box, "no error box for " << state.name);
                CHECK(box->title == L"Лумиса");
                CHECK(box->icon == Icon::Error);
                CHECK(contains(box->text, caption == L"Операторы" ? L"«операторы.txt»" : L"«Описание.txt»"));
            }
        } else if (cls == menu_class && caption == L"Алфавит языка Бейсик") {
            REQUIRE(box);
            ++done_[Done::Boxed];
            CHECK(box->title == L"Лумиса");
            if (alphabet_->bytes) {
                CHECK(box->icon == Icon::None);
                CHECK(box->text == alphabet_->text);
            } else {
                CHECK(box->icon == Icon::Error);
                CHECK(contains(box->text, L"«Алфавит.txt»"));
            }
        } else if (const Note* note = note_of(cls, caption)) {
            REQUIRE(box);
            ++done_[Done::Boxed];
            CHECK(box->title == note->title);
            CHECK(box->text == note->text);
            CHECK(box->icon == Icon::Information);
        } else {
            const std::wstring opened = window_opened_by(caption);
            REQUIRE_MESSAGE(!opened.empty(), "an unknown button");
            CHECK_MESSAGE(!box, "a box from a navigation button");
            const HWND shown = program_.wait_window(opened, answer_within);
            CHECK(program_.windows(opened).size() == 1);
            CHECK(IsWindowVisible(shown));
            ++done_[Done::Shown];
        }
        if (box) {
            CHECK(box->buttons == std::vector<std::wstring>{L"OK"});
            box->press_ok();
            wait_answered(click);
        }
        if (loads) check_label();
    }

    static void CALLBACK clicked(HWND, UINT, ULONG_PTR self, LRESULT) {
        ++reinterpret_cast<Monkey*>(self)->answered_;
    }

    void wait_answered(int click) {
        const auto deadline = std::chrono::steady_clock::now() + answer_within;
        while (answered_ < click) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            REQUIRE_MESSAGE(std::chrono::steady_clock::now() < deadline, "the click does not end after its box");
            Sleep(1);
        }
    }

    void check_label() {
        const auto viewers = program_.windows(viewer_class);
        REQUIRE(viewers.size() == 1);
        const std::wstring shown = text(children(viewers.front()).front());
        CHECK_MESSAGE(shown == label_, "the label holds " << shown.size() << " characters, not " << label_.size());
    }

    void close_any(std::mt19937& random) {
        auto windows = open_windows();
        // The main window goes only near the end: nothing brings it back, and with it
        // gone most of the program is out of reach.
        if (step_ < actions - 100) std::erase_if(windows, [](HWND w) { return class_name(w) == main_class; });
        if (windows.size() < 2) return;  // the last window stays: closing it ends the program
        const HWND window = windows[std::uniform_int_distribution<std::size_t>(0, windows.size() - 1)(random)];
        INFO("action " << step_ << ": close " << utf8(class_name(window)));
        close(window);
        wait_gone(window, answer_within);
        ++done_[Done::Closed];
    }

    void press_tab() {
        const HWND focus = program_.focus();
        if (!focus) return;
        press_key(focus, VK_TAB);
        ++done_[Done::Tabbed];
        DWORD_PTR result = 0;
        CHECK_MESSAGE(SendMessageTimeoutW(focus, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result),
                      "no answer after Tab at action " << step_);
    }

    Usage measure() const {
        Usage usage;
        for (HWND w : program_.windows())
            if (!system_window(w)) usage.windows += 1 + children(w).size();
        // The commit charge; Wine leaves PrivateUsage at 0 for another process.
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(program_.handle(), &memory, sizeof memory);
        usage.committed = memory.PagefileUsage;
        usage.gdi = GetGuiResources(program_.handle(), GR_GDIOBJECTS);
        usage.user = GetGuiResources(program_.handle(), GR_USEROBJECTS);
        return usage;
    }

    void check_no_leaks() {
        const Usage end = measure();
        MESSAGE("after " << baseline_after << " actions: " << baseline_.windows << " windows, "
                         << baseline_.committed / 1024 << " KiB; after " << actions << ": " << end.windows
                         << " windows (at most " << most_windows << "), " << end.committed / 1024 << " KiB");
        CHECK(end.windows <= most_windows);
        // One 2 MB text may be held by the label; a leak of every load would be far more.
        CHECK(end.committed <= baseline_.committed + 24 * 1024 * 1024);
        // Wine does not count GDI and USER objects (it answers 0); Windows does.
        if (baseline_.gdi) CHECK(end.gdi <= baseline_.gdi + 8);
        if (baseline_.user) CHECK(end.user <= baseline_.user + most_windows);
        // No file was left open: each can be opened with no sharing.
        locks_.clear();
        for (const auto& name : {operators_file, description_file}) {
            const HANDLE h = CreateFileW(program_.path(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            CHECK_MESSAGE(h != INVALID_HANDLE_VALUE, "a file is still open: " << utf8(name));
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
    }

    std::vector<FileState> states_ = file_states();
    Program program_;
    std::map<std::wstring, const FileState*> file_{{operators_file, &states_[0]}, {description_file, &states_[0]}};
    std::map<std::wstring, Lock> locks_;
    const AlphabetState* alphabet_ = nullptr;
    std::wstring label_ = L"Метка1";
    Usage baseline_;
    int step_ = 0;
    enum Done { Loaded, Boxed, Shown, Closed, Tabbed, Kinds };
    int done_[Kinds] = {};
    int clicks_ = 0, answered_ = 0;
};

}  // namespace

TEST_SUITE("monkey") {
    TEST_CASE("a long random run with changing files") { Monkey().run(); }
}
