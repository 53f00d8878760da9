// The frame loop every host runs, over a host of the test's: a clock set by
// hand, surfaces that a compositor of the test's makes ready once a refresh,
// and the scenes drawn for real on OSMesa.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "display/SaverRun.h"
#include "resources/GlowBitmap.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/OsMesaContext.h"
#include "tests/support/ProcessState.h"

namespace {

const std::vector<std::uint8_t> glowFile = glow::makeGlowBitmapFile();
const TextureImage glowImage{64, 64, glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes};

// Each surface refreshes every interval, offset by its phase; one presented
// is ready again at its next refresh, as frame callbacks say. A surface
// hidden gets none. Waiting moves the clock to the first refresh due, or to
// the end of the wait, whichever comes first.
class TestHost : public SaverHost, public Clock, public CursorSource {
public:
    explicit TestHost(std::size_t surfaces) : phases(surfaces, 0.0), presents(surfaces, 0), ready(surfaces, true),
                                              hidden(surfaces, false) {}

    bool pumpEvents() override { return goOn; }
    DeskLayout readDesk() override {
        ++deskReads;
        DeskLayout desk;
        desk.count = phases.size();
        for (std::size_t s = 0; s < desk.count; ++s) {
            desk.surfaces[s] = wholeWindow(64, 48);
            desk.surfaces[s].monitorIds[0] = static_cast<std::uint32_t>(s + 1);
            desk.refreshHertz[s] = 1.0 / interval;
        }
        return desk;
    }
    bool surfaceReady(std::size_t surface) override { return ready[surface]; }
    void makeCurrent(std::size_t) override {}
    void present(std::size_t surface) override {
        ++presents[surface];
        ready[surface] = false;
    }
    void waitForEvents(std::int32_t milliseconds) override {
        waits.push_back(milliseconds);
        // Without a limit, something happens within a second.
        double until = now + (milliseconds < 0 ? 1.0 : milliseconds / 1000.0);
        std::vector<double> due(phases.size());
        for (std::size_t s = 0; s < phases.size(); ++s) {
            due[s] = nextRefresh(s);
            if (!ready[s] && !hidden[s]) until = std::min(until, due[s]);
        }
        now = until;
        for (std::size_t s = 0; s < phases.size(); ++s) ready[s] = ready[s] || (!hidden[s] && due[s] <= now);
    }

    bool counterFrequency(std::int64_t& ticksPerSecond) override { return (ticksPerSecond = 1000000) > 0; }
    std::int64_t counter() override { return static_cast<std::int64_t>(now * 1e6 + 0.5); }
    std::uint32_t milliseconds() override { return static_cast<std::uint32_t>(now * 1000); }
    bool cursorPosition(ScreenPoint& position) override {
        position = cursor;
        return true;
    }

    double nextRefresh(std::size_t s) const {
        const double k = std::floor((now - phases[s]) / interval + 1e-9) + 1.0;
        return phases[s] + k * interval;
    }

    double now = 0.0, interval = 1.0 / 60.0;
    std::vector<double> phases;
    std::vector<int> presents;
    std::vector<bool> ready, hidden;
    std::vector<std::int32_t> waits;
    ScreenPoint cursor{100, 100};
    int deskReads = 0;
    bool goOn = true;
};

struct Loop {
    explicit Loop(std::size_t surfaces) : host(surfaces) {
        resetProcessState();
        settings.loadSystemValues();
        run.begin(host);
        run.buildScenes(&glowImage, nullptr, 7);
    }
    // Frame steps until the clock reaches seconds.
    void until(double seconds) {
        while (host.now < seconds) ASSERT_EQ(run.frameStep(), 1) << "the run ended at " << host.now << " s";
    }

