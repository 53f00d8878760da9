#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "shell/CommandLine.h"
#include "shell/RunMode.h"

namespace {

constexpr std::int32_t Stop = Mode::None;  // the line ends the program at once

// Lines that share one outcome: the mode, the handle, and whether the owner is the foreground window.
struct Group {
    std::int32_t mode, handle;
    bool foreground;
    std::vector<const char*> lines;
};

const Group groups[] = {
    // The program name alone, quoted or not; a tab does not end the name.
    {Mode::Configure, 0, false,
     {"lumra.scr", "lumra.scr   ", "\"C:\\Program Files\\lumra.scr\"", "\"C:\\Program Files\\lumra.scr\"  ", "",
      nullptr, "\"unterminated quote /s", "lumra.scr\t/s"}},
    // Only the switch's first letter counts; one step over the closing quote, then the blanks.
    {Mode::Saver, 0, false,
     {"lumra.scr /s", "\"C:\\My Savers\\lumra.scr\" /s", "\"C:\\My Savers\\lumra.scr\"/s", "lumra.scr -S",
      "lumra.scr s", "lumra.scr    /s 1234", "lumra.scr /start", "\"lumra.scr\"   -s"}},
    // The host handle follows blanks and colons (other white space is atoi's to skip).
    {Mode::Preview, 1234, false,
     {"lumra.scr /p 1234", "lumra.scr /p:1234", "lumra.scr -P1234", "lumra.scr /l : :1234", "lumra.scr /L1234xyz",
      "lumra.scr p 1234", "\"a b\\lumra.scr\"/p1234", "lumra.scr /p\t1234"}},
    {Mode::Preview, 0, false,
     {"lumra.scr /preview", "lumra.scr /p", "lumra.scr /p::", "lumra.scr /p x12", "lumra.scr /p - 5"}},
    {Mode::Preview, 12, false, {"\"lumra.scr\"p12", "lumra.scr /p +12", "lumra.scr /p\r12", "lumra.scr /p\v\f12"}},
    {Mode::Preview, -5, false, {"lumra.scr /p -5", "lumra.scr /p:\t-005"}},
    {Mode::Preview, -1, false, {"lumra.scr /p 4294967295"}},  // 32 bits, as from a 64-bit host
    // Configure falls back to the foreground window only when nothing follows.
    {Mode::Configure, 0, true, {"lumra.scr /c", "lumra.scr /C", "lumra.scr /c: :  "}},
    {Mode::Configure, 0, false, {"lumra.scr /c:0", "lumra.scr /c abc", "lumra.scr /config", "lumra.scr /c\t"}},
    {Mode::Configure, 4321, false, {"lumra.scr /c:4321"}},
    {Mode::ChangePassword, 55, false, {"lumra.scr /a:55", "lumra.scr -A 55"}},
    {Mode::ChangePassword, 0, false, {"lumra.scr /a"}},
    {Stop, 0, false,
     {"lumra.scr /x", "lumra.scr x", "lumra.scr //s", "lumra.scr -", "lumra.scr /", "lumra.scr -/s",
      "lumra.scr /1234", "lumra.scr :s", "lumra.scr \t/s"}},
};

}  // namespace

TEST(CommandLine, EveryLineGivesItsModeHandleAndOwnerRule) {
    for (const Group& group : groups) {
        for (const char* line : group.lines) {
            const CommandLineResult r = parseCommandLine(line);
            EXPECT_EQ(std::tuple(r.proceed, r.mode, r.handle, r.useForegroundWindow),
                      std::tuple(group.mode != Stop, group.mode, group.handle, group.foreground))
                << (line == nullptr ? "(null)" : line);
        }
    }
}
