#include "display/wayland/WaylandHost.h"

#include <algorithm>
#include <cmath>

#include "display/SteadyClock.h"
#include "resources/GlowBitmap.h"
#include "shell/RunMode.h"

namespace {

constexpr std::int32_t ownWidth = 800;
constexpr std::int32_t ownHeight = 600;

}  // namespace

WaylandHost::WaylandHost(const HackOptions& options, const volatile std::sig_atomic_t& stop, int wakeFd)
    : everyOutput(options.target == HackTarget::Root),
      display(*this, *this),
      egl(display.connection),
      // The very bitmap the Windows build generates into its resources.
      glowFile(glow::makeGlowBitmapFile()),
      glowImage{glow::imageSize, glow::imageSize, glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes},
      stop(stop),
      wakeFd(wakeFd),
      run(*this, steadyClock(), *globalSettings, RunMode) {
    if (everyOutput) {
        matchOutputs();
    } else {
        surfaces.push_back(std::make_unique<WaylandSurface>(display, egl, nullptr, ownWidth, ownHeight));
    }
    // Each window's first configure, so that the first frame fills it.
    display.roundtrip();
    for (const auto& surface : surfaces) surface->takeConfiguredSize();
    NoCursor none;
    run.begin(none);
    run.buildScenes(&glowImage, nullptr, steadyClock().milliseconds());
}

void WaylandHost::outputDescribed(WaylandOutput&) { outputsChanged = true; }

// The output's window goes at once: it must not outlive the output it shows.
void WaylandHost::outputGone(WaylandOutput& output) {
    const auto on = [&output](const auto& surface) { return surface->output == &output; };
    const auto gone = std::find_if(surfaces.begin(), surfaces.end(), on);
    if (gone == surfaces.end()) return;
    std::replace(drawn.begin(), drawn.end(), gone->get(), static_cast<WaylandSurface*>(nullptr));
    surfaces.erase(gone);
    outputsChanged = true;
}

void WaylandHost::matchOutputs() {
    std::vector<std::unique_ptr<WaylandSurface>> matched;
    for (const auto& output : display.outputs()) {
        if (!output->described) continue;
        const auto on = [&output](const auto& surface) { return surface && surface->output == output.get(); };
        const auto had = std::find_if(surfaces.begin(), surfaces.end(), on);
        if (had != surfaces.end()) {
            matched.push_back(std::move(*had));
        } else {
            matched.push_back(std::make_unique<WaylandSurface>(display, egl, output.get(), output->width, output->height));
        }
    }
    surfaces = std::move(matched);
}

bool WaylandHost::pumpEvents() {
    display.dispatch();
    bool changed = outputsChanged;
    if (outputsChanged && everyOutput) matchOutputs();
    outputsChanged = false;
    for (const auto& surface : surfaces) {
        changed = surface->takeConfiguredSize() || changed;
        if (surface->closed && endsTheRun(run.handle(SaverEvent::Ending))) ending = true;
    }
    if (changed) deskChanged();
    return !ending && !stop;
}

// The desk is read on the next frame; the base of travel is taken anew
// where the pointer is, or once it comes back over a window.
void WaylandHost::deskChanged() {
    run.handle(SaverEvent::DeskChanged, pointer);
    baseTaken = pointer.over;
}

DeskLayout WaylandHost::readDesk() {
    DeskLayout desk;
    drawn.clear();
    for (const auto& surface : surfaces) {
        if (!surface->drawable() || desk.count == MaxSurfaces) continue;
        ScreenLayout& layout = desk.surfaces[desk.count];
        layout = wholeWindow(surface->width, surface->height);
        if (surface->output != nullptr) {
            layout.monitorIds[0] = surface->output->name;
            desk.refreshHertz[desk.count] = surface->output->milliHertz / 1000.0;
        }
        ++desk.count;
        drawn.push_back(surface.get());
    }
    // Scenes made for the desk upload their textures into the current context.
    if (drawn.empty()) {
        egl.makeCurrent(EGL_NO_SURFACE);
    } else {
        drawn.front()->makeCurrent();
    }
    return desk;
}

bool WaylandHost::surfaceReady(std::size_t surface) {
    return surface < drawn.size() && drawn[surface] != nullptr && drawn[surface]->ready();
}

void WaylandHost::pressed() {
    if (endsTheRun(run.handle(SaverEvent::KeyOrButton))) ending = true;
}

// Travel ends only a full-screen run, measured from where the pointer was
// first seen over a window.
void WaylandHost::pointerAt(wl_surface* over, double x, double y) {
    const auto on = [over](const auto& surface) { return surface->surface == over; };
    const auto surface = std::find_if(surfaces.begin(), surfaces.end(), on);
    if (!everyOutput || surface == surfaces.end()) return;
    const WaylandOutput* output = (*surface)->output;
    pointer.over = true;
    pointer.at = {static_cast<std::int32_t>(std::lround(output->x + x)),
                  static_cast<std::int32_t>(std::lround(output->y + y))};
    if (!baseTaken) {
        run.recordCursorBase(pointer);
        baseTaken = true;
    } else if (endsTheRun(run.handle(SaverEvent::MouseMove, pointer))) {
        ending = true;
    }
}
