#include <gtest/gtest.h>

#include <cstring>

#include "shell/Exception.h"

TEST(Exception, NullTextReadsUnknownError) {
    EXPECT_STREQ(Exception().message(), "Unknown error");
    EXPECT_STREQ(Exception(nullptr).message(), "Unknown error");
}

TEST(Exception, KeepsTheTextItWasGiven) {
    static const char text[] = "Failed to load textures";
    const Exception e(text);
    EXPECT_EQ(e.message(), text);
}
