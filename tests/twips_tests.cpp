#include <doctest/doctest.h>

#include "runtime/layout.h"

TEST_SUITE("twips") {
    TEST_CASE("twips convert to whole pixels at the screen's resolution") {
        struct Row {
            rt::Twips twips;
            int dpi, pixels;
        };
        const Row rows[] = {
            {0, 96, 0},        {15, 96, 1},      {1875, 96, 125},   {10725, 96, 715},
            {7065, 96, 471},   {15, 120, 1},     {12, 120, 1},      {5, 120, 0},
            {1875, 120, 156},  {10725, 120, 894}, {7065, 120, 589}, {3285, 120, 274},
            {1440, 144, 144},  {-15, 96, -1},
        };
        for (const auto& row : rows) {
            CAPTURE(row.twips);
            CAPTURE(row.dpi);
            CHECK(rt::to_pixels(row.twips, row.dpi) == row.pixels);
        }
    }
}
