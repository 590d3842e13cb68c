// Times Кварнедо against the bare floor program, both started from here under the same Wine.
//   bench.exe DIR PICTURE RUNS OUT [startup] [load] [note]
// DIR holds bare.exe, fixtures\{small,medium,large}.txt and stage\{small,medium,large}\ with a
// copy of the program and its Описание.txt. PICTURE is the 800x600 .bmp both windows show.
// The table goes to OUT (UTF-8).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// Owners of what the benchmark opens.
struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;
struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;
struct GdiDeleter {
    void operator()(HGDIOBJ o) const { DeleteObject(o); }
};
using GdiObject = std::unique_ptr<void, GdiDeleter>;
struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC until the object goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

const wchar_t* const main_class = L"\u0441";          // с
const wchar_t* const viewer_class = L"\u0442\u0441";  // тс
const wchar_t* const menu_class = L"nc";
const wchar_t* const graphics_class = L"uhfa";
const wchar_t* const exe_name = L"Кварнедо.exe";

constexpr double wait_limit_ms = 30000;
// Rests before a measured click, once the subject has drawn everything: not a wait for a
// state, which is waited for as such, but time for the work that Wine does later still. After
// the first complete paint a process has late start-up work for some 100 ms (clicked after
// 50 ms, the loads of both programs took 8 ms more in half the runs); after a box, activation
// going back to the window under it.
constexpr DWORD settle_ms = 200;
constexpr DWORD rest_ms = 100;

std::wstring dir;
std::vector<unsigned char> picture;  // the .bmp file
int picture_w = 0, picture_h = 0, picture_stride = 0;
const unsigned char* picture_bits = nullptr;
uint32_t face = 0;  // button face as 0xRRGGBB
FILE* out = nullptr;
FILE* log_file = nullptr;

double now_ms() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

void note(const char* format, const char* what, double value) {
    std::fprintf(log_file, format, what, value);
    std::fflush(log_file);
}

bool read_all(const std::wstring& path, std::vector<unsigned char>& bytes) {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const Handle f(h);
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD count = 0;
    return ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) && count == bytes.size();
}

