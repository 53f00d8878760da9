#include <gtest/gtest.h>

#include "shell/CommandLine.h"
#include "shell/RunMode.h"

namespace {

struct Expected {
    std::int32_t mode;
    std::int32_t handle;
    bool foreground;
};

void expectParsed(const char* line, Expected expected) {
    SCOPED_TRACE(line);
    const CommandLineResult result = parseCommandLine(line);
    EXPECT_TRUE(result.proceed);
    EXPECT_EQ(result.mode, expected.mode);
    EXPECT_EQ(result.handle, expected.handle);
    EXPECT_EQ(result.useForegroundWindow, expected.foreground);
}

void expectRejected(const char* line) {
    SCOPED_TRACE(line);
    const CommandLineResult result = parseCommandLine(line);
    EXPECT_FALSE(result.proceed);
}

}  // namespace

TEST(CommandLine, ProgramNameAloneConfiguresWithoutOwner) {
    for (const char* line : {"lumra.scr", "lumra.scr   ", "\"C:\\Program Files\\lumra.scr\"",
                             "\"C:\\Program Files\\lumra.scr\"  ", "", "\"unterminated quote /s"}) {
        expectParsed(line, {Mode::Configure, 0, false});
    }
}

TEST(CommandLine, SaverSwitchAfterAnyProgramNameForm) {
    for (const char* line : {"lumra.scr /s", "\"C:\\My Savers\\lumra.scr\" /s",
                             "\"C:\\My Savers\\lumra.scr\"/s", "lumra.scr -S", "lumra.scr s",
                             "lumra.scr    /s", "lumra.scr /s 1234", "lumra.scr /start"}) {
        expectParsed(line, {Mode::Saver, 0, false});
    }
}

TEST(CommandLine, PreviewReadsTheHostHandleAfterBlanksAndColons) {
    for (const char* line : {"lumra.scr /p 1234", "lumra.scr /p:1234", "lumra.scr -P1234",
                             "lumra.scr /l : :1234", "lumra.scr /L1234xyz", "lumra.scr p 1234",
                             "\"a b\\lumra.scr\"/p1234"}) {
        expectParsed(line, {Mode::Preview, 1234, false});
    }
}

TEST(CommandLine, PreviewWithoutDigitsHasNoHostHandle) {
    for (const char* line : {"lumra.scr /preview", "lumra.scr /p", "lumra.scr /p::", "lumra.scr /p x12"}) {
        expectParsed(line, {Mode::Preview, 0, false});
    }
}

TEST(CommandLine, HandleFollowsAtoiRules) {
    // After the blanks and colons atoi itself skips other white space, takes a sign.
    expectParsed("lumra.scr /p:\t77", {Mode::Preview, 77, false});
    expectParsed("lumra.scr /p -5", {Mode::Preview, -5, false});
    expectParsed("lumra.scr /p +12", {Mode::Preview, 12, false});
    expectParsed("lumra.scr /p - 5", {Mode::Preview, 0, false});
    expectParsed("lumra.scr /p 007", {Mode::Preview, 7, false});
    // A handle of 32 bits, as a window handle from a 64-bit host can be.
    expectParsed("lumra.scr /p 4294967295", {Mode::Preview, -1, false});
}

TEST(CommandLine, ConfigureFallsBackToForegroundOnlyWhenNothingFollows) {
    expectParsed("lumra.scr /c", {Mode::Configure, 0, true});
    expectParsed("lumra.scr /C", {Mode::Configure, 0, true});
    expectParsed("lumra.scr /c: :  ", {Mode::Configure, 0, true});
    expectParsed("lumra.scr /c:0", {Mode::Configure, 0, false});
    expectParsed("lumra.scr /c abc", {Mode::Configure, 0, false});
    expectParsed("lumra.scr /config", {Mode::Configure, 0, false});
    expectParsed("lumra.scr /c:4321", {Mode::Configure, 4321, false});
}

TEST(CommandLine, ChangePasswordTakesTheOwnerWithoutFallback) {
    expectParsed("lumra.scr /a:55", {Mode::ChangePassword, 55, false});
    expectParsed("lumra.scr -A 55", {Mode::ChangePassword, 55, false});
    expectParsed("lumra.scr /a", {Mode::ChangePassword, 0, false});
}

TEST(CommandLine, UnknownSwitchesStopTheProgram) {
    for (const char* line : {"lumra.scr /x", "lumra.scr x", "lumra.scr //s", "lumra.scr -",
                             "lumra.scr /", "lumra.scr -/s", "lumra.scr /1234", "lumra.scr :s"}) {
        expectRejected(line);
    }
}

TEST(CommandLine, TabIsNotASeparator) {
    // The program name runs to the end of the text, so nothing follows it.
    expectParsed("lumra.scr\t/s", {Mode::Configure, 0, false});
    // After a blank separator a tab is the switch's first character: unknown.
    expectRejected("lumra.scr \t/s");
    // Between the letter and the number a tab is not skipped as a blank, but
    // atoi skips it as white space.
    expectParsed("lumra.scr /p\t1234", {Mode::Preview, 1234, false});
    expectParsed("lumra.scr /c\t", {Mode::Configure, 0, false});
}

TEST(CommandLine, OnlyOneSeparatorAfterTheQuotedName) {
    // The closing quote is stepped over, then the run of blanks.
    expectParsed("\"lumra.scr\"   -s", {Mode::Saver, 0, false});
    // Nothing is stepped over twice: the character after the quote is the switch.
    expectParsed("\"lumra.scr\"p12", {Mode::Preview, 12, false});
}

TEST(CommandLine, NullLineIsTreatedAsEmpty) { expectParsed(nullptr, {Mode::Configure, 0, false}); }
