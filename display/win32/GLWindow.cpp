// The saver window and its OpenGL context, and the host's side of the run:
// the message pump, the wait, the desk and the swap. A failed construction lets go of
// the contexts it had acquired and clears the instance slot; the window
// itself is left to the entry point, which removes it once no window object
// is left whose procedure could post the quit message into its error box.
#include "display/win32/GLWindow.h"

#include <mmsystem.h>
#include <wtsapi32.h>

#include "display/win32/SaverWindowProc.h"
#include "display/win32/Win32Clock.h"
#include "shell/Exception.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"

GLWindow* GLWindow::instance = nullptr;

namespace {

const char* const windowClassName = "tirrans_class";
const char* const windowTitle = "Tirrans";

HWND mainWindow() { return reinterpret_cast<HWND>(mainWindowHandle); }
HINSTANCE module() { return reinterpret_cast<HINSTANCE>(moduleInstance); }

// The screen-saver settings start a preview on their monitor control while
// the page is still being built, so a hidden host is a real one: the preview
// shows with it and ends with it. Refused are only hosts under which a preview
// could never end: no window at all, the desktop (the preview would cover the
// screen with nothing to close it), and a message-only window, whose tree
// never shows and never goes away on the user's account.
bool canHostPreview(HWND host) {
    const HWND desktop = GetDesktopWindow();
    return IsWindow(host) && host != desktop && GetAncestor(GetAncestor(host, GA_ROOT), GA_PARENT) == desktop;
}

// The frame loop never waits on its own account, so on a driver that does
// not sync by default it would draw thousands of frames a second: the swap
// is asked to wait for the display instead. A driver without the extension
// goes on as before.
void syncSwapsToTheDisplay() {
    using SwapInterval = BOOL(WINAPI*)(int);
    // Through void(*)(), the one function type a cast may pass through unwarned.
    const auto setInterval = reinterpret_cast<SwapInterval>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (setInterval != nullptr) setInterval(1);
}

// The primary display's refresh rate; 0 or 1 (the hardware's default) when
// the driver does not say, which the pacer reads as 60 Hz.
double displayRefreshRate() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    return EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) ? mode.dmDisplayFrequency : 0.0;
}

void setScreenSaverRunning(UINT running) {
    UINT previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running, &previous, 0);
}

}  // namespace

GLWindow::GLWindow()
    : run(*this, systemClock(), *globalSettings, RunMode),
      active(false),
      width(0),
      height(0),
      colorBits(16),
      renderContext(nullptr),
      deviceContext(nullptr),
      message{} {
    if (instance != nullptr) {
        throw Exception("Multiple instances of Window found.");
    }
    instance = this;
    active = true;
    try {
        createWindow();
    } catch (...) {
        releaseContexts();
        instance = nullptr;
        throw;
    }
    if (RunMode == Mode::Saver) {
        setScreenSaverRunning(TRUE);
    }
}

GLWindow::~GLWindow() {
    active = false;
    run.timer.stop();
    run.dropScenes();
    if (displayNotification != nullptr) UnregisterPowerSettingNotification(displayNotification);
    if (sessionNotification) WTSUnRegisterSessionNotification(mainWindow());
    if (fineTimer) timeEndPeriod(1);
    releaseContexts();
    if (RunMode == Mode::Saver) {
        setScreenSaverRunning(FALSE);
    }
    if (instance == this) {
        instance = nullptr;
    }
}

void GLWindow::createWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = saverWindowProc;
    windowClass.hInstance = module();
    // No class cursor: the window procedure chooses it.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = windowClassName;
    if (RegisterClassExA(&windowClass) == 0) {
        throw Exception("Failed to register class!");
    }

    HWND created = nullptr;
    if (RunMode == Mode::Preview) {
        // The whole outer rectangle of the host, borders included. A handle
        // that names no window leaves the rectangle empty.
        const HWND host = mainWindow();
        RECT outer{};
        GetWindowRect(host, &outer);
        layout = wholeWindow(outer.right - outer.left, outer.bottom - outer.top);
        if (canHostPreview(host)) {
            created = CreateWindowExA(0, windowClassName, windowTitle, WS_CHILD | WS_VISIBLE, 0, 0,
                                      layout.window.width(), layout.window.height(), host, nullptr, module(),
                                      nullptr);
        }
    } else {
        // The window covers every monitor, so none keeps showing the desktop,
        // and each monitor gets its own picture.
        layout = coverMonitors();
        created = CreateWindowExA(WS_EX_TOPMOST, windowClassName, windowTitle, WS_POPUP | WS_VISIBLE,
                                  layout.window.left, layout.window.top, layout.window.width(),
                                  layout.window.height(), nullptr, nullptr, module(), nullptr);
    }
    mainWindowHandle = reinterpret_cast<NativeHandle>(created);
    width = layout.viewports[0].width;
    height = layout.viewports[0].height;
    if (created == nullptr) {
        throw Exception("Failed to create window...");
    }
    if (globalSettings != nullptr) {
        globalSettings->window = mainWindowHandle;
    }
    // The run starts for the user as its window shows: from here counts the
    // first half second, in which mouse movement is ignored, and from here
    // the cursor's travel. The context and the scene may then take seconds to
    // set up (a first start on a loaded machine); travel meanwhile is real.
    run.begin(systemCursor());

    setupPixelFormat();
    createContext();

    ShowWindow(created, SW_SHOW);
    UpdateWindow(created);
    // A preview's host belongs to the display settings, whose thread input
    // is joined with ours: taking the focus would take the keyboard from the
    // settings dialog. Focus and order are the host's business there.
    if (RunMode == Mode::Saver) {
        SetFocus(created);
        BringWindowToTop(created);
    }

    listenForVisibility(created);
}

