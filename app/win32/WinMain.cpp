// The entry point of lumra.scr and its composition root, above everything it
// wires together: reads the screen-saver switch, loads the settings, runs the
// chosen mode, and turns an escaping error into one message box and exit
// code 255.
#include <windows.h>

#include "display/win32/SaverScene.h"
#include "resources/ResourceIds.h"
#include "shell/CommandLine.h"
#include "shell/Exception.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"
#include "shell/win32/ConfigDialog.h"
#include "shell/win32/PasswordChange.h"
#include "shell/win32/RegistryStore.h"

namespace {

constexpr int failureExitCode = 255;

void runMode(HWND owner) {
    switch (RunMode) {
    case Mode::ChangePassword:
        changePassword(owner);
        break;
    case Mode::Configure:
        DialogBoxParamA(reinterpret_cast<HINSTANCE>(moduleInstance), MAKEINTRESOURCEA(IDD_SAVER_SETUP),
                        owner, configDialogProc, 0);
        break;
    case Mode::Preview:
    case Mode::Saver: {
        SaverScene scene;
        while (scene.frameStep() != 0) {
        }
        break;
    }
    default:
        break;
    }
}

// A failure after the saver window exists would leave it up: topmost, over
// the whole screen, with the cursor hidden, so the error box under it could
// be neither seen nor dismissed. The window object is gone by now, so the
// destruction posts no quit message that could dismiss the box unread.
void removeSaverWindow(SaverSettings& settings) {
    if (settings.window != 0) {
        DestroyWindow(reinterpret_cast<HWND>(settings.window));
        settings.window = 0;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    moduleInstance = reinterpret_cast<NativeHandle>(instance);

    // The argument text is not used: GetCommandLineA keeps the program name,
    // which the parser expects in front of the switch.
    const CommandLineResult parsed = parseCommandLine(GetCommandLineA());
    if (!parsed.proceed) {
        return 0;  // an unknown switch is no error; nothing is read or shown
    }
    RunMode = parsed.mode;
    // The number is a 32-bit handle value; widening through INT_PTR keeps
    // a window handle's sign extension on 64-bit Windows.
    HWND owner = parsed.useForegroundWindow
                     ? GetForegroundWindow()
                     : reinterpret_cast<HWND>(static_cast<INT_PTR>(parsed.handle));
    mainWindowHandle = reinterpret_cast<NativeHandle>(owner);

    // The record outlives the error box: while the box runs its modal loop the
    // saver window may still receive messages, and its procedure reads
    // globalSettings.
    RegistryStore store;
    SaverSettings settings(store);
    int exitCode = 0;
    try {
        globalSettings = &settings;
        settings.loadSystemValues();
        settings.load();
        runMode(owner);
    } catch (const Exception& error) {
        removeSaverWindow(settings);
        MessageBoxA(nullptr, error.message(), "Saver Error", MB_ICONWARNING);
        exitCode = failureExitCode;
    } catch (...) {
        removeSaverWindow(settings);
        MessageBoxA(nullptr, "Unknown Exception", "Error", MB_OK);
        exitCode = failureExitCode;
    }
    globalSettings = nullptr;
    return exitCode;
}
