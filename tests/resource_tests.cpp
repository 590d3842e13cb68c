// Checks of the resources built into the program: icons and version information.
#include <doctest/doctest.h>
#include <windows.h>
#include <winver.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <string_view>
#include <vector>

#include "test_paths.h"
#ifndef LOAD_LIBRARY_AS_IMAGE_RESOURCE
#define LOAD_LIBRARY_AS_IMAGE_RESOURCE 0x00000020
#endif

namespace {

HMODULE program() {
    static HMODULE module =
        LoadLibraryExW(PRODUCT_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return module;
}

struct Blob {
    const std::uint8_t* data = nullptr;
    DWORD size = 0;
};

Blob resource(LPCWSTR type, int id) {
    Blob blob;
    if (HRSRC found = FindResourceW(program(), MAKEINTRESOURCEW(id), type)) {
        blob.data = static_cast<const std::uint8_t*>(LockResource(LoadResource(program(), found)));
        blob.size = SizeofResource(program(), found);
    }
    return blob;
}

using ResourceKey = std::tuple<int, int, int>;  // type, name, language

// Names and types given as strings are recorded as -1.
int resource_number(LPCWSTR name) { return IS_INTRESOURCE(name) ? int(reinterpret_cast<ULONG_PTR>(name)) : -1; }

BOOL CALLBACK on_language(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR found) {
    reinterpret_cast<std::set<ResourceKey>*>(found)->emplace(resource_number(type), resource_number(name),
                                                             language);
    return TRUE;
}
BOOL CALLBACK on_name(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) {
    EnumResourceLanguagesW(module, type, name, on_language, found);
    return TRUE;
}
BOOL CALLBACK on_type(HMODULE module, LPWSTR type, LONG_PTR found) {
    EnumResourceNamesW(module, type, on_name, found);
    return TRUE;
}

// One node of a version resource: its key and string value, if any.
struct VersionNode {
    std::wstring key;
    std::wstring text;
    bool text_terminated = true;
};

size_t align4(size_t n) { return (n + 3) & ~size_t(3); }

// Lists the nodes depth-first, in the order they are stored.
void walk_version(const std::uint8_t* base, size_t at, size_t end, std::vector<VersionNode>& out) {
    while (at + 6 <= end) {
        WORD length, value_length, type;
        std::memcpy(&length, base + at, 2);
        std::memcpy(&value_length, base + at + 2, 2);
        std::memcpy(&type, base + at + 4, 2);
        if (length < 6 || at + length > end) {
            out.push_back({L"<broken>", L"", false});
            return;
        }
        size_t node_end = at + length, p = at + 6;
        VersionNode node;
        for (WCHAR ch; p + 2 <= node_end; p += 2) {
            std::memcpy(&ch, base + p, 2);
            if (!ch) break;
            node.key += ch;
        }
        p = align4(p + 2);
        size_t value_bytes = type == 1 ? value_length * 2u : value_length;
        if (type == 1 && value_length > 0) {
            for (size_t i = 0; i + 1 < value_length; ++i) {
                WCHAR ch;
                std::memcpy(&ch, base + p + 2 * i, 2);
                node.text += ch;
            }
            WCHAR last;
            std::memcpy(&last, base + p + 2 * (value_length - 1), 2);
            node.text_terminated = last == 0;
        }
        out.push_back(node);
        walk_version(base, align4(p + value_bytes), node_end, out);
        at = align4(node_end);
    }
}

// A decoded RT_ICON image.
struct IconImage {
    BITMAPINFOHEADER header{};
    int size = 0;
    const std::uint8_t* bits = nullptr;  // colour table, then XOR bits, then AND bits
    RGBQUAD colour(int x, int y) const {
        int bpp = header.biBitCount, colours = 1 << bpp;
        int stride = (size * bpp + 31) / 32 * 4;
        const std::uint8_t* row = bits + colours * 4 + (size - 1 - y) * stride;
        int index = (row[x * bpp / 8] >> (8 - bpp - (x * bpp % 8))) & (colours - 1);
        RGBQUAD q;
        std::memcpy(&q, bits + index * 4, 4);
        return q;
    }
    int mask(int x, int y) const {
        int bpp = header.biBitCount, colours = 1 << bpp;
        int xor_size = (size * bpp + 31) / 32 * 4 * size;
        int stride = (size + 31) / 32 * 4;
        const std::uint8_t* row = bits + colours * 4 + xor_size + (size - 1 - y) * stride;
        return (row[x / 8] >> (7 - x % 8)) & 1;
    }
};

IconImage icon_image(int id) {
    IconImage image;
    Blob blob = resource(MAKEINTRESOURCEW(3), id);
    if (blob.data && blob.size >= sizeof(BITMAPINFOHEADER)) {
        std::memcpy(&image.header, blob.data, sizeof image.header);
        image.size = image.header.biWidth;
        image.bits = blob.data + sizeof image.header;
    }
    return image;
}

}  // namespace

TEST_SUITE("resources") {

TEST_CASE("the program holds exactly the icon and version resources") {
    REQUIRE(program() != nullptr);
    std::set<ResourceKey> found;
    EnumResourceTypesW(program(), on_type, reinterpret_cast<LONG_PTR>(&found));
    const std::set<ResourceKey> expected = {
        {3, 30001, 0}, {3, 30002, 0}, {3, 30003, 0}, {14, 1, 0}, {16, 1, 1033},
    };
    CHECK(found == expected);
}

TEST_CASE("the icon group offers the right image for each size and colour depth") {
    REQUIRE(program() != nullptr);
    Blob group = resource(MAKEINTRESOURCEW(14), 1);
    REQUIRE(group.data != nullptr);
    REQUIRE(group.size == 6u + 3 * 14);
    struct Entry {
        int size, colours, bit_count;
        DWORD bytes;
        int id;
    };
    const Entry entries[] = {{32, 2, 1, 304, 30001}, {32, 16, 4, 744, 30002}, {16, 16, 4, 296, 30003}};
    const WORD* head = reinterpret_cast<const WORD*>(group.data);
    CHECK(head[0] == 0);
    CHECK(head[1] == 1);
    CHECK(head[2] == 3);
    for (size_t i = 0; i < 3; ++i) {
        CAPTURE(i);
        const std::uint8_t* e = group.data + 6 + 14 * i;
        WORD planes, bit_count, id;
        DWORD bytes;
        std::memcpy(&planes, e + 4, 2);
        std::memcpy(&bit_count, e + 6, 2);
        std::memcpy(&bytes, e + 8, 4);
        std::memcpy(&id, e + 12, 2);
        CHECK(e[0] == entries[i].size);
        CHECK(e[1] == entries[i].size);
        CHECK(e[2] == entries[i].colours);
        CHECK(e[3] == 0);
        CHECK(planes == 1);
        CHECK(bit_count == entries[i].bit_count);
        CHECK(bytes == entries[i].bytes);
        CHECK(id == entries[i].id);
    }

    struct Pick {
        int cx, cy;
        UINT flags;
        int id;
    };
    for (Pick pick : {Pick{32, 32, LR_DEFAULTCOLOR, 30002}, Pick{16, 16, LR_DEFAULTCOLOR, 30003},
                      Pick{32, 32, LR_MONOCHROME, 30001}}) {
        CAPTURE(pick.cx);
        CAPTURE(pick.flags);
        CHECK(LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data), TRUE, pick.cx, pick.cy, pick.flags) ==
              pick.id);
    }
}

