// The command line read into the settings record: each option where it is.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/SaverSettings.h"
#include "shell/x11/HackOptions.h"

TEST(HackOptions, EachOptionReachesItsFieldTheLastOneCounting) {
    CommandLineStore store;
    SaverSettings settings(store);
    const std::string longest(255, 'x');
    const char* words[] = {"lumra", "--root", "-floor", "-attractive", "-no-attractive", "-no-moving", "-music",
                           "-number", "0049", "-music-file", longest.c_str(), "-window-id", "0x2a00007",
                           "-display", ":3"};
    const HackParse parse = parseHackOptions(15, words, store);
    settings.loadSystemValues();
    settings.load();
    ASSERT_TRUE(parse.ok) << parse.error;
    EXPECT_EQ(parse.options.target, HackTarget::WindowId);
    EXPECT_EQ(parse.options.windowId, 0x2a00007ul);
    EXPECT_EQ(parse.options.display, ":3");
    EXPECT_EQ(settings.floor, 1);
    EXPECT_EQ(settings.attractive, 0);
    EXPECT_EQ(settings.moving, 0);
    EXPECT_EQ(settings.music, 1);
    EXPECT_STREQ(settings.numberText, "0049");
    EXPECT_EQ(std::strlen(settings.musicFileName), 255u);

    // The target named last counts, whichever it is.
    CommandLineStore again;
    const char* rootLast[] = {"lumra", "-window-id", "44040199", "-root"};
    EXPECT_EQ(parseHackOptions(4, rootLast, again).options.target, HackTarget::Root);
}

// Decimal means decimal, leading zeros and all; 0 is no window, and ids have 29 bits.
TEST(HackOptions, AWindowIdIsDecimalOrHexAndNamesAPossibleWindow) {
    const struct {
        const char* text;
        unsigned long id;  // 0: refused
    } cases[] = {{"010", 10}, {"02097153", 2097153}, {"0x1A", 0x1a}, {"0X1fffffff", 0x1fffffff}, {"536870911", 0x1fffffff},
                 {"0", 0}, {"0x0", 0}, {"536870912", 0}, {"0x20000000", 0}, {"99999999999999999999", 0},
                 {"0x", 0}, {" 12", 0}, {"+12", 0}, {"-1", 0}, {"12 ", 0}, {"0x-1", 0}, {"1e3", 0}};
    for (const auto& c : cases) {
        unsigned long id = 0;
        const bool read = parseWindowId(c.text, id);
        EXPECT_EQ(read ? id : 0ul, c.id) << "'" << c.text << "' read " << (read ? "as " + std::to_string(id) : "as no id");
    }
}
