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