ScreenLayout GLWindow::coverMonitors() const {
    const MonitorList monitors = currentMonitors();
    return layoutScreens(monitors.monitors, monitors.count, GetSystemMetrics(SM_CXSCREEN),
                         GetSystemMetrics(SM_CYSCREEN));
}

// A preview's size is its host's business: it keeps the window it was given.
DeskLayout GLWindow::readDesk() {
    if (RunMode == Mode::Saver) {
        const ScreenLayout now = coverMonitors();
        const ScreenRect& was = layout.window;
        // Still topmost and without activation; what it newly covers is
        // painted black by the class brush until the next frame, never the
        // desktop.
        if (now.window.left != was.left || now.window.top != was.top || now.window.right != was.right ||
            now.window.bottom != was.bottom) {
            SetWindowPos(mainWindow(), HWND_TOPMOST, now.window.left, now.window.top, now.window.width(),
                         now.window.height(), SWP_NOACTIVATE | SWP_NOCOPYBITS);
        }
        layout = now;
        width = layout.viewports[0].width;
        height = layout.viewports[0].height;
    }
    return DeskLayout(layout, displayRefreshRate());
}

void GLWindow::setupPixelFormat() {
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = static_cast<BYTE>(colorBits);
    descriptor.cDepthBits = static_cast<BYTE>(colorBits);
    descriptor.cStencilBits = 0;
    descriptor.iLayerType = PFD_MAIN_PLANE;

    deviceContext = GetDC(mainWindow());
    const int format = ChoosePixelFormat(deviceContext, &descriptor);
    if (format == 0) {
        throw Exception("Can't find a suitable pixelformat.");
    }
    if (!SetPixelFormat(deviceContext, format, &descriptor)) {
        throw Exception("Can't set the PixelFormat.");
    }
}

void GLWindow::createContext() {
    renderContext = wglCreateContext(deviceContext);
    if (renderContext == nullptr) {
        throw Exception("Can't create a GL Rendering Context.");
    }
    if (!wglMakeCurrent(deviceContext, renderContext)) {
        throw Exception("Can't activate GLRC.");
    }
    syncSwapsToTheDisplay();
}

void GLWindow::releaseContexts() {
    if (renderContext != nullptr) {
        wglMakeCurrent(deviceContext, nullptr);
        wglDeleteContext(renderContext);
        renderContext = nullptr;
    }
    if (deviceContext != nullptr) {
        ReleaseDC(mainWindow(), deviceContext);
        deviceContext = nullptr;
    }
}

// Nothing is drawn while the display is off or the session is locked or
// disconnected. Windows sends the display's state at once on registering.
// Either may be refused (older systems, no terminal services); the saver
// then draws as it always did.
void GLWindow::listenForVisibility(HWND window) {
    displayNotification =
        RegisterPowerSettingNotification(window, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
    sessionNotification = WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

void GLWindow::waitForEvents(std::int32_t limit) {
    const DWORD milliseconds = limit < 0 ? INFINITE : static_cast<DWORD>(limit);
    // A message already queued (the quit message too) would not end the wait.
    MSG waiting;
    if (PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
        return;
    }
    // Waits shorter than a refresh need the system timer's finest period
    // (by default a wait ends on a 15.6 ms tick). It costs power, so it is
    // held only while frames are being paced by waiting.
    const bool fine = milliseconds != INFINITE;
    if (fine != fineTimer) {
        if (fine) {
            timeBeginPeriod(1);
        } else {
            timeEndPeriod(1);
        }
        fineTimer = fine;
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

bool GLWindow::pumpEvents() {
    if (pumpMessages() == 0) return false;
    if (RunMode == Mode::Preview) {
        // A child window hears nothing when its host is hidden or minimised,
        // so the preview looks for itself; showing the host again repaints
        // the preview, and that message ends the wait.
        const HWND window = mainWindow();
        const bool shown = IsWindowVisible(window) && !IsIconic(GetAncestor(window, GA_ROOT));
        run.handle(shown ? SaverEvent::HostShown : SaverEvent::HostHidden);
    }
    return true;
}

std::int32_t GLWindow::pumpMessages() {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        return 1;
    }
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
        return 0;
    }
    if (got == -1) {
        return 1;  // nothing valid to dispatch
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return 1;
}
