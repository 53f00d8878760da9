// Reads the monitor list from the system and hands it on unchanged: the
// decisions about it live in the portable screen layout.
#include "display/win32/MonitorList.h"

#include <windows.h>

namespace {

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        MonitorList& list = *reinterpret_cast<MonitorList*>(data);
        list.monitors[list.count++] = {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
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