unsigned long long file_size(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

uint32_t picture_at(int x, int y) {
    const unsigned char* p = picture_bits + (picture_h - 1 - y) * picture_stride + x * 3;
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

// ---- windows of another process

struct Find {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK find_top(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<Find*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != f->pid) return TRUE;
    wchar_t name[64];
    if (!GetClassNameW(w, name, 64) || std::wcscmp(name, f->cls) != 0) return TRUE;
    f->found = w;
    return FALSE;
}

HWND top_window(DWORD pid, const wchar_t* cls) {
    Find f{pid, cls, nullptr};
    EnumWindows(find_top, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

struct Pending {
    DWORD pid;
    bool any;
};

BOOL CALLBACK child_pending(HWND w, LPARAM p) {
    auto* pending = reinterpret_cast<Pending*>(p);
    if (IsWindowVisible(w) && GetUpdateRect(w, nullptr, FALSE)) pending->any = true;
    return !pending->any;
}

BOOL CALLBACK top_pending(HWND w, LPARAM p) {
    auto* pending = reinterpret_cast<Pending*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != pending->pid || !IsWindowVisible(w)) return TRUE;
    if (GetUpdateRect(w, nullptr, FALSE)) pending->any = true;
    else EnumChildWindows(w, child_pending, p);
    return !pending->any;
}

// Waits until no visible window of the process, nor any of their controls, has anything
// left to paint; false if that does not come.
bool wait_repainted(DWORD pid) {
    const double limit = now_ms() + wait_limit_ms;
    for (;;) {
        Pending pending{pid, false};
        EnumWindows(top_pending, reinterpret_cast<LPARAM>(&pending));
        if (!pending.any) return true;
        if (now_ms() > limit) return false;
        Sleep(1);
    }
}

struct Kids {
    HWND top;
    std::vector<RECT>* rects;
};

BOOL CALLBACK add_kid(HWND w, LPARAM p) {
    auto* c = reinterpret_cast<Kids*>(p);
    if (GetParent(w) != c->top || !IsWindowVisible(w)) return TRUE;
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, c->top, reinterpret_cast<POINT*>(&r), 2);
    c->rects->push_back(r);
    return TRUE;
}

std::vector<RECT> child_rects(HWND top) {
    std::vector<RECT> rects;
    Kids kids{top, &rects};
    EnumChildWindows(top, add_kid, reinterpret_cast<LPARAM>(&kids));
    return rects;
}

// Client pixels of a window as they are on screen, 0xRRGGBB, in client coordinates.
// Under Wine in Xvfb a capture costs about 0.4 ms plus 33 ns a pixel: 16 ms for the whole
// picture, so the polls look at a few bands and take the whole picture only to confirm.
struct Shot {
    RECT area{};
    std::vector<uint32_t> px;
    bool has(int x, int y) const { return x >= area.left && x < area.right && y >= area.top && y < area.bottom; }
    uint32_t at(int x, int y) const {
        return px[(y - area.top) * (area.right - area.left) + (x - area.left)] & 0xFFFFFF;
    }
};

bool capture(HWND window, RECT area, Shot& shot) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return false;
    const WindowDc src(window);
    if (!src.get()) return false;
    const MemoryDc mem(CreateCompatibleDC(src.get()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const GdiObject dib(CreateDIBSection(mem.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!mem || !dib) return false;
    const Selection selected(mem.get(), dib.get());
    if (!BitBlt(mem.get(), 0, 0, w, h, src.get(), area.left, area.top, SRCCOPY)) return false;
    GdiFlush();
    shot.area = area;
    shot.px.assign(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + w * h);
    return true;
}

bool dark(uint32_t c) { return ((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255) < 300; }

int dark_pixels(const Shot& s, RECT r, int inset) {
    int n = 0;
    for (int y = std::max(s.area.top, r.top + inset); y < std::min(s.area.bottom, r.bottom - inset); ++y)
        for (int x = std::max(s.area.left, r.left + inset); x < std::min(s.area.right, r.right - inset); ++x)
            n += dark(s.at(x, y));
    return n;
}

// Within the shot: outside the buttons the picture, each button mostly its face colour, and
// with text when the whole button is in the shot.
const char* check_shot(const Shot& shot, const std::vector<RECT>& kids, int step) {
    auto in_kid = [&](int x, int y) {
        for (const RECT& r : kids)
            if (x >= r.left - 1 && x <= r.right && y >= r.top - 1 && y <= r.bottom) return true;
        return false;
    };
    const RECT& a = shot.area;
    for (int y = a.top; y < a.bottom; y += step)
        for (int x = a.left + step / 3; x < a.right; x += step)
            if (!in_kid(x, y) && shot.at(x, y) != picture_at(x, y)) return "picture";
    for (const RECT& r : kids) {
        int faces = 0, all = 0;
        for (int y = r.top + 4; y < r.bottom - 4; ++y)
            for (int x = r.left + 4; x < r.right - 4; ++x) {
                if (!shot.has(x, y)) continue;
                ++all;
                faces += shot.at(x, y) == face;
            }
        if (faces * 2 < all) return "button face";
        const bool whole = r.top >= a.top && r.bottom <= a.bottom && r.left >= a.left && r.right <= a.right;
        if (whole && dark_pixels(shot, r, 4) < 5) return "button text";
    }
    return nullptr;
}

// The main window is up, maximized, with its buttons: their rectangles, or empty.
const char* last_miss = "";
std::vector<RECT> ready_kids(HWND top, std::size_t buttons) {
    if (!IsWindowVisible(top)) return last_miss = "hidden", std::vector<RECT>{};
    if (!IsZoomed(top)) return last_miss = "not maximized", std::vector<RECT>{};
    RECT client;
    GetClientRect(top, &client);
    if (client.right < picture_w || client.bottom < picture_h) return last_miss = "small client", std::vector<RECT>{};
    std::vector<RECT> kids = child_rects(top);
    if (kids.size() < buttons) return last_miss = "buttons missing", std::vector<RECT>{};
    return kids;
}

// A quick look: bands ten pixels high through the middle of each button and at the top and
// the bottom of the picture (about 3 ms).
bool bands_painted(HWND top, const std::vector<RECT>& kids) {
    std::vector<int> rows{0, picture_h - 10};
    for (const RECT& r : kids) rows.push_back((r.top + r.bottom) / 2 - 5);
    static Shot shot;
    for (int y : rows) {
        y = std::clamp(y, 0, picture_h - 10);
        if (!capture(top, RECT{0, y, picture_w, y + 10}, shot)) return last_miss = "capture", false;
        if (const char* miss = check_shot(shot, kids, 3)) return last_miss = miss, false;
    }
    return true;
}

// The whole picture and every button, text included.
bool fully_painted(HWND top, const std::vector<RECT>& kids) {
    static Shot shot;
    if (!capture(top, RECT{0, 0, picture_w, picture_h}, shot)) return last_miss = "capture", false;
    if (const char* miss = check_shot(shot, kids, 7)) return last_miss = miss, false;
    return true;
}

// ---- processes

// A program started from here; ended, and its handles closed, when the object goes.
class Proc {
public:
    Proc(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd) {
        std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ok_ = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi_);
    }
    ~Proc() { finish(); }
    Proc(const Proc&) = delete;
    Proc& operator=(const Proc&) = delete;

    bool ok() const { return ok_; }
    DWORD id() const { return pi_.dwProcessId; }
    HANDLE process() const { return pi_.hProcess; }
    bool exited() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; }

    void finish() {
        if (!ok_) return;
        ok_ = false;
        TerminateProcess(pi_.hProcess, 0);
        WaitForSingleObject(pi_.hProcess, 10000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }

private:
    PROCESS_INFORMATION pi_{};
    bool ok_ = false;
};

// How long one quick look at the screen takes: the resolution of start-up.
std::vector<double> poll_steps;
int unconfirmed = 0;  // quick looks that passed where the whole picture did not

// Polls until the main window of p is completely painted; returns the time of the quick look
// that saw it, once the whole picture confirms it; -1 if it never comes.
double wait_painted(const Proc& p, const wchar_t* cls, HWND* main) {
    const double limit = now_ms() + wait_limit_ms;
    last_miss = "no window";
    while (now_ms() < limit && !p.exited()) {
        const HWND w = top_window(p.id(), cls);
        const std::vector<RECT> kids = w ? ready_kids(w, 4) : std::vector<RECT>{};
        if (!kids.empty()) {
            const double look = now_ms();
            const bool seen = bands_painted(w, kids);
            const double seen_at = now_ms();
            poll_steps.push_back(seen_at - look);
            if (seen) {
                if (fully_painted(w, kids)) {
                    if (main) *main = w;
                    return seen_at;
                }
                ++unconfirmed;
                std::fprintf(log_file, "quick look passed, whole picture not: %s\n", last_miss);
            }
        }
        Sleep(1);
    }
    note("start-up: gave up (%s)%.0f\n", last_miss, 0);
    return -1;
}

HWND wait_window(const Proc& p, const wchar_t* cls) {
    const double limit = now_ms() + wait_limit_ms;
    while (now_ms() < limit && !p.exited()) {
        const HWND w = top_window(p.id(), cls);
        if (w && IsWindowVisible(w) && IsWindowEnabled(w)) return w;
        Sleep(1);
    }
    return nullptr;
}

void click(HWND parent, int id) {
    PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

// ---- statistics and the table

double median_of(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Series {
    std::vector<double> v;
    bool failed = false;
    void add(double x) {
        if (x < 0) failed = true;
        else v.push_back(x);
    }
    double median() const { return median_of(v); }
    double min() const { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
    double max() const { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }
};

// The mean of the middle half: steadier from run to run than the median, and as deaf to the
// quarter of runs at either end, which other work on the machine slows or a lucky run speeds.
double middle_mean(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t cut = v.size() / 4;
    double sum = 0;
    for (std::size_t i = cut; i < v.size() - cut; ++i) sum += v[i];
    return sum / static_cast<double>(v.size() - 2 * cut);
}

// The program and the floor measured in turn, a pair at a time, which one first left to chance.
// The figure judged is the middle mean of the pairs' ratios: a pair's two runs are a second
// apart, so a machine busy with other work slows both.
struct Pairs {
    Series program, floor;
    std::vector<double> ratios;

    template <class Program, class Floor>
    void run(Program&& run_program, Floor&& run_floor) {
        double p = 0, f = 0;
        if (coin()) {
            p = run_program();
            f = run_floor();
        } else {
            f = run_floor();
            p = run_program();
        }
        program.add(p);
        floor.add(f);
        if (p >= 0 && f > 0) ratios.push_back(p / f);
        std::fprintf(log_file, "pair program %.3f floor %.3f\n", p, f);
    }
    bool ok() const { return !program.failed && !floor.failed && !ratios.empty(); }
    double ratio() const { return middle_mean(ratios); }
    double ratio_of_minima() const { return floor.min() > 0 ? program.min() / floor.min() : 0; }

    static bool coin() {
        static std::minstd_rand random(20261210);
        return random() & 1;
    }
};

std::string cell(const Series& s, const char* unit, int digits) {
    if (s.failed || s.v.empty()) return "FAILED";
    char b[128];
    std::snprintf(b, sizeof b, "%.*f %s (%.*f–%.*f)", digits, s.median(), unit, digits, s.min(), digits, s.max());
    return b;
}

// measure, pairs, program, floor, ratio, ratio of minima, goal, met?
constexpr std::size_t columns = 8;
using Row = std::array<std::string, columns>;
std::vector<Row> rows;
bool all_met = true;

void add_row(const char* measure, const Pairs& m, const char* unit, int digits, double goal) {
    char b[64];
    std::snprintf(b, sizeof b, "%zu", m.ratios.size());
    Row r{measure, b, cell(m.program, unit, digits), cell(m.floor, unit, digits), "-", "-", "", "NO"};
    std::snprintf(b, sizeof b, "<= %.2f", goal);
    r[6] = b;
    if (m.ok()) {
        std::snprintf(b, sizeof b, "%.2f", m.ratio());
        r[4] = b;
        std::snprintf(b, sizeof b, "%.2f", m.ratio_of_minima());
        r[5] = b;
        r[7] = m.ratio() <= goal ? "yes" : "NO";
    }
    all_met = all_met && r[7] == "yes";
    rows.push_back(r);
}

// UTF-8 aware width: count code points.
std::size_t width(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

void print_table(double seconds) {
    std::vector<Row> all{{"measure", "pairs", "program median (min–max)", "floor median (min–max)", "ratio",
                          "of minima", "goal", "met?"}};
    all.insert(all.end(), rows.begin(), rows.end());
    std::size_t w[columns]{};
    for (const Row& r : all)
        for (std::size_t i = 0; i < columns; ++i) w[i] = std::max(w[i], width(r[i]));
    for (std::size_t k = 0; k < all.size(); ++k) {
        std::string line;
        for (std::size_t i = 0; i < columns; ++i) {
            if (i) line += " | ";
            line += all[k][i];
            if (i + 1 < columns) line.append(w[i] - width(all[k][i]), ' ');
        }
        std::fprintf(out, "%s\n", line.c_str());
        if (k == 0) {
            std::string rule;
            for (std::size_t i = 0; i < columns; ++i) rule += std::string(w[i] + (i ? 3 : 0), '-');
            std::fprintf(out, "%s\n", rule.c_str());
        }
    }
    std::fprintf(out, "\nProgram and floor run in pairs, in a shuffled order; ratio = mean of the middle half "
                 "of the pairs' ratios (judged against the goal), beside the ratio of the two minima.\n");
    if (!poll_steps.empty()) {
        std::sort(poll_steps.begin(), poll_steps.end());
        std::fprintf(out, "Start-up is seen to within one quick look at the screen: %.1f ms median "
                     "(%zu looks; %d passed before the whole picture).\n",
                     poll_steps[poll_steps.size() / 2], poll_steps.size(), unconfirmed);
    }
    std::fprintf(out, "%.0f s in all. %s\n", seconds,
                 all_met ? "Every goal met." : "Some goals missed.");
}

// ---- the measures

struct Subject {
    bool program;
    std::wstring exe, args, cwd;
    const wchar_t* main_cls;
    const wchar_t* viewer_cls;
};

std::wstring stage(const wchar_t* size) { return dir + L"\\stage\\" + size; }
std::wstring fixture(const wchar_t* size) { return dir + L"\\fixtures\\" + size + L".txt"; }

Subject program_in(const wchar_t* size) {
    return {true, stage(size) + L"\\" + exe_name, L"", stage(size), main_class, viewer_class};
}
Subject floor_with(const wchar_t* size) {
    return {false, dir + L"\\bare.exe", std::wstring(L"load \"") + fixture(size) + L"\"", dir, L"bare", L"bare_text"};
}

double startup_once(const Subject& s) {
    const double t0 = now_ms();
    Proc p(s.exe, s.args, s.cwd);
    if (!p.ok()) return -1;
    const double t1 = wait_painted(p, s.main_cls, nullptr);
    p.finish();
    return t1 < 0 ? -1 : t1 - t0;
}

// Starts s, clicks its load button and waits for the whole text in the label.
// Returns the load time; the peak working set afterwards goes to *peak_mb (-1 if the load failed).
double load_once(const Subject& s, unsigned long long expected, double* peak_mb) {
    Proc p(s.exe, s.args, s.cwd);
    if (peak_mb) *peak_mb = -1;
    if (!p.ok()) return -1;
    HWND main = nullptr;
    if (wait_painted(p, s.main_cls, &main) < 0 || !wait_repainted(p.id())) return -1;
    Sleep(settle_ms);
    const double t0 = now_ms();
    click(main, 101);
    double t1 = -1;
    const double limit = t0 + wait_limit_ms;
    // No sleeping between looks: a message sent to the subject is answered once its thread is
    // back at its message loop, so each look waits exactly as long as the click is still busy.
    while (now_ms() < limit && !p.exited()) {
        const HWND viewer = top_window(p.id(), s.viewer_cls);
        const HWND label = viewer ? GetDlgItem(viewer, 100) : nullptr;
        DWORD_PTR length = 0;
        if (!label) {
            SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &length);
            continue;
        }
        if (SendMessageTimeoutW(label, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 30000, &length) &&
            length == expected) {
            t1 = now_ms();
            break;
        }
    }
    if (t1 < 0) note("load: gave up%s%.0f\n", "", 0);
    std::fprintf(log_file, "load %s click %.3f done %.3f\n", s.program ? "program" : "floor", t0, t1);
    if (peak_mb && t1 >= 0) {
        wait_repainted(p.id());  // the label drawn with its text
        PROCESS_MEMORY_COUNTERS pmc{};
        pmc.cb = sizeof pmc;
        *peak_mb = GetProcessMemoryInfo(p.process(), &pmc, sizeof pmc)
                       ? static_cast<double>(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0)
                       : -1;
    }
    p.finish();
    return t1 < 0 ? -1 : t1 - t0;
}

// Click on the note button, wait for a visible box of the process with its text drawn, close it.
double box_once(const Proc& p, HWND parent, int id) {
    const double t0 = now_ms();
    click(parent, id);
    const double limit = t0 + wait_limit_ms;
    double t1 = -1;
    HWND box = nullptr;
    Shot shot;
    while (now_ms() < limit && !p.exited()) {
        box = top_window(p.id(), L"#32770");
        if (box && IsWindowVisible(box)) {
            const HWND text = GetDlgItem(box, 0xFFFF);
            RECT r;
            if (text && IsWindowVisible(text) && GetWindowRect(text, &r)) {
                MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
                if (capture(box, r, shot) && dark_pixels(shot, r, 0) >= 20) {
                    t1 = now_ms();
                    break;
                }
            }
        }
        Sleep(1);
    }
    if (!box) return -1;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    const double gone = now_ms() + wait_limit_ms;
    while (now_ms() < gone && (IsWindow(box) || !IsWindowEnabled(parent))) Sleep(1);
    if (IsWindow(box) || !IsWindowEnabled(parent)) {
        note("box: still up%s %.0f ms after OK\n", "", wait_limit_ms);
        return -1;
    }
    // The windows under the box repaint; then a rest, as before each measured click, for the
    // work that comes later still (activation going back to the window).
    if (!wait_repainted(p.id())) return -1;
    Sleep(rest_ms);
    return t1 < 0 ? -1 : t1 - t0;
}

// A running subject, ready on the window that holds its note button (no parent if it failed:
// after a failed box, no more boxes are timed, since the next one could be the old box).
struct NoteSubject {
    Proc p;
    HWND parent = nullptr;
    int id = 100;

    explicit NoteSubject(const Subject& s) : p(s.exe, s.args, s.cwd) {
        HWND main = nullptr;
        if (!p.ok() || wait_painted(p, s.main_cls, &main) < 0) return;
        if (!s.program) {
            parent = main;
            return;
        }
        // Операторы, then Графические операторы; circle is the third button there.
        click(main, 100);
        const HWND menu = wait_window(p, menu_class);
        if (!menu || !wait_repainted(p.id())) return;
        click(menu, 101);
        parent = wait_window(p, graphics_class);
        if (!wait_repainted(p.id())) parent = nullptr;
        id = 102;
    }
    double box() {
        const double time = parent ? box_once(p, parent, id) : -1;
        if (time < 0) parent = nullptr;
        return time;
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: bench DIR PICTURE RUNS OUT [startup] [load] [note]\n");
        return 2;
    }
    dir = argv[1];
    const int runs = std::max(1, _wtoi(argv[3]));
    const File out_owner(_wfopen(argv[4], L"wb"));
    const File log_owner(_wfopen((std::wstring(argv[4]) + L".log").c_str(), L"wb"));
    out = out_owner.get();
    log_file = log_owner.get();
    if (!out || !log_file) return 2;
    if (!read_all(argv[2], picture) || picture.size() < 54) {
        std::fprintf(out, "cannot read the picture\n");
        return 2;
    }
    {
        BITMAPFILEHEADER fh;
        BITMAPINFOHEADER ih;
        std::memcpy(&fh, picture.data(), sizeof fh);
        std::memcpy(&ih, picture.data() + sizeof fh, sizeof ih);
        picture_w = ih.biWidth;
        picture_h = ih.biHeight;
        picture_stride = (picture_w * 3 + 3) & ~3;
        picture_bits = picture.data() + fh.bfOffBits;
    }
    const COLORREF f = GetSysColor(COLOR_BTNFACE);
    face = (uint32_t(GetRValue(f)) << 16) | (uint32_t(GetGValue(f)) << 8) | GetBValue(f);
    // Names after OUT pick measures: startup, load (with the working set), note.
    auto wanted = [&](const wchar_t* name) {
        if (argc <= 5) return true;
        for (int i = 5; i < argc; ++i)
            if (std::wcscmp(argv[i], name) == 0) return true;
        return false;
    };
    const double started = now_ms();
    const Subject program = program_in(L"medium"), floor = floor_with(L"medium");

    // 1. Start-up, alternating, after one unmeasured start of each.
    if (wanted(L"startup")) {
        Pairs sp;
        startup_once(program);
        startup_once(floor);
        // Start-up varies most from run to run, and a run is short: three times the samples.
        for (int i = 0; i < 3 * runs; ++i)
            sp.run([&] { return startup_once(program); }, [&] { return startup_once(floor); });
        note("start-up done%s at %.0f ms\n", "", now_ms() - started);
        add_row("start-up to first complete paint", sp, "ms", 0, 1.15);
    }

    // 2 and 4. Loading at three sizes, in pairs; the peak working set after the largest.
    Pairs memory;
    if (wanted(L"load")) {
        struct Size {
            const wchar_t* name;
            const char* measure;
            double goal;
            int runs;  // pairs: 20 MB ones vary most against themselves
        };
        const Size sizes[] = {
            {L"small", "load 100 KB (click to whole text)", 1.15, 3 * runs},
            {L"medium", "load 1 MB (click to whole text)", 1.10, 3 * runs},
            {L"large", "load 20 MB (click to whole text)", 1.10, 2 * runs},
        };
        Pairs loads[3];
        for (int k = 0; k < 3; ++k) {
            const Size& size = sizes[k];
            const unsigned long long expected = file_size(fixture(size.name));
            const Subject ps = program_in(size.name), fs = floor_with(size.name);
            const bool largest = k == 2;
            for (int i = 0; i < size.runs; ++i) {
                double peak_p = -1, peak_f = -1;
                loads[k].run([&] { return load_once(ps, expected, largest ? &peak_p : nullptr); },
                             [&] { return load_once(fs, expected, largest ? &peak_f : nullptr); });
                if (largest) memory.run([&] { return peak_p; }, [&] { return peak_f; });
            }
            std::fprintf(log_file, "load %ls done at %.0f ms\n", size.name, now_ms() - started);
            add_row(size.measure, loads[k], "ms", 1, size.goal);
        }
        // How the program's loading grows from 1 MB to 20 MB.
        Row r{"load 20 MB / load 1 MB", "", "", "", "-", "-", "<= 25.00", "NO"};
        char b[64];
        const Series &p1 = loads[1].program, &p20 = loads[2].program;
        const Series &f1 = loads[1].floor, &f20 = loads[2].floor;
        const bool ok = !p1.failed && !p20.failed && p1.median() > 0;
        const double scale = ok ? p20.median() / p1.median() : 0;
        std::snprintf(b, sizeof b, "%.1fx", scale);
        r[2] = ok ? b : "FAILED";
        if (!f1.failed && !f20.failed && f1.median() > 0) {
            std::snprintf(b, sizeof b, "%.1fx", f20.median() / f1.median());
            r[3] = b;
        } else {
            r[3] = "FAILED";
        }
        std::snprintf(b, sizeof b, "%.2f", scale);
        if (ok) r[4] = b;
        if (ok && scale <= 25) r[7] = "yes";
        all_met = all_met && r[7] == "yes";
        rows.push_back(r);
    }

    // 3. A statement note: both running, one box of each in turn.
    if (wanted(L"note")) {
        Pairs notes;
        // As many windows open as the program has then: main, viewer, menu, graphics.
        const Subject floor_box{false, dir + L"\\bare.exe", L"windows 3", dir, L"bare", L"bare_text"};
        NoteSubject np(program), nf(floor_box);
        if (np.parent && nf.parent) {
            Sleep(rest_ms);
            // The first box of a process also loads what boxes need: one each, not measured.
            np.box();
            nf.box();
            for (int i = 0; i < 6 * runs; ++i) notes.run([&] { return np.box(); }, [&] { return nf.box(); });
        } else {
            notes.run([] { return -1.0; }, [] { return -1.0; });
        }
        note("notes done%s at %.0f ms\n", "", now_ms() - started);
        add_row("note: click on circle to box drawn", notes, "ms", 1, 1.1);
    }

    if (wanted(L"load")) add_row("peak working set after 20 MB load", memory, "MB", 1, 1.2);

    print_table((now_ms() - started) / 1000.0);
    return all_met ? 0 : 1;
}
