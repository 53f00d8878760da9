#include "display/x11/MonitorList.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace {

void add(MonitorList& list, int x, int y, int width, int height, bool primary, std::uint32_t id = 0) {
    if (list.count < MaxMonitors) list.monitors[list.count++] = {{x, y, x + width, y + height}, primary, id};
}

bool readRandrMonitors(Display* display, Window root, MonitorList& list) {
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor) ||
        major * 100 + minor < 105) {
        return false;
    }
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count);
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& m = monitors[i];
        // The name's atom stays the monitor's while the server runs.
        add(list, m.x, m.y, m.width, m.height, m.primary != 0, static_cast<std::uint32_t>(m.name));
    }
    if (monitors != nullptr) XRRFreeMonitors(monitors);
    return list.count > 0;
}

// Xinerama has no primary; its first screen is where desktops put it.
void readXineramaScreens(Display* display, MonitorList& list) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XineramaQueryExtension(display, &eventBase, &errorBase) || !XineramaIsActive(display)) return;
    int count = 0;
    XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
    for (int i = 0; i < count; ++i) {
        add(list, screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height, i == 0);
    }
    if (screens != nullptr) XFree(screens);
}

}  // namespace

MonitorList listMonitors(Display* display, Window root) {
    MonitorList list;
    if (!readRandrMonitors(display, root, list)) {
        list.count = 0;
        readXineramaScreens(display, list);
    }
    return list;
}

double refreshRate(Display* display, Window root) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) return 0.0;
    XRRScreenConfiguration* config = XRRGetScreenInfo(display, root);
    if (config == nullptr) return 0.0;
    const short rate = XRRConfigCurrentRate(config);
    XRRFreeScreenConfigInfo(config);
    return rate;
}
