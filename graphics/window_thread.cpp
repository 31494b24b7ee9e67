// The window thread's window: the SDL display connection, the window and its
// GL context, made and destroyed on the window thread.
#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>

#include "graphics/display_watch.h"
#include "graphics/gwindow.h"

namespace {
bool makeWindow(int width, int height, bool full, SDL_Window*& window) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, full ? 8 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, full ? 24 : 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, full ? 8 : 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window = SDL_CreateWindow("Graphic", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
    return window != nullptr;
}
}  // namespace

bool GWindow::initVideo() {
    if (videoReady_) return true;
    // The interpreter keeps its own handling of Ctrl-C.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Closing the window is not the end of the program: without this, the
    // close of the last window also queues a quit event, which would close
    // the next window as soon as it opens.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Only a real display will do: SDL would otherwise fall back to an
    // invisible off-screen window (and other back ends print their own noise).
    if (!std::getenv("SDL_VIDEODRIVER")) {
        const char* x11 = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if (x11 && *x11) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
        } else if (wayland && *wayland) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland");
        } else {
            lastError_ = "no display (DISPLAY is not set)";
            return false;
        }
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        const char* x11 = std::getenv("DISPLAY");
        const char* driver = SDL_GetHint(SDL_HINT_VIDEODRIVER);
        if (x11 && *x11 && driver && std::string(driver) == "x11")
            lastError_ = std::string("no display (cannot open DISPLAY ") + x11 + ")";
        else
            lastError_ = SDL_GetError();
        return false;
    }
    videoReady_ = true;
    return true;
}

bool GWindow::createWindow() {
    SDL_Window* window = nullptr;
    // Whatever the last window left in the queue is not for this one.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    // The full format first (alpha and stencil), then whatever the display has.
    if (!makeWindow(requestedWidth_, requestedHeight_, true, window) &&
        !makeWindow(requestedWidth_, requestedHeight_, false, window)) {
        lastError_ = SDL_GetError();
        return false;
    }
    sdlWindow_ = window;
    display_watch::watch(window, [] { GWindow::instance().abandonWindow(); });
    windowOpen_ = true;
    list_.setOwner(this);
    list_.clear();
    // Without a context the window still shows, but nothing is drawn in it.
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context && SDL_GL_MakeCurrent(window, context) == 0) {
        glContext_ = context;
        SDL_GL_SetSwapInterval(0);
        glClearColor(0, 0, 0, 0);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_LINE_STIPPLE);
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
        glShadeModel(GL_SMOOTH);
    } else if (context) {
        SDL_GL_DeleteContext(context);
    }
    menu_.hide();
    menuVisible_ = false;
    dragging_ = false;
    resizeToDrawable();
    SDL_RaiseWindow(window);
    return true;
}

void GWindow::destroyWindow() {
    {
        std::lock_guard<std::mutex> guard(windowLock_);
        camera_.reset();
    }
    display_watch::forget();
    if (dragging_) SDL_CaptureMouse(SDL_FALSE);
    if (glContext_) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext_));
    glContext_ = nullptr;
    SDL_DestroyWindow(static_cast<SDL_Window*>(sdlWindow_));
    sdlWindow_ = nullptr;
    display_watch::settle();
    windowOpen_ = false;
    stopServing();
}

void GWindow::abandonWindow() {
    // Only flags and the request queue: the window lock may be held below
    // (by a frame whose drawing met the cut), and the window, its context and
    // the camera stay as they are.
    displayCut_ = true;
    windowOpen_ = false;
    failed_ = true;  // an open still waiting for its first frame gives up
    stopServing();
}

void GWindow::stopServing() {
    {
        std::lock_guard<std::mutex> guard(requestLock_);
        serving_ = false;
        requests_.clear();
    }
    served_.notify_all();
}

void GWindow::resizeToDrawable() {
    int w = requestedWidth_, h = requestedHeight_;
    SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(sdlWindow_), &w, &h);
    if (w < 1 || h < 1) return;
    std::lock_guard<std::mutex> guard(windowLock_);
    if (!camera_) return;
    if (glContext_) camera_->resize(w, h);
    else camera_->setSize(w, h);
}

void GWindow::applyBackground(double r, double g, double b) {
    if (glContext_) glClearColor(static_cast<GLclampf>(r), static_cast<GLclampf>(g), static_cast<GLclampf>(b), 0.0f);
}
