#include <gtest/gtest.h>

#include <cstdint>

#include "display/CloseRules.h"
#include "shell/RunMode.h"

namespace {

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

using E = SaverEvent;

struct TableRow {
    const char* name;
    SaverEvent event;
    CloseAction saver, preview, configure;  // a mode that never draws stands for "otherwise"
    std::int32_t dx = 0, dy = 0;            // where the cursor is, from its base
};

// The decisions by run mode, mouse travel included.
const TableRow tableRows[] = {
    {"Ending", E::Ending, Quit, Quit, Quit},
    {"Deactivated", E::Deactivated, Close, Close, Nothing},
    {"Activated", E::Activated, Nothing, Nothing, Nothing},
    {"SetCursor", E::SetCursor, CloseAction::HideCursor, CloseAction::ArrowCursor, CloseAction::ArrowCursor},
    {"KeyOrButton", E::KeyOrButton, Close, Nothing, Nothing},
    {"SystemCommand", E::SystemCommand, Nothing, Nothing, Nothing},
    {"Other", E::Other, Default, Default, Default},
    // Travel closes only beyond the threshold on one axis, and only a saver.
    {"MouseInPlace", E::MouseMove, Nothing, Nothing, Nothing},
    {"MouseFiftyRight", E::MouseMove, Nothing, Nothing, Nothing, 50, 0},
    {"MouseFiftyUp", E::MouseMove, Nothing, Nothing, Nothing, 0, -50},
    {"MouseFortyDiagonal", E::MouseMove, Nothing, Nothing, Nothing, 40, 40},
    {"MouseFiftyDiagonal", E::MouseMove, Nothing, Nothing, Nothing, -50, 50},
    {"MouseFiftyOneRight", E::MouseMove, Close, Nothing, Nothing, 51, 0},
    {"MouseFiftyOneLeft", E::MouseMove, Close, Nothing, Nothing, -51, 0},
    {"MouseFiftyOneDown", E::MouseMove, Close, Nothing, Nothing, 0, 51},
    {"MouseFiftyOneUp", E::MouseMove, Close, Nothing, Nothing, 0, -51},
};

class CloseRuleTable : public ::testing::TestWithParam<TableRow> {};

TEST_P(CloseRuleTable, AnswersByRunMode) {
    const TableRow& row = GetParam();
    PlacedCursor cursor;
    cursor.at = {500 + row.dx, 400 + row.dy};
    const std::pair<std::int32_t, CloseAction> modes[] = {
        {Mode::Saver, row.saver}, {Mode::Preview, row.preview}, {Mode::Configure, row.configure}};
    for (const auto& [mode, expected] : modes) {
        EXPECT_EQ(decideCloseAction(row.event, stateFor(mode), cursor), expected) << "mode " << mode;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMessage, CloseRuleTable, ::testing::ValuesIn(tableRows),
                         [](const ::testing::TestParamInfo<TableRow>& info) { return info.param.name; });

TEST(CloseRules, MouseTravelIsIgnoredUntilHalfASecondHasPassedButKeysAreNot) {
    PlacedCursor cursor;
    EXPECT_EQ(decideCloseAction(E::KeyOrButton, stateFor(Mode::Saver, 0.0f), cursor), Close);
    cursor.at = {900, 700};  // far from the base
    for (float elapsed : {0.0f, 0.25f, 0.5f}) {
        EXPECT_EQ(decideCloseAction(E::MouseMove, stateFor(Mode::Saver, elapsed), cursor), Nothing) << elapsed;
    }
    EXPECT_EQ(cursor.reads, 0);
    const float justAfter = 0.50000006f;
    EXPECT_EQ(decideCloseAction(E::MouseMove, stateFor(Mode::Saver, justAfter), cursor), Close);
}

TEST(CloseRules, ThresholdOfZeroOrBelow) {
    PlacedCursor cursor;
    CloseState state = stateFor(Mode::Saver);
    state.mouseThreshold = 0;
    EXPECT_EQ(decideCloseAction(E::MouseMove, state, cursor), Nothing);
    cursor.at.x += 1;
    EXPECT_EQ(decideCloseAction(E::MouseMove, state, cursor), Close);
    state.mouseThreshold = -1;
    cursor.at = state.cursorBase;
    EXPECT_EQ(decideCloseAction(E::MouseMove, state, cursor), Close);
}

TEST(CloseRules, UnreadableCursorOrUnknownBaseNeverEndsTheRun) {
    PlacedCursor cursor;
    cursor.readable = false;
    cursor.at = {-30000, -30000};  // what a careless reader would see
    EXPECT_EQ(decideCloseAction(E::MouseMove, stateFor(Mode::Saver), cursor), Nothing);

    CloseState unknownBase = stateFor(Mode::Saver);
    unknownBase.cursorBaseKnown = false;
    PlacedCursor farAway;
    farAway.at = {0, 0};
    EXPECT_EQ(decideCloseAction(E::MouseMove, unknownBase, farAway), Nothing);
}

TEST(CloseRules, ExtremePositionsDoNotOverflow) {
    EXPECT_TRUE(mouseTravelExceeds({INT32_MAX, 0}, {INT32_MIN, 0}, INT32_MAX));
    EXPECT_FALSE(mouseTravelExceeds({INT32_MIN, INT32_MIN}, {INT32_MIN, INT32_MIN}, 0));
}

}  // namespace
