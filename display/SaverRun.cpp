// The frame loop, written once for every host.
#include "display/SaverRun.h"

#include <algorithm>

SaverRun::SaverRun(SaverHost& host, Clock& clock, SaverSettings& settings, std::int32_t runMode)
    : timer(clock), host(host), settings(settings), runMode(runMode) {}

void SaverRun::begin(CursorSource& cursor) {
    recordCursorBase(cursor);
    timer.start();
}

void SaverRun::recordCursorBase(CursorSource& cursor) {
    ScreenPoint position;
    settings.cursorBaseKnown = cursor.cursorPosition(position);
    if (settings.cursorBaseKnown) settings.cursorBase = position;
}

void SaverRun::buildScenes(const TextureImage* primary, const TextureImage* secondary, std::uint32_t seed) {
    primaryImage = primary;
    secondaryImage = secondary;
    layout = host.readDesk();
    takeRefreshRates();
    monitorScenes = std::make_unique<MonitorScenes>(primary, secondary, seed, layout);
    deskStale = false;
}

void SaverRun::takeRefreshRates() {
    for (std::size_t s = 0; s < layout.count && s < MaxSurfaces; ++s) pacers[s].setRefreshRate(layout.refreshHertz[s]);
}

CloseAction SaverRun::handle(SaverEvent event, CursorSource& cursor) {
    for (FramePacer& pacer : pacers) pacer.observe(event);
    if (event == SaverEvent::DeskChanged) {
        deskStale = true;
        // The system moves the cursor off a monitor that leaves: no user moved it.
        recordCursorBase(cursor);
    }
    CloseState state;
    state.runMode = runMode;
    state.elapsedSeconds = timer.elapsedSeconds();
    state.cursorBaseKnown = settings.cursorBaseKnown;
    state.cursorBase = settings.cursorBase;
    state.mouseThreshold = settings.mouseThreshold;
    return decideCloseAction(event, state, cursor);
}

CloseAction SaverRun::handle(SaverEvent event) {
    NoCursor cursor;
    return handle(event, cursor);
}

void SaverRun::followDesk() {
    if (!deskStale || !monitorScenes) return;
    deskStale = false;
    layout = host.readDesk();
    takeRefreshRates();
    monitorScenes->relayout(primaryImage, secondaryImage, layout, timer.elapsedSecondsPrecise());
}

std::int32_t SaverRun::frameStep() {
    timer.tick();
    if (!host.pumpEvents()) {
        return 0;  // the picture last shown stays
    }
    followDesk();
    // Each surface keeps its own grid: outputs that refresh at their own
    // moments (or rates) would otherwise hold each other back.
    const double now = timer.now();
    bool drew = false;
    std::int32_t wait = -1;  // no limit: nothing can be shown until something happens
    for (std::size_t s = 0; s < layout.count && s < MaxSurfaces; ++s) {
        if (!host.surfaceReady(s)) continue;
        const PaceDecision decision = pacers[s].next(now);
        if (decision.kind == PaceDecision::Kind::DrawNow) {
            pacers[s].frameDrawn(now);
            drawSurface(s);
            drew = true;
        } else if (decision.kind == PaceDecision::Kind::WaitUpTo) {
            const auto milliseconds = static_cast<std::int32_t>(decision.milliseconds);
            wait = wait < 0 ? milliseconds : std::min(wait, milliseconds);
        }
    }
    if (!drew) host.waitForEvents(wait);
    return 1;
}

void SaverRun::drawSurface(std::size_t surface) {
    // The absolute time since the timer started, not the frame's length.
    monitorScenes->update(timer.elapsedSecondsPrecise(), surface);
    host.makeCurrent(surface);
    monitorScenes->draw(surface);
    host.present(surface);
}
