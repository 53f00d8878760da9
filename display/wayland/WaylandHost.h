// The Linux host of the run on a Wayland compositor: with -root a fullscreen
// window on every output, each its own surface and scene, else one window of
// its own. Frames follow each surface's frame callbacks, so a surface the
// compositor hides draws nothing and no swap ever waits; outputs added or
// removed are followed. The run ends on a key, a button, the pointer's
// travel (-root), the window closed, or a signal.
#pragma once

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "display/SaverRun.h"
#include "display/wayland/EglContext.h"
#include "display/wayland/WaylandDisplay.h"
#include "display/wayland/WaylandSurface.h"
#include "shell/x11/HackOptions.h"

class WaylandHost : public SaverHost, WaylandDisplay::Listener, WaylandInput::Listener {
public:
    // Connects, opens the windows, makes a context current and builds the
    // scenes. stop is set by the ending signals, whose handler also writes to
    // wakeFd. Throws Exception with a one-line text that says what failed.
    WaylandHost(const HackOptions& options, const volatile std::sig_atomic_t& stop, int wakeFd);

    bool pumpEvents() override;
    DeskLayout readDesk() override;
    bool surfaceReady(std::size_t surface) override;
    void makeCurrent(std::size_t surface) override { drawn[surface]->makeCurrent(); }
    void present(std::size_t surface) override { drawn[surface]->present(); }
    void waitForEvents(std::int32_t milliseconds) override { display.wait(milliseconds, wakeFd); }

private:
    // Where the pointer is in the compositor's space, while it is over a window.
    struct Pointer : CursorSource {
        bool cursorPosition(ScreenPoint& position) override {
            position = at;
            return over;
        }
        bool over = false;
        ScreenPoint at;
    };

    void outputDescribed(WaylandOutput& output) override;
    void outputGone(WaylandOutput& output) override;
    void pressed() override;
    void pointerAt(wl_surface* surface, double x, double y) override;
    void pointerLeft() override { pointer.over = false; }

    // Makes the windows match the outputs: one for each described, in their order.
    void matchOutputs();
    void deskChanged();

    const bool everyOutput;
    WaylandDisplay display;
    EglContext egl;
    std::vector<std::unique_ptr<WaylandSurface>> surfaces;  // in the outputs' order
    std::vector<WaylandSurface*> drawn;                      // the desk last read; null once gone
    std::vector<std::uint8_t> glowFile;
    TextureImage glowImage;
    Pointer pointer;
    bool baseTaken = false;
    bool outputsChanged = false;
    bool ending = false;
    const volatile std::sig_atomic_t& stop;
    int wakeFd;

public:
    // Last, so that it goes first: the scenes' textures while the context lives.
    SaverRun run;
};
