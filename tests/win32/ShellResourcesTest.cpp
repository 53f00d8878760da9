// The shell's resources as linked into the program: dialog 103 control by
// control, the string table and icon group 102, all in language 0x041D.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <iterator>
#include <sstream>
#include <string>

#include "resources/ResourceIds.h"

namespace {

const BYTE* findResource(LPCSTR type, int id, DWORD* size = nullptr) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), MAKELANGID(0x1D, 0x01));
    if (found == nullptr) return nullptr;
    if (size != nullptr) *size = SizeofResource(module, found);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

// Reads little-endian words and the "ordinal or zero-terminated wide string"
// fields of a resource template.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* start) : start(start), at(start) {}
    WORD word() { return static_cast<WORD>(take(2)); }
    DWORD dword() { return take(4); }
    short coordinate() { return static_cast<short>(word()); }
    // "#N" for an ordinal, the text (ASCII only here) otherwise.
    std::string nameOrOrdinal() {
        WORD c = word();
        if (c == 0xFFFF) return "#" + std::to_string(word());
        std::string text;
        for (; c != 0; c = word()) text += static_cast<char>(c);
        return text;
    }
    void alignToDword() { at += (4 - (at - start) % 4) % 4; }
    void skip(std::size_t bytes) { at += bytes; }

private:
    DWORD take(std::size_t bytes) {
        DWORD value = 0;
        std::memcpy(&value, at, bytes);
        at += bytes;
        return value;
    }
    const BYTE* start;
    const BYTE* at;
};

// One control of a dialog template as "style exstyle x y cx cy id class text",
// numbers in hex for the styles; classes by ordinal (128 button, 129 edit, 130 static).
std::string readControl(TemplateReader& reader) {
    reader.alignToDword();
    std::ostringstream out;
    out << std::hex << reader.dword() << ' ' << reader.dword() << std::dec;
    for (int field = 0; field < 4; ++field) out << ' ' << reader.coordinate();
    out << ' ' << reader.word() << ' ' << reader.nameOrOrdinal();
    out << ' ' << reader.nameOrOrdinal();
    reader.skip(reader.word());  // creation data
    return out.str();
}

}  // namespace

TEST(ShellResources, SetupDialogTemplateMatchesTheLayout) {
    const BYTE* dialog = findResource(MAKEINTRESOURCEA(5) /* RT_DIALOG */, IDD_SAVER_SETUP);
    ASSERT_NE(dialog, nullptr);
    TemplateReader reader(dialog);
    const DWORD style = reader.dword();
    ASSERT_NE(HIWORD(style), 0xFFFF) << "an extended template was built";
    EXPECT_EQ(style, 0x80C800C0u);
    EXPECT_EQ(reader.dword(), 0u);  // extended style
    const WORD count = reader.word();
    for (const short expected : {0, 0, 213, 63}) EXPECT_EQ(reader.coordinate(), expected);
    for (const char* expected : {"", "", "Saver Setup"}) EXPECT_EQ(reader.nameOrOrdinal(), expected);  // menu, class, title
    EXPECT_EQ(reader.word(), 8);  // point size
    EXPECT_EQ(reader.nameOrOrdinal(), "MS Sans Serif");

    const char* const expected[] = {
        "48010003 0 17 39 83 10 1004 #128 Effect moves around",
        "48010003 0 21 42 79 10 1005 #128 Particles seek origin",
        "48010003 0 19 40 57 10 1006 #128 Draw ground",
        "50010001 0 155 42 50 14 1 #128 OK",
        "50020000 0 120 6 54 8 65535 #130 The Lumra team",
        "50020000 0 33 6 60 8 65535 #130 LumraSaver v0.01",
        "50020000 0 120 22 85 8 65535 #130 www.lumra.example",
        "48810080 0 7 38 88 14 1032 #129 ",
        "48010003 0 7 47 67 10 1033 #128 Play MP3 Music",
        "50812080 0 7 42 40 14 1036 #129 ",
        "50000003 0 7 6 20 20 65535 #130 #102",
        "50020000 0 120 14 71 8 65535 #130 hi@lumra.example",
    };
    ASSERT_EQ(count, std::size(expected));
    for (const char* want : expected) EXPECT_EQ(readControl(reader), want);
}

TEST(ShellResources, StringTableHoldsTheDescriptionAndCredit) {
    EXPECT_NE(findResource(MAKEINTRESOURCEA(6) /* RT_STRING */, 1), nullptr);  // block 1: ids 0 to 15
    char text[64] = {};
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_DESCRIPTION, text, sizeof text), 0);
    EXPECT_STREQ(text, "Saver");
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_CREDIT, text, sizeof text), 0);
    EXPECT_STREQ(text, "The Lumra team");
}

TEST(ShellResources, IconGroupHasA256AndA16ColourImage) {
    DWORD groupSize = 0;
    const BYTE* group = findResource(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, IDI_SAVER_ICON, &groupSize);
    ASSERT_NE(group, nullptr);
    TemplateReader reader(group);
    EXPECT_EQ(reader.word(), 0);
    EXPECT_EQ(reader.word(), 1);  // icons
    ASSERT_EQ(reader.word(), 2);
    ASSERT_EQ(groupSize, 6u + 2u * 14u);
    for (const int bits : {8, 4}) {
        SCOPED_TRACE(bits);
        EXPECT_EQ(reader.word(), 32 | 32 << 8);             // width and height
        EXPECT_EQ(reader.word(), bits == 8 ? 0 : 16);       // colour count, 0 for 256
        EXPECT_EQ(reader.word(), 1);                         // planes
        EXPECT_EQ(reader.word(), bits);
        const DWORD bytes = reader.dword();
        DWORD size = 0;
        const BYTE* image = findResource(MAKEINTRESOURCEA(3) /* RT_ICON */, reader.word(), &size);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(size, bytes);
        BITMAPINFOHEADER header;
        std::memcpy(&header, image, sizeof header);
        EXPECT_EQ(header.biWidth, 32);
        EXPECT_EQ(header.biHeight, 64);  // colour image and mask
        EXPECT_EQ(header.biBitCount, bits);
    }
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SAVER_ICON)), nullptr);
}
