#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"

namespace {

const WORD resourceLanguage = MAKELANGID(0x1D, 0x01);  // 0x041D

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

ResourceBytes findResource(LPCSTR type, int id) {
    ResourceBytes bytes;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), resourceLanguage);
    if (found == nullptr) {
        return bytes;
    }
    bytes.data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    bytes.size = SizeofResource(module, found);
    return bytes;
}

// A reader over a resource template: little-endian words and the
// "ordinal or zero-terminated wide string" fields of dialog templates.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* start) : start(start), at(start) {}

    WORD word() {
        WORD value;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    DWORD dword() {
        DWORD value;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    short coordinate() { return static_cast<short>(word()); }
    // "#N" for an ordinal, the text (ASCII only here) otherwise.
    std::string nameOrOrdinal() {
        const WORD first = word();
        if (first == 0xFFFF) {
            return "#" + std::to_string(word());
        }
        std::string text;
        for (WORD c = first; c != 0; c = word()) {
            text += static_cast<char>(c);
        }
        return text;
    }
    void alignToDword() {
        while ((at - start) % 4 != 0) {
            ++at;
        }
    }
    void skip(std::size_t bytes) { at += bytes; }

private:
    const BYTE* start;
    const BYTE* at;
};

struct ControlTemplate {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    std::string className;
    std::string text;
};

bool operator==(const ControlTemplate& a, const ControlTemplate& b) {
    return a.style == b.style && a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy &&
           a.id == b.id && a.className == b.className && a.text == b.text;
}

void PrintTo(const ControlTemplate& c, std::ostream* out) {
    *out << "{id " << c.id << ", style 0x" << std::hex << c.style << std::dec << ", " << c.x << ","
         << c.y << " " << c.cx << "x" << c.cy << ", class " << c.className << ", \"" << c.text
         << "\"}";
}

// Ordinals of the predefined control classes.
const char* const buttonClass = "#128";
const char* const editClass = "#129";
const char* const staticClass = "#130";

}  // namespace

TEST(ShellResources, SetupDialogTemplateMatchesTheLayout) {
    const ResourceBytes dialog = findResource(MAKEINTRESOURCEA(5) /* RT_DIALOG */, IDD_SAVER_SETUP);
    ASSERT_NE(dialog.data, nullptr);
    TemplateReader reader(dialog.data);

    const DWORD style = reader.dword();
    ASSERT_NE(HIWORD(style), 0xFFFF) << "an extended template was built";
    EXPECT_EQ(style, 0x80C800C0u);
    EXPECT_EQ(reader.dword(), 0u);  // extended style
    const WORD count = reader.word();
    EXPECT_EQ(reader.coordinate(), 0);
    EXPECT_EQ(reader.coordinate(), 0);
    EXPECT_EQ(reader.coordinate(), 213);
    EXPECT_EQ(reader.coordinate(), 63);
    EXPECT_EQ(reader.nameOrOrdinal(), "");  // no menu
    EXPECT_EQ(reader.nameOrOrdinal(), "");  // default dialog class
    EXPECT_EQ(reader.nameOrOrdinal(), "Saver Setup");
    EXPECT_EQ(reader.word(), 8);  // point size
    EXPECT_EQ(reader.nameOrOrdinal(), "MS Sans Serif");

    const std::vector<ControlTemplate> expected = {
        {0x48010003, 17, 39, 83, 10, 1004, buttonClass, "Effect moves around"},
        {0x48010003, 21, 42, 79, 10, 1005, buttonClass, "Particles seek origin"},
        {0x48010003, 19, 40, 57, 10, 1006, buttonClass, "Draw ground"},
        {0x50010001, 155, 42, 50, 14, 1, buttonClass, "OK"},
        {0x50020000, 120, 6, 54, 8, 0xFFFF, staticClass, "by the LumraSaver authors"},
        {0x50020000, 33, 6, 60, 8, 0xFFFF, staticClass, "LumraSaver v0.01"},
        {0x50020000, 120, 22, 85, 8, 0xFFFF, staticClass, "www.lumrasaver.example"},
        {0x48810080, 7, 38, 88, 14, 1032, editClass, ""},
        {0x48010003, 7, 47, 67, 10, 1033, buttonClass, "Play MP3 Music"},
        {0x50812080, 7, 42, 40, 14, 1036, editClass, ""},
        {0x50000003, 7, 6, 20, 20, 0xFFFF, staticClass, "#102"},
        {0x50020000, 120, 14, 71, 8, 0xFFFF, staticClass, "team@lumrasaver.example"},
    };
    ASSERT_EQ(count, expected.size());
    std::vector<ControlTemplate> controls;
    for (WORD i = 0; i < count; ++i) {
        reader.alignToDword();
        ControlTemplate control{};
        control.style = reader.dword();
        EXPECT_EQ(reader.dword(), 0u) << "extended style of control " << i;
        control.x = reader.coordinate();
        control.y = reader.coordinate();
        control.cx = reader.coordinate();
        control.cy = reader.coordinate();
        control.id = reader.word();
        control.className = reader.nameOrOrdinal();
        control.text = reader.nameOrOrdinal();
        reader.skip(reader.word());  // creation data
        controls.push_back(control);
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(controls[i], expected[i]) << "control " << i + 1;
    }
}

TEST(ShellResources, StringTableHoldsTheDescriptionAndCredit) {
    // Strings 1 and 2 live in block 1 (ids 0 to 15).
    EXPECT_NE(findResource(MAKEINTRESOURCEA(6) /* RT_STRING */, 1).data, nullptr);
    char text[64] = {};
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_DESCRIPTION, text, sizeof text), 0);
    EXPECT_STREQ(text, "Saver");
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_CREDIT, text, sizeof text), 0);
    EXPECT_STREQ(text, "by the LumraSaver authors");
}

TEST(ShellResources, IconGroupHasA256AndA16ColourImage) {
    const ResourceBytes group = findResource(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, IDI_SAVER_ICON);
    ASSERT_NE(group.data, nullptr);
    TemplateReader reader(group.data);
    EXPECT_EQ(reader.word(), 0);
    EXPECT_EQ(reader.word(), 1);  // icons
    ASSERT_EQ(reader.word(), 2);
    ASSERT_EQ(group.size, 6u + 2u * 14u);

    const int expectedBits[] = {8, 4};
    const int expectedColours[] = {0, 16};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const BYTE* entry = group.data + 6 + 14 * i;
        EXPECT_EQ(entry[0], 32);
        EXPECT_EQ(entry[1], 32);
        EXPECT_EQ(entry[2], expectedColours[i]);
        TemplateReader fields(entry + 4);
        EXPECT_EQ(fields.word(), 1);  // planes
        EXPECT_EQ(fields.word(), expectedBits[i]);
        const DWORD bytes = fields.dword();
        const WORD iconId = fields.word();

        const ResourceBytes image = findResource(MAKEINTRESOURCEA(3) /* RT_ICON */, iconId);
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(image.size, bytes);
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data, sizeof header);
        EXPECT_EQ(header.biWidth, 32);
        EXPECT_EQ(header.biHeight, 64);
        EXPECT_EQ(header.biBitCount, expectedBits[i]);
    }

    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SAVER_ICON));
    EXPECT_NE(icon, nullptr);
}