    MemoryStore store;
    SaverSettings settings{store};
    TestHost host;
    OsMesaContext context{64, 48};
    SaverRun run{host, host, settings, Mode::Saver};
};

// Two outputs refreshing half a refresh apart each get a frame per refresh
// (one grid for both would give the later one every other); one the
// compositor hides gets none, and the other goes on.
TEST(SaverRun, EachSurfaceIsDrawnOncePerRefreshWhenReadyAndAHiddenOneNever) {
    Loop twin(2);
    twin.host.phases[1] = twin.host.interval / 2;
    twin.until(1.0);
    for (std::size_t s = 0; s < 2; ++s) {
        EXPECT_GE(twin.host.presents[s], 59) << "surface " << s << " in 1 s at 60 Hz";
        EXPECT_LE(twin.host.presents[s], 61) << "surface " << s << " in 1 s at 60 Hz";
    }
    twin.host.hidden[1] = true;
    const std::vector<int> before = twin.host.presents;
    twin.until(2.0);
    EXPECT_LE(twin.host.presents[1] - before[1], 1) << "frames on the surface hidden for 1 s (one owed before)";
    EXPECT_GE(twin.host.presents[0] - before[0], 59) << "frames on the other in that second";
    // Everything hidden: a wait without a limit, never a spin.
    twin.host.hidden[0] = true;
    twin.run.frameStep();
    twin.run.frameStep();
    EXPECT_EQ(twin.host.waits.back(), -1);
}

// Nobody can see: nothing drawn, and the wait has no limit; seen again, a
// frame at once. A desk change is read on the next pass, and a pass the host
// ends draws nothing.
TEST(SaverRun, VisibilityTheDeskAndTheEndComeThroughTheHost) {
    Loop one(1);
    one.until(0.1);
    one.run.handle(SaverEvent::HostHidden);
    const int drawn = one.host.presents[0];
    one.run.frameStep();
    one.run.frameStep();
    EXPECT_EQ(std::tuple(one.host.presents[0], one.host.waits.back()), std::tuple(drawn, -1));
    one.run.handle(SaverEvent::HostShown);
    one.run.frameStep();
    EXPECT_EQ(one.host.presents[0], drawn + 1);

    EXPECT_EQ(one.host.deskReads, 1);
    one.host.phases.push_back(0.0);
    one.host.presents.push_back(0);
    one.host.ready.push_back(true);
    one.host.hidden.push_back(false);
    one.run.handle(SaverEvent::DeskChanged);
    one.run.frameStep();
    EXPECT_EQ(std::tuple(one.host.deskReads, one.run.scenes().count()), std::tuple(2, std::size_t{2}));
    EXPECT_EQ(one.host.presents[1], 1) << "the new surface drew its first frame at once";

    one.host.goOn = false;
    const std::vector<int> before = one.host.presents;
    one.host.ready.assign(2, true);
    EXPECT_EQ(one.run.frameStep(), 0);
    EXPECT_EQ(one.host.presents, before);
}

// The close rules hear the run's own time, the base taken at its start (and
// again when the desk changes) and the settings' threshold.
TEST(SaverRun, MouseTravelIsMeasuredFromTheStartAfterHalfASecond) {
    Loop one(1);
    one.settings.mouseThreshold = 20;
    one.host.cursor = {300, 300};
    one.until(0.4);
    EXPECT_EQ(one.run.handle(SaverEvent::MouseMove, one.host), CloseAction::Nothing) << "200 px at 0.4 s";
    one.until(0.6);
    one.host.cursor = {120, 80};
    EXPECT_EQ(one.run.handle(SaverEvent::MouseMove, one.host), CloseAction::Nothing) << "20 px at 0.6 s";
    one.host.cursor = {121, 100};
    EXPECT_EQ(one.run.handle(SaverEvent::MouseMove, one.host), CloseAction::RequestClose) << "21 px at 0.6 s";
    one.run.handle(SaverEvent::DeskChanged, one.host);
    one.host.cursor = {140, 100};
    EXPECT_EQ(one.run.handle(SaverEvent::MouseMove, one.host), CloseAction::Nothing) << "19 px from the new base";
}

}  // namespace
