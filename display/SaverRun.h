// One drawing run, whatever the host: the frame timer, the pacing of each
// surface, the state the close rules need, and the monitors' scenes. It runs
// the frame loop over a SaverHost, so each host only translates its system's
// events and carries out what the run decides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "display/Clock.h"
#include "display/CloseRules.h"
#include "display/FramePacer.h"
#include "display/FrameTimer.h"
#include "display/MonitorScenes.h"
#include "display/SaverHost.h"
#include "shell/SaverSettings.h"

class SaverRun {
public:
    // settings: the run's record, which keeps the base of mouse travel and
    // gives its threshold; runMode: Saver or Preview. The timer waits for
    // begin(), the scenes for buildScenes().
    SaverRun(SaverHost& host, Clock& clock, SaverSettings& settings, std::int32_t runMode);

    // The run starts for the user as its window shows: from here counts the
    // first half second, in which mouse movement is ignored, and from here
    // the cursor's travel.
    void begin(CursorSource& cursor);
    // The scenes for the desk the host reads now, on its current context.
    // The images must last as long as the run. Throws as Scene does.
    void buildScenes(const TextureImage* primary, const TextureImage* secondary, std::uint32_t seed);

    // An event the host translated, with where the pointer is (for the mouse
    // rule and a desk change); the host carries out the answer.
    CloseAction handle(SaverEvent event, CursorSource& cursor);
    CloseAction handle(SaverEvent event);
    // Mouse travel is measured from where cursor is now; unknown if it cannot say.
    void recordCursorBase(CursorSource& cursor);

    // One pass of the loop: the timer ticked, the host's events handled, the
    // desk followed, then each surface that is owed a frame drawn and shown,
    // or, when none is, a wait for as long as pacing allows. 1 while the run
    // goes on, 0 once the host says it ends (nothing is drawn then).
    std::int32_t frameStep();
    // The frame of one surface: its scenes updated to the timer's last tick,
    // drawn and presented. frameStep calls it; a benchmark may too.
    void drawSurface(std::size_t surface);

    // Lets go of the scenes and their textures while the context is still current.
    void dropScenes() { monitorScenes.reset(); }

    bool anyoneCanSee() const { return pacers[0].anyoneCanSee(); }
    const DeskLayout& desk() const { return layout; }
    MonitorScenes& scenes() { return *monitorScenes; }

    FrameTimer timer;

private:
    void followDesk();
    void takeRefreshRates();

    SaverHost& host;
    SaverSettings& settings;
    std::int32_t runMode;
    FramePacer pacers[MaxSurfaces];
    DeskLayout layout;
    bool deskStale = false;
    const TextureImage* primaryImage = nullptr;
    const TextureImage* secondaryImage = nullptr;
    std::unique_ptr<MonitorScenes> monitorScenes;
};
