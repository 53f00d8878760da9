// A library without the password-change service, for the test that the
// lookup releases a library it cannot use.
#include <windows.h>

extern "C" int noServiceMarker() { return 1; }
