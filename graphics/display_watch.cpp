// Error handlers for the X display: errors are noted, never fatal.
#include "graphics/display_watch.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/extensions/Xext.h>
#include <unistd.h>

#include <atomic>

namespace {
std::atomic<unsigned long> watchedWindow{0};  // its X id, 0 for none
std::atomic<bool> lostWindow{false};
Display* handledDisplay = nullptr;  // the connection the handlers are set for
void (*onConnectionCut)() = nullptr;

// Xlib's own handler prints the error and ends the process. A request on a
// window destroyed by someone else fails as a bad window or drawable, so
// these errors about the watched window mark it lost; other errors (about
// resources of a window already gone, mostly) are only dropped.
int noteError(Display*, XErrorEvent* error) {
    unsigned long id = watchedWindow.load();
    bool gone = error->error_code == BadWindow || error->error_code == BadDrawable;
    if (gone && id != 0 && error->resourceid == id) lostWindow = true;
    return 0;
}

// Xlib's handlers print that the connection broke and end the process.
// Returning is no better: the library that made the failed request goes on
// as if it had succeeded, with data that never came. So the window thread
// closes the dead connection, hands the window over as closed and stays here
// for the rest of the run.
int quietOnBrokenConnection(Display*) { return 0; }
int quietOnMissingExtension(Display*, const char*, const char*) { return 0; }
void afterBrokenConnection(Display* display, void*) {
    watchedWindow = 0;
    lostWindow = true;
    // Xlib took the display's lock for the exit that does not come. Closing
    // the connection releases everything held on it, which the libraries'
    // clean-up at the end of the program would otherwise wait for forever.
    // The GL library's part of the closing asks the dead connection for an
    // extension: not worth a message.
    XUnlockDisplay(display);
    XSetExtensionErrorHandler(quietOnMissingExtension);
    XCloseDisplay(display);
    if (onConnectionCut) onConnectionCut();
    for (;;) pause();
}
}  // namespace

namespace display_watch {

void watch(SDL_Window* window, void (*connectionCut)()) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    onConnectionCut = connectionCut;
    if (info.info.x11.display != handledDisplay) {
        XSetErrorHandler(noteError);
        XSetIOErrorHandler(quietOnBrokenConnection);
        XSetIOErrorExitHandler(info.info.x11.display, afterBrokenConnection, nullptr);
        // The display system's own events, for the destruction of the window.
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
        handledDisplay = info.info.x11.display;
    }
    lostWindow = false;
    watchedWindow = info.info.x11.window;
}

bool tellsWindowDestroyed(const SDL_Event& event) {
    if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11) return false;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    return x.type == DestroyNotify && watchedWindow != 0 && x.xdestroywindow.window == watchedWindow;
}

bool windowLost() { return lostWindow.load(); }

unsigned long windowId() { return watchedWindow.load(); }

void forget() { watchedWindow = 0; }

void settle() {
    // The errors of the requests on the old window arrive now, before a new
    // window (which may get the same id) is watched.
    if (handledDisplay) XSync(handledDisplay, False);
    lostWindow = false;
}

}  // namespace display_watch
