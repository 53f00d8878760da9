#include "display/unix/ConnectionWait.h"

#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <initializer_list>

namespace {

int guardedFd = -1;
int lossStatus = 0;

bool peerGone(int fd) {
    pollfd peer{fd, POLLRDHUP, 0};
    return fd >= 0 && poll(&peer, 1, 0) == 1 && (peer.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// Reset on entry: returning repeats the fault, now with the default action.
void crashed(int) {
    if (peerGone(guardedFd)) _exit(lossStatus);
}

}  // namespace

bool waitOnConnection(int connectionFd, int wakeFd, int milliseconds) {
    pollfd watched[2] = {{connectionFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    return poll(watched, wakeFd >= 0 ? 2 : 1, milliseconds) > 0 && watched[0].revents != 0;
}

void endCrashesOnLostConnection(int connectionFd, int status) {
    guardedFd = connectionFd;
    lossStatus = status;
    if (connectionFd < 0) return;
    struct sigaction action {};
    action.sa_handler = crashed;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGSEGV, SIGBUS, SIGABRT}) sigaction(signal, &action, nullptr);
}
