#include "display/x11/X11Host.h"

// The program's own headers come first: Xlib's macros would break them.
#include "display/SteadyClock.h"
#include "display/x11/MonitorList.h"
#include "resources/GlowBitmap.h"
#include "shell/RunMode.h"

namespace {

// The events whose type alone tells what they mean.
constexpr struct {
    int type;
    SaverEvent event;
} plainEvents[] = {
    {ConfigureNotify, SaverEvent::DeskChanged}, {DestroyNotify, SaverEvent::Ending},
    {UnmapNotify, SaverEvent::HostHidden},      {MapNotify, SaverEvent::HostShown},
    {KeyPress, SaverEvent::KeyOrButton},        {ButtonPress, SaverEvent::KeyOrButton},
};

// The daemon's windows select no input, so keys and buttons come only from
// the program's own window.
SaverEvent translate(const XEvent& event, const XTargetWindow& target, Window root) {
    if (target.followsMonitors && event.type == ConfigureNotify && event.xconfigure.window == root) {
        return SaverEvent::DeskChanged;
    }
    if (event.xany.window != target.window) return SaverEvent::Other;
    if (event.type == VisibilityNotify) {
        return event.xvisibility.state == VisibilityFullyObscured ? SaverEvent::HostHidden : SaverEvent::HostShown;
    }
    if (event.type == ClientMessage) {
        const bool close = static_cast<Atom>(event.xclient.data.l[0]) == target.deleteWindow;
        return close ? SaverEvent::Ending : SaverEvent::Other;
    }
    for (const auto& plain : plainEvents) {
        if (plain.type == event.type) return plain.event;
    }
    return SaverEvent::Other;
}

}  // namespace

X11Host::X11Host(const HackOptions& options, const volatile std::sig_atomic_t& stop, int wakeFd)
    : connection(options.display),
      target(connection, options),
      context(connection.display, target.visual, target.window),
      hertz(refreshRate(connection.display, connection.root)),
      // The very bitmap the Windows build generates into its resources, by
      // the same generator code, so both programs show the same pixels.
      glowFile(glow::makeGlowBitmapFile()),
      glowImage{glow::imageSize, glow::imageSize, glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes},
      stop(stop),
      wakeFd(wakeFd),
      run(*this, steadyClock(), *globalSettings, RunMode) {
    // No pointer position is read on X: the daemon watches the mouse.
    NoCursor none;
    run.begin(none);
    run.buildScenes(&glowImage, nullptr, steadyClock().milliseconds());
}

bool X11Host::pumpEvents() {
    Display* display = connection.display;
    while (!ending && !stop && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (endsTheRun(run.handle(translate(event, target, connection.root)))) ending = true;
    }
    // A window destroyed before its events were selected sends no
    // DestroyNotify; the failed requests that name it tell instead.
    if (connection.watchedWindowGone()) ending = true;
    return !ending && !stop;
}

// The window's size and the monitors it covers, read afresh; the run decides
// which pictures stay.
DeskLayout X11Host::readDesk() {
    Display* display = connection.display;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, target.window, &attributes) == 0) return run.desk();
    if (!target.followsMonitors) return DeskLayout(wholeWindow(attributes.width, attributes.height), hertz);
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, target.window, connection.root, 0, 0, &x, &y, &child);
    const MonitorList monitors = listMonitors(display, connection.root);
    return DeskLayout(
        layoutInWindow({x, y, x + attributes.width, y + attributes.height}, monitors.monitors, monitors.count), hertz);
}
