// Prints how many pixels of the screen of $DISPLAY glow as the particles do,
// in the rectangle X Y WIDTH HEIGHT if given; the XScreenSaver check reads
// the daemon's screen with it.
#include <cstdio>
#include <cstdlib>

#include "tests/x11/HackSupport.h"

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "glow_probe: cannot open the display\n");
        return 1;
    }
    const bool area = argc == 5;
    std::printf("%d\n", glowingPixels(display, area ? std::atoi(argv[1]) : 0, area ? std::atoi(argv[2]) : 0,
                                      area ? std::atoi(argv[3]) : DisplayWidth(display, 0),
                                      area ? std::atoi(argv[4]) : DisplayHeight(display, 0)));
    XCloseDisplay(display);
    return 0;
}
