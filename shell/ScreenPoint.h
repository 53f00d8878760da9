// A position on the screen, in pixels: where the cursor is, and where it was
// when a run started.
#pragma once

#include <cstdint>

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
