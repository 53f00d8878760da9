// SaverSettings::requestClose lives with the Windows adapters because it posts
// a window message; the rest of the record is portable.
#include <windows.h>

#include "shell/SaverSettings.h"

void SaverSettings::requestClose() {
    closeRequested = 1;
    // Posted, not sent: the close rules run inside the window procedure, and
    // the window must finish handling the current message before it closes.
    PostMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
}
