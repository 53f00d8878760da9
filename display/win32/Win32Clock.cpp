#include "display/win32/Win32Clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

class Win32Clock : public Clock {
public:
    bool counterFrequency(std::int64_t& ticksPerSecond) override {
        LARGE_INTEGER frequency{};
        const BOOL present = QueryPerformanceFrequency(&frequency);
        ticksPerSecond = frequency.QuadPart;
        return present != FALSE;
    }
    std::int64_t counter() override {
        LARGE_INTEGER count{};
        QueryPerformanceCounter(&count);
        return count.QuadPart;
    }
    std::uint32_t milliseconds() override { return timeGetTime(); }
};

}  // namespace

Clock& systemClock() {
    static Win32Clock clock;
    return clock;
}
