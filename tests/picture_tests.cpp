// Checks of resources/background.bmp, the picture behind the main window.
#include <doctest/doctest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "test_paths.h"
#include "utf8.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kPixelOffset = 54;

struct Rgb {
    int r, g, b;
};

const std::vector<std::uint8_t>& picture() {
    static const std::vector<std::uint8_t> bytes = [] {
        const std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(BACKGROUND_BMP, L"rb"), fclose);
        REQUIRE_MESSAGE(file != nullptr, "cannot open " << utf8(BACKGROUND_BMP));
        std::vector<std::uint8_t> data;
        std::uint8_t buf[65536];
        for (size_t n; (n = fread(buf, 1, sizeof buf, file.get())) > 0;) data.insert(data.end(), buf, buf + n);
        return data;
    }();
    return bytes;
}

std::uint32_t u16(size_t at) { return picture()[at] | picture()[at + 1] << 8; }
std::uint32_t u32(size_t at) { return u16(at) | u16(at + 2) << 16; }

// x right, y down from the top-left corner; the file stores rows bottom-up in BGR.
Rgb pixel(int x, int y) {
    const std::uint8_t* p = picture().data() + kPixelOffset + (kHeight - 1 - y) * kWidth * 3 + x * 3;
    return {p[2], p[1], p[0]};
}

bool white(Rgb c) { return c.r == 255 && c.g == 255 && c.b == 255; }
bool red(Rgb c) { return c.r > 180 && c.g < 80 && c.b < 80; }

// Centre column of the band: 2 px right every 7 rows, from 125 on the top row to 297 on the bottom one.
int band_centre(int y) { return 125 + 2 * ((y + 3) / 7); }

}  // namespace

TEST_SUITE("picture") {

TEST_CASE("background.bmp is an uncompressed 800x600 24-bit bottom-up BMP") {
    REQUIRE(picture().size() == 54u + kWidth * kHeight * 3);
    CHECK(picture()[0] == 'B');
    CHECK(picture()[1] == 'M');
    struct Field {
        size_t at, size;
        std::uint32_t value;
        std::string_view name;
    };
    const Field fields[] = {
        {2, 4, 1440054, "bfSize"},       {10, 4, 54, "bfOffBits"},
        {14, 4, 40, "biSize"},           {18, 4, kWidth, "biWidth"},
        {22, 4, kHeight, "biHeight"},    {26, 2, 1, "biPlanes"},
        {28, 2, 24, "biBitCount"},       {30, 4, BI_RGB, "biCompression"},
        {38, 4, 2834, "biXPelsPerMeter"}, {42, 4, 2834, "biYPelsPerMeter"},
        {46, 4, 0, "biClrUsed"},
    };
    for (const Field& f : fields) {
        CAPTURE(f.name);
        CHECK((f.size == 2 ? u16(f.at) : u32(f.at)) == f.value);
    }
}

TEST_CASE("the band fades from yellow-green to white with the distance from its leaning centre") {
    REQUIRE(picture().size() == 54u + kWidth * kHeight * 3);
    const int mid = 301, c = band_centre(mid);
    struct Sample {
        int x, y;
        Rgb colour;
        int tolerance;
    };
    const Sample samples[] = {
        {0, 0, {202, 230, 119}, 3},       // top-left corner, 125 from the centre
        {0, kHeight - 1, {255, 255, 255}, 0},
        {799, 0, {255, 255, 255}, 0},
        {c, mid, {162, 210, 15}, 3},
        {c - 120, mid, {200, 228, 114}, 3},
        {c + 120, mid, {200, 228, 114}, 3},
        {c + 240, mid, {243, 249, 224}, 3},
    };
    for (const Sample& s : samples) {
        CAPTURE(s.x);
        CAPTURE(s.y);
        Rgb p = pixel(s.x, s.y);
        CHECK(std::abs(p.r - s.colour.r) <= s.tolerance);
        CHECK(std::abs(p.g - s.colour.g) <= s.tolerance);
        CHECK(std::abs(p.b - s.colour.b) <= s.tolerance);
    }

    // The colour depends only on the distance from the centre, on either side.
    for (int y : {0, mid, kHeight - 1}) {
        CAPTURE(y);
        const int centre = band_centre(y);
        int asymmetric = 0;
        for (int d = 1; d <= 125; ++d) {
            Rgb a = pixel(centre - d, y), b = pixel(centre + d, y);
            asymmetric += a.r != b.r || a.g != b.g || a.b != b.b;
        }
        CHECK(asymmetric == 0);
    }

    // Where the white ground starts on the top and bottom rows.
    struct Edge {
        int y, first_white, tinted;
    };
    for (Edge e : {Edge{0, 412, 405}, Edge{kHeight - 1, 584, 577}}) {
        CAPTURE(e.y);
        int non_white = 0;
        for (int x = e.first_white; x < kWidth; ++x) non_white += !white(pixel(x, e.y));
        CHECK(non_white == 0);
        CHECK_FALSE(white(pixel(e.tinted, e.y)));
    }

    long whites = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) whites += white(pixel(x, y));
    double share = double(whites) / (kWidth * kHeight);
    CHECK(share > 0.33);
    CHECK(share < 0.42);
}

TEST_CASE("the red title lies only within its box") {
    REQUIRE(picture().size() == 54u + kWidth * kHeight * 3);
    long inside = 0, outside = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (!red(pixel(x, y))) continue;
            bool in_box = x >= 231 && x <= 551 && y >= 27 && y <= 86;
            (in_box ? inside : outside) += 1;
        }
    CHECK(outside == 0);
    CHECK(inside > 1500);
    // The ink reaches both ends of the box.
    bool left = false, right = false;
    for (int y = 27; y <= 86; ++y) {
        left = left || red(pixel(231, y)) || red(pixel(232, y));
        right = right || red(pixel(551, y)) || red(pixel(550, y));
    }
    CHECK(left);
    CHECK(right);
}

}  // TEST_SUITE
