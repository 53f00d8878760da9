#include "tools/bench/DrawComparison.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "tests/support/DiamondOracle.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Draw>
double millisecondsOf(Draw draw) {
    const Clock::time_point start = Clock::now();
    draw();
    glFinish();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace

DrawTimes drawBothWays(Scene& scene) {
    DrawTimes times;
    times.oneByOne = millisecondsOf([&] {
        scene.prepareFrame();
        drawDiamondsOneByOne(scene.particles(), scene.particles().camera.angles);
    });
    times.arrays = millisecondsOf([&] { scene.draw(); });
    return times;
}

DrawTimes compareDrawing(Scene& scene, double seconds) {
    glFinish();
    std::vector<double> oneByOne, arrays;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(seconds));
    while (oneByOne.size() < 10 || Clock::now() < end) {
        const DrawTimes times = drawBothWays(scene);
        oneByOne.push_back(times.oneByOne);
        arrays.push_back(times.arrays);
    }
    DrawTimes medians;
    medians.oneByOne = median(oneByOne);
    medians.arrays = median(arrays);
    return medians;
}

void printDrawTimes(const char* where, Scene& scene, const DrawTimes& times) {
    std::printf("drawing one frame, %s, %d live: one diamond at a time %.3f ms, one vertex array %.3f ms, %.1f times "
                "faster\n",
                where, static_cast<int>(scene.particles().liveCount), times.oneByOne, times.arrays,
                times.oneByOne / times.arrays);
    std::fflush(stdout);
}
