// Reads the monitor list from the system and hands it on unchanged: the
// decisions about it live in the portable screen layout.
#include "display/win32/MonitorList.h"

#include <windows.h>

namespace {

// A monitor's handle changes with the desk; the name of the display it is
// on ("\\.\DISPLAY2") does not. FNV-1a of the name, never 0.
std::uint32_t idOf(const char* device) {
    std::uint32_t hash = 2166136261u;
    for (const char* c = device; *c != '\0'; ++c) hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
    return hash != 0 ? hash : 1;
}

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        MonitorList& list = *reinterpret_cast<MonitorList*>(data);
        info.szDevice[sizeof info.szDevice - 1] = '\0';
        list.monitors[list.count++] = {{r.left, r.top, r.right, r.bottom},
                                       (info.dwFlags & MONITORINFOF_PRIMARY) != 0,
                                       idOf(info.szDevice)};
        return list.count < MaxMonitors;
    }
    return TRUE;
}

}  // namespace

MonitorList listMonitors() {
    MonitorList list;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}