TEST_CASE("version information") {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(PRODUCT_EXE, &ignored);
    REQUIRE(size > 0);
    std::vector<std::uint8_t> info(size);
    REQUIRE(GetFileVersionInfoW(PRODUCT_EXE, 0, size, info.data()));

    void* value = nullptr;
    UINT length = 0;
    REQUIRE(VerQueryValueW(info.data(), L"\\", &value, &length));
    REQUIRE(length == sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    CHECK(fixed->dwSignature == 0xFEEF04BDu);
    CHECK(fixed->dwStrucVersion == 0x00010000u);
    CHECK(fixed->dwFileVersionMS == 0x00010000u);
    CHECK(fixed->dwFileVersionLS == 0u);
    CHECK(fixed->dwProductVersionMS == 0x00010000u);
    CHECK(fixed->dwProductVersionLS == 0u);
    CHECK(fixed->dwFileFlagsMask == 0u);
    CHECK(fixed->dwFileFlags == 0u);
    CHECK(fixed->dwFileOS == VOS__WINDOWS32);
    CHECK(fixed->dwFileType == VFT_APP);
    CHECK(fixed->dwFileSubtype == 0u);
    CHECK(fixed->dwFileDateMS == 0u);
    CHECK(fixed->dwFileDateLS == 0u);

    REQUIRE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &value, &length));
    REQUIRE(length == 4);
    const WORD* translation = static_cast<const WORD*>(value);
    CHECK(translation[0] == 0x0409);
    CHECK(translation[1] == 1200);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"CompanyName", L"Фелтонка"},  {L"ProductName", L"Лумиса"},
        {L"FileVersion", L"1.00"},      {L"ProductVersion", L"1.00"},
        {L"InternalName", L"Кварнедо"}, {L"OriginalFilename", L"Кварнедо.exe"},
    };
    for (const auto& [key, text] : strings) {
        std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        CAPTURE(path);
        value = nullptr;
        REQUIRE(VerQueryValueW(info.data(), path.c_str(), &value, &length));
        CHECK(std::wstring(static_cast<const wchar_t*>(value)) == text);
    }
}

