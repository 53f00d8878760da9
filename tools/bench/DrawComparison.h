// One frame of a scene drawn both ways over the same particles: one diamond
// at a time in immediate mode, the way the saver first drew them (the tests
// keep that drawing as their oracle), and the product's own vertex arrays.
// The two alternate, so that a busy machine slows both alike, and each is
// finished with glFinish, so that a software renderer's rasterising counts.
#pragma once

#include "display/Scene.h"

// Milliseconds of one frame each way.
struct DrawTimes {
    double oneByOne = 0.0;
    double arrays = 0.0;
};

// One frame each way, the first one diamond at a time.
DrawTimes drawBothWays(Scene& scene);
// Frames each way for at least seconds (and at least 10 of each); the
// medians, which a load spike in a few frames does not move.
DrawTimes compareDrawing(Scene& scene, double seconds);
// One line of figures for the scene drawn in the place named by where.
void printDrawTimes(const char* where, Scene& scene, const DrawTimes& times);
