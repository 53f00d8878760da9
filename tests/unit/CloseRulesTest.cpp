#include <gtest/gtest.h>

#include <cstdint>

#include "display/CloseRules.h"
#include "shell/RunMode.h"

namespace {

namespace M = WindowMessage;

// A cursor the test places; counts how often it was read.
struct PlacedCursor : CursorSource {
    bool readable = true;
    ScreenPoint at{500, 400};
    int reads = 0;
    bool cursorPosition(ScreenPoint& position) override {
        ++reads;
        if (readable) position = at;
        return readable;
    }
};

// One second into a run, the cursor base known at (500, 400), threshold 50.
CloseState stateFor(std::int32_t runMode, float elapsed = 1.0f) {
    CloseState state;
    state.runMode = runMode;
    state.elapsedSeconds = elapsed;
    state.cursorBaseKnown = true;
    state.cursorBase = {500, 400};
    state.mouseThreshold = 50;
    return state;
}

const CloseAction Nothing = CloseAction::Nothing;
const CloseAction Close = CloseAction::RequestClose;
const CloseAction Quit = CloseAction::PostQuit;
const CloseAction Default = CloseAction::DefaultProcessing;

struct TableRow {
    const char* name;
    std::uint32_t message;
    std::uint64_t wParam;
    CloseAction saver, preview, configure;  // a mode that never draws stands for "otherwise"
    std::int32_t dx = 0, dy = 0;            // where the cursor is, from its base
};

// The message table by run mode, mouse travel included.
const TableRow tableRows[] = {
    {"Destroy", M::Destroy, 0, Quit, Quit, Quit},
    {"Close", M::Close, 0, Quit, Quit, Quit},
    {"Quit", M::Quit, 0, Quit, Quit, Quit},
    {"ActivateInactive", M::Activate, 0, Close, Close, Nothing},
    {"ActivateActive", M::Activate, 1, Nothing, Nothing, Nothing},
    {"ActivateClickActive", M::Activate, 2, Nothing, Nothing, Nothing},
    // WA_INACTIVE with a non-zero high word: minimized, not deactivated.
    {"ActivateInactiveMinimized", M::Activate, 0x00010000, Nothing, Nothing, Nothing},
    {"ActivateAppOther", M::ActivateApp, 0, Close, Close, Nothing},
    {"ActivateAppOurs", M::ActivateApp, 1, Nothing, Nothing, Nothing},
    // The whole wParam is tested: only its high half set is not zero.
    {"ActivateAppHighHalf", M::ActivateApp, std::uint64_t{1} << 32, Nothing, Nothing, Nothing},
    {"NcActivateInactive", M::NcActivate, 0, Close, Close, Nothing},
    {"NcActivateActive", M::NcActivate, 1, Nothing, Nothing, Nothing},
    {"SetCursor", M::SetCursor, 0, CloseAction::HideCursor, CloseAction::ArrowCursor, CloseAction::ArrowCursor},
    {"KeyDown", M::KeyDown, 0x41, Close, Nothing, Nothing},
    {"KeyUp", M::KeyUp, 0x41, Close, Nothing, Nothing},
    {"LeftButtonDown", M::LeftButtonDown, 1, Close, Nothing, Nothing},
    {"RightButtonDown", M::RightButtonDown, 2, Close, Nothing, Nothing},
    {"MiddleButtonDown", M::MiddleButtonDown, 0x10, Close, Nothing, Nothing},
    {"SysCommandScreenSave", M::SysCommand, SystemCommand::ScreenSave, Nothing, Nothing, Nothing},
    {"SysCommandClose", M::SysCommand, SystemCommand::Close, Nothing, Nothing, Nothing},
    {"SysCommandOther", M::SysCommand, 0xF020 /* SC_MINIMIZE */, Nothing, Nothing, Nothing},
    // Alt+key and F10, button releases, double clicks and the wheel pass on.
    {"SysKeyDown", 0x0104, 0x41, Default, Default, Default},
    {"SysKeyUp", 0x0105, 0x41, Default, Default, Default},
    {"LeftButtonUp", 0x0202, 0, Default, Default, Default},
    {"LeftButtonDoubleClick", 0x0203, 1, Default, Default, Default},
    {"RightButtonUp", 0x0205, 0, Default, Default, Default},
    {"MouseWheel", 0x020A, 0x00780000, Default, Default, Default},
    {"Paint", 0x000F, 0, Default, Default, Default},
    {"Char", 0x0102, 0x41, Default, Default, Default},
    // Travel closes only beyond the threshold on one axis, and only a saver.
    {"MouseInPlace", M::MouseMove, 0, Nothing, Nothing, Nothing},
    {"MouseFiftyRight", M::MouseMove, 0, Nothing, Nothing, Nothing, 50, 0},
    {"MouseFiftyUp", M::MouseMove, 0, Nothing, Nothing, Nothing, 0, -50},
    {"MouseFortyDiagonal", M::MouseMove, 0, Nothing, Nothing, Nothing, 40, 40},
    {"MouseFiftyDiagonal", M::MouseMove, 0, Nothing, Nothing, Nothing, -50, 50},
    {"MouseFiftyOneRight", M::MouseMove, 0, Close, Nothing, Nothing, 51, 0},
    {"MouseFiftyOneLeft", M::MouseMove, 0, Close, Nothing, Nothing, -51, 0},
    {"MouseFiftyOneDown", M::MouseMove, 0, Close, Nothing, Nothing, 0, 51},
    {"MouseFiftyOneUp", M::MouseMove, 0, Close, Nothing, Nothing, 0, -51},
};

class CloseRuleTable : public ::testing::TestWithParam<TableRow> {};

TEST_P(CloseRuleTable, AnswersByRunMode) {
    const TableRow& row = GetParam();
    PlacedCursor cursor;
    cursor.at = {500 + row.dx, 400 + row.dy};
    const std::pair<std::int32_t, CloseAction> modes[] = {
        {Mode::Saver, row.saver}, {Mode::Preview, row.preview}, {Mode::Configure, row.configure}};
    for (const auto& [mode, expected] : modes) {
        EXPECT_EQ(decideCloseAction(row.message, row.wParam, stateFor(mode), cursor), expected) << "mode " << mode;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMessage, CloseRuleTable, ::testing::ValuesIn(tableRows),
                         [](const ::testing::TestParamInfo<TableRow>& info) { return info.param.name; });

TEST(CloseRules, MouseTravelIsIgnoredUntilHalfASecondHasPassedButKeysAreNot) {
    PlacedCursor cursor;
    for (std::uint32_t message : {M::KeyDown, M::LeftButtonDown}) {
        EXPECT_EQ(decideCloseAction(message, 0, stateFor(Mode::Saver, 0.0f), cursor), Close);
    }
    cursor.at = {900, 700};  // far from the base
    for (float elapsed : {0.0f, 0.25f, 0.5f}) {
        EXPECT_EQ(decideCloseAction(M::MouseMove, 0, stateFor(Mode::Saver, elapsed), cursor), Nothing) << elapsed;
    }
    EXPECT_EQ(cursor.reads, 0);
    const float justAfter = 0.50000006f;
    EXPECT_EQ(decideCloseAction(M::MouseMove, 0, stateFor(Mode::Saver, justAfter), cursor), Close);
}

TEST(CloseRules, ThresholdOfZeroOrBelow) {
    PlacedCursor cursor;
    CloseState state = stateFor(Mode::Saver);
    state.mouseThreshold = 0;
    EXPECT_EQ(decideCloseAction(M::MouseMove, 0, state, cursor), Nothing);
    cursor.at.x += 1;
    EXPECT_EQ(decideCloseAction(M::MouseMove, 0, state, cursor), Close);
    state.mouseThreshold = -1;
    cursor.at = state.cursorBase;
    EXPECT_EQ(decideCloseAction(M::MouseMove, 0, state, cursor), Close);
}

TEST(CloseRules, UnreadableCursorOrUnknownBaseNeverEndsTheRun) {
    PlacedCursor cursor;
    cursor.readable = false;
    cursor.at = {-30000, -30000};  // what a careless reader would see
    EXPECT_EQ(decideCloseAction(M::MouseMove, 0, stateFor(Mode::Saver), cursor), Nothing);

    CloseState unknownBase = stateFor(Mode::Saver);
    unknownBase.cursorBaseKnown = false;
    PlacedCursor farAway;
    farAway.at = {0, 0};
    EXPECT_EQ(decideCloseAction(M::MouseMove, 0, unknownBase, farAway), Nothing);
}

TEST(CloseRules, ExtremePositionsDoNotOverflow) {
    EXPECT_TRUE(mouseTravelExceeds({INT32_MAX, 0}, {INT32_MIN, 0}, INT32_MAX));
    EXPECT_FALSE(mouseTravelExceeds({INT32_MIN, INT32_MIN}, {INT32_MIN, INT32_MIN}, 0));
}

}  // namespace