TEST_CASE("the version resource stores VarFileInfo first and only the six strings, in order") {
    REQUIRE(program() != nullptr);
    Blob version = resource(MAKEINTRESOURCEW(16), 1);
    REQUIRE(version.data != nullptr);
    std::vector<VersionNode> nodes;
    walk_version(version.data, 0, version.size, nodes);
    const wchar_t* const keys[] = {
        L"VS_VERSION_INFO", L"VarFileInfo", L"Translation",    L"StringFileInfo",
        L"040904B0",        L"CompanyName", L"ProductName",    L"FileVersion",
        L"ProductVersion",  L"InternalName", L"OriginalFilename",
    };
    REQUIRE(nodes.size() == std::size(keys));
    for (size_t i = 0; i < nodes.size(); ++i) {
        CAPTURE(i);
        CHECK(nodes[i].key == keys[i]);
        CHECK(nodes[i].text_terminated);
    }
    CHECK(nodes.back().text == L"Кварнедо.exe");
}

TEST_CASE("icon images show the window picture") {
    REQUIRE(program() != nullptr);
    struct Image {
        int id, size, bpp;
        DWORD bytes;
    };
    for (Image im : {Image{30001, 32, 1, 304}, Image{30002, 32, 4, 744}, Image{30003, 16, 4, 296}}) {
        CAPTURE(im.id);
        CHECK(resource(MAKEINTRESOURCEW(3), im.id).size == im.bytes);
        IconImage image = icon_image(im.id);
        REQUIRE(image.bits != nullptr);
        CHECK(image.header.biSize == 40u);
        CHECK(image.header.biWidth == im.size);
        CHECK(image.header.biHeight == 2 * im.size);
        CHECK(image.header.biPlanes == 1);
        CHECK(image.header.biBitCount == im.bpp);
        CHECK(image.header.biCompression == BI_RGB);
        CHECK(image.header.biClrUsed == 0u);
    }

    enum Colour : std::uint32_t {  // 0xRRGGBB
        black = 0x000000, white = 0xFFFFFF, cyan = 0x00FFFF, light_grey = 0xC0C0C0, dark_grey = 0x808080,
    };
    struct Pixel {
        int id, x, y;
        std::uint32_t colour;
        int mask;
        std::string_view what;
    };
    const Pixel pixels[] = {
        {30002, 0, 0, black, 1, "ground"},
        {30002, 31, 31, black, 1, "ground"},
        {30002, 20, 8, black, 1, "ground above the lowered top edge"},
        {30002, 5, 15, black, 0, "left edge"},
        {30002, 20, 9, black, 0, "top edge, last step"},
        {30002, 7, 7, cyan, 0, "title bar"},
        {30002, 19, 10, cyan, 0, "title bar, last step"},
        {30002, 7, 9, light_grey, 0, "line under the title bar"},
        {30002, 12, 16, white, 0, "body"},
        {30002, 22, 26, black, 0, "bottom right corner"},
        {30002, 23, 20, dark_grey, 0, "shadow"},
        {30002, 28, 21, dark_grey, 0, "shadow tip"},
        {30001, 0, 0, white, 1, "ground"},
        {30001, 31, 31, white, 1, "ground"},
        {30001, 5, 15, black, 0, "left edge"},
        {30001, 7, 7, white, 0, "title bar"},
        {30001, 12, 16, white, 0, "body"},
        {30001, 28, 21, black, 0, "shadow tip"},
        {30003, 0, 0, black, 1, "ground"},
        {30003, 15, 15, black, 1, "ground"},
        {30003, 2, 7, black, 0, "left edge"},
        {30003, 4, 4, cyan, 0, "title bar"},
        {30003, 10, 6, cyan, 0, "title bar, last step"},
        {30003, 6, 9, white, 0, "body"},
        {30003, 13, 10, dark_grey, 0, "shadow"},
    };
    for (const Pixel& p : pixels) {
        CAPTURE(p.id);
        CAPTURE(p.what);
        CAPTURE(p.x);
        CAPTURE(p.y);
        IconImage image = icon_image(p.id);
        REQUIRE(image.bits != nullptr);
        RGBQUAD q = image.colour(p.x, p.y);
        CHECK(((std::uint32_t(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue) == p.colour);
        CHECK(image.mask(p.x, p.y) == p.mask);
    }
}

}  // TEST_SUITE
