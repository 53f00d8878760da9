/* Preloaded into lumra by scripts/bench-paced: every buffer swap, GLX's or
 * EGL's, as a line "SECONDS DRAWABLE" (a steady clock) in $LUMRA_SWAP_LOG,
 * so that frames can be counted from outside, a drawable at a time. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static void logSwap(const void* drawable) {
    static FILE* log;
    if (log == NULL) {
        const char* path = getenv("LUMRA_SWAP_LOG");
        log = fopen(path != NULL ? path : "/dev/null", "a");
        if (log == NULL) return;
        setvbuf(log, NULL, _IOLBF, 0);
    }
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    fprintf(log, "%.6f %p\n", (double)now.tv_sec + now.tv_nsec * 1e-9, drawable);
}

void glXSwapBuffers(void* display, unsigned long drawable) {
    static void (*real)(void*, unsigned long);
    if (real == NULL) real = (void (*)(void*, unsigned long))dlsym(RTLD_NEXT, "glXSwapBuffers");
    logSwap((const void*)drawable);
    real(display, drawable);
}

unsigned int eglSwapBuffers(void* display, void* surface) {
    static unsigned int (*real)(void*, void*);
    if (real == NULL) real = (unsigned int (*)(void*, void*))dlsym(RTLD_NEXT, "eglSwapBuffers");
    logSwap(surface);
    return real(display, surface);
}
