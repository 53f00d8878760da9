#include <gtest/gtest.h>

#include "shell/Exception.h"

TEST(Exception, NullTextReadsUnknownError) {
    EXPECT_STREQ(Exception().message(), "Unknown error");
    EXPECT_STREQ(Exception(nullptr).message(), "Unknown error");
}
