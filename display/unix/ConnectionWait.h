// What the Linux hosts share about the connection to their display server:
// the wait on it and on the signal pipe, and a crash that is the loss of that
// connection ending as the loss does.
#pragma once

// Sleeps until connectionFd or wakeFd (when not negative) can be read, or
// milliseconds pass; no limit when milliseconds is negative. True when the
// connection can be read (or has failed, which a read then tells).
bool waitOnConnection(int connectionFd, int wakeFd, int milliseconds);

// Some of the GL drivers' requests use a failed reply without looking, so a
// server that goes at the wrong moment crashes the program before its own
// code hears of the loss. From now on, a crash while connectionFd's peer has
// gone ends the program with status instead; any other crash stays one.
// A negative connectionFd forgets the connection.
void endCrashesOnLostConnection(int connectionFd, int status);
