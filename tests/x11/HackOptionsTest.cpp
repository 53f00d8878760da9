// The command line read into the settings record: each option where it is.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/SaverSettings.h"
#include "shell/x11/HackOptions.h"

namespace {

void load(std::vector<const char*> words, HackParse& parse, CommandLineStore& store, SaverSettings& settings) {
    words.insert(words.begin(), "lumra");
    parse = parseHackOptions(static_cast<int>(words.size()), words.data(), store);
    settings.loadSystemValues();
    settings.load();
}

}  // namespace

TEST(HackOptions, EachOptionReachesItsFieldTheLastOneCounting) {
    CommandLineStore store;
    SaverSettings settings(store);
    HackParse parse;
    const std::string longest(255, 'x');
    load({"--root", "-floor", "-attractive", "-no-attractive", "-no-moving", "-music", "-number", "0049",
          "-music-file", longest.c_str(), "-window-id", "0x2a00007", "-display", ":3"},
         parse, store, settings);
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

    CommandLineStore again;
    HackParse decimal;
    const char* words[] = {"lumra", "-window-id", "44040199", "-root"};
    decimal = parseHackOptions(4, words, again);
    EXPECT_EQ(decimal.options.windowId, 44040199ul);
    EXPECT_EQ(decimal.options.target, HackTarget::Root);
}
