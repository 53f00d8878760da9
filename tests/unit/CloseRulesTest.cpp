#include <gtest/gtest.h>

#include <cstdint>

#include "display/CloseRules.h"
#include "shell/RunMode.h"

using A = CloseAction;
using E = SaverEvent;

// The test is the cursor, which it places by hand.
class CloseRules : public ::testing::Test, public CursorSource {
protected:
    bool cursorPosition(ScreenPoint& position) override {
        position = cursor;
        return true;
    }
    // By default a second into a run, the cursor base known at (500, 400), threshold 50.
    A decide(E event, std::int32_t runMode, float elapsed = 1.0f, std::int32_t threshold = 50, bool known = true) {
        return decideCloseAction(event, CloseState{runMode, elapsed, known, {500, 400}, threshold}, *this);
    }

    ScreenPoint cursor{500, 400};
};

// Configure stands for every mode that does not draw. Travel counts only
// beyond the threshold, on either axis alone, and only in a saver.
TEST_F(CloseRules, EachEventIsAnsweredByRunModeAndMouseTravelByThreshold) {
    const struct { E event; A saver, preview, configure; std::int32_t dx = 0, dy = 0; } rows[] = {
        {E::Ending, A::PostQuit, A::PostQuit, A::PostQuit},
        {E::Deactivated, A::RequestClose, A::RequestClose, A::Nothing},
        {E::Activated, A::Nothing, A::Nothing, A::Nothing},
        {E::SetCursor, A::HideCursor, A::ArrowCursor, A::ArrowCursor},
        {E::KeyOrButton, A::RequestClose, A::Nothing, A::Nothing},
        {E::SystemCommand, A::Nothing, A::Nothing, A::Nothing},
        {E::Other, A::DefaultProcessing, A::DefaultProcessing, A::DefaultProcessing},
        {E::MouseMove, A::Nothing, A::Nothing, A::Nothing, -50, 50},
        {E::MouseMove, A::RequestClose, A::Nothing, A::Nothing, -51, 0},
        {E::MouseMove, A::RequestClose, A::Nothing, A::Nothing, 0, -51},
    };
    for (const auto& row : rows) {
        cursor = {500 + row.dx, 400 + row.dy};
        EXPECT_EQ(decide(row.event, Mode::Saver), row.saver) << "row " << &row - rows;
        EXPECT_EQ(decide(row.event, Mode::Preview), row.preview) << "row " << &row - rows;
        EXPECT_EQ(decide(row.event, Mode::Configure), row.configure) << "row " << &row - rows;
    }
    // Keys count at once, travel only after half a second and from a known
    // base. A threshold of 0 ends the run on one pixel; below 0, on any report.
    cursor = {500, 400};
    EXPECT_EQ(decide(E::KeyOrButton, Mode::Saver, 0.0f), A::RequestClose);
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 1.0f, 0), A::Nothing);
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 1.0f, -1), A::RequestClose);
    cursor = {501, 400};
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 1.0f, 0), A::RequestClose);
    cursor = {900, 700};
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 0.5f), A::Nothing);
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 0.50000006f), A::RequestClose);
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 1.0f, 50, false), A::Nothing);
    EXPECT_TRUE(mouseTravelExceeds({INT32_MAX, 0}, {INT32_MIN, 0}, INT32_MAX));
    EXPECT_FALSE(mouseTravelExceeds({INT32_MIN, INT32_MIN}, {INT32_MIN, INT32_MIN}, 0));
}
