// The window thread: the SDL window and GL context, the user's mouse and keys,
// the right-click menu, and the frame drawn on every repaint.
#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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
        lastError_ = SDL_GetError();
        return false;
    }
    videoReady_ = true;
    return true;
}

bool GWindow::createWindow() {
    SDL_Window* window = nullptr;
    // The full format first (alpha and stencil), then whatever the display has.
    if (!makeWindow(requestedWidth_, requestedHeight_, true, window) &&
        !makeWindow(requestedWidth_, requestedHeight_, false, window)) {
        lastError_ = SDL_GetError();
        return false;
    }
    sdlWindow_ = window;
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
    if (dragging_) SDL_CaptureMouse(SDL_FALSE);
    if (glContext_) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext_));
    glContext_ = nullptr;
    SDL_DestroyWindow(static_cast<SDL_Window*>(sdlWindow_));
    sdlWindow_ = nullptr;
    windowOpen_ = false;
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

void GWindow::paint(FramePixels* readBack) {
    if (!glContext_) return;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(sdlWindow_), &w, &h);
    {
        std::lock_guard<std::mutex> guard(windowLock_);
        drawFrame();
        menu_.draw(label_, w, h);
        glFlush();
        if (readBack) {
            readBack->width = w;
            readBack->height = h;
            std::vector<std::uint8_t> bottomUp(static_cast<std::size_t>(w) * h * 3);
            glReadBuffer(GL_BACK);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
            readBack->rgb.resize(bottomUp.size());
            std::size_t row = static_cast<std::size_t>(w) * 3;
            for (int y = 0; y < h; ++y)
                std::copy_n(bottomUp.data() + (h - 1 - y) * row, row, readBack->rgb.data() + y * row);
        }
    }
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(sdlWindow_));
    ++frames_;
}

void GWindow::drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLineStipple(1, 0xFFFF);
    glLineWidth(1.0f);
    glPointSize(4.0f);
    glDisable(GL_LIGHTING);
    if (viewMode_ == 2) {
        const GLfloat position[4] = {0, 0, 2, 1};
        const GLfloat diffuse[4] = {1, 1, 1, 1};
        const GLfloat ambient[4] = {0.3f, 0.3f, 0.3f, 1};
        const GLfloat specular[4] = {0, 0, 0, 0};
        glEnable(GL_LIGHT0);
        glLightfv(GL_LIGHT0, GL_POSITION, position);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
        glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    }
    if (viewMode_ != 0) {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
    } else {
        glDisable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
    }
    if (!camera_) return;
    camera_->apply();
    glGetDoublev(GL_MODELVIEW_MATRIX, baseModelView_.data());
    camera_->drawDecorations(label_, gridX, gridY);
    currentColour_ = {1, 1, 1};
    glColor3f(1, 1, 1);
    list_.draw(viewMode_);
}

void GWindow::showMenu(int x, int y) {
    static const std::vector<std::string> items2D = {"Translate(&T)", "Scale(&S)", "Stretch(&T)", "-",
                                                     "Reset View(&V)"};
    static const std::vector<std::string> items3D = {"Translate(&T)", "Scale(&S)", "Rotate(&R)", "-",
                                                     "Reset View(&V)"};
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(sdlWindow_), &w, &h);
    label_.setFont(kDefaultFaceName, kDefaultFontHeight);
    menu_.show(viewMode_ == 0 ? items2D : items3D, x, y, w, h, label_);
    std::lock_guard<std::mutex> guard(requestLock_);
    menuVisible_ = true;
}

void GWindow::hideMenu() {
    menu_.hide();
    std::lock_guard<std::mutex> guard(requestLock_);
    menuVisible_ = false;
}

void GWindow::chooseMenuItem(int index) {
    static const int modes2D[3] = {MM_TRANSLATE, MM_SCALE, MM_STRETCH};
    static const int modes3D[3] = {MM_TRANSLATE, MM_SCALE, MM_ROTATE};
    if (index >= 0 && index < 3) {
        mouseMode = viewMode_ == 0 ? modes2D[index] : modes3D[index];
    } else if (index == 3) {
        std::lock_guard<std::mutex> guard(windowLock_);
        if (camera_) camera_->reset();
    }
}

void GWindow::handleKey(int sym) {
    switch (sym) {
    case SDLK_a: {
        {
            std::lock_guard<std::mutex> guard(windowLock_);
            if (camera_) camera_->reset();
        }
        paint(nullptr);
        break;
    }
    case SDLK_r: mouseMode = MM_ROTATE; break;
    case SDLK_t: mouseMode = MM_TRANSLATE; break;
    case SDLK_z: mouseMode = MM_DOLLY; break;
    case SDLK_s: mouseMode = MM_SCALE; break;
    case SDLK_h: mouseMode = MM_STRETCH; break;
    default: break;
    }
}

void GWindow::handleMenuEvent(const SDL_Event& e) {
    int choice = PopupMenu::kUndecided;
    if (e.type == SDL_KEYDOWN) choice = menu_.key(e.key.keysym.sym);
    else if (e.type == SDL_MOUSEBUTTONDOWN) choice = menu_.click(e.button.x, e.button.y);
    else if (e.type == SDL_MOUSEMOTION) {
        int before = menu_.highlighted();
        menu_.hover(e.motion.x, e.motion.y);
        if (menu_.highlighted() != before) paint(nullptr);
        return;
    } else {
        return;
    }
    if (choice == PopupMenu::kUndecided) {
        paint(nullptr);  // the highlight may have moved
        return;
    }
    hideMenu();
    if (choice >= 0) chooseMenuItem(choice);
    paint(nullptr);
}

void GWindow::handleEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
        running_ = false;
        return;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
            running_ = false;
        } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            resizeToDrawable();
            paint(nullptr);
        } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            paint(nullptr);
        }
        return;
    default:
        break;
    }
    if (menu_.shown()) {
        if (e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEMOTION) handleMenuEvent(e);
        return;
    }
    switch (e.type) {
    case SDL_KEYDOWN:
        // Symbols are lower case whatever the shift state, so "A" acts as "a".
        handleKey(e.key.keysym.sym);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) {
            SDL_CaptureMouse(SDL_TRUE);
            dragging_ = true;
            std::lock_guard<std::mutex> guard(windowLock_);
            if (camera_) camera_->dragStart(e.button.x, e.button.y, mouseMode);
        } else if (e.button.button == SDL_BUTTON_RIGHT) {
            // The menu takes the mouse: a drag in progress ends here.
            if (dragging_) {
                {
                    std::lock_guard<std::mutex> guard(windowLock_);
                    if (camera_) camera_->dragEnd();
                }
                SDL_CaptureMouse(SDL_FALSE);
                dragging_ = false;
            }
            showMenu(e.button.x, e.button.y);
            paint(nullptr);
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) {
            {
                std::lock_guard<std::mutex> guard(windowLock_);
                if (camera_) camera_->dragEnd();
            }
            if (dragging_) SDL_CaptureMouse(SDL_FALSE);
            dragging_ = false;
        }
        break;
    case SDL_MOUSEMOTION: {
        bool changed = false;
        double wx = 0, wy = 0;
        {
            std::lock_guard<std::mutex> guard(windowLock_);
            if (!camera_) break;
            changed = camera_->drag(e.motion.x, e.motion.y);
            if (!changed && viewMode_ == 0)
                static_cast<GCam2D*>(camera_.get())->screenToWorld(e.motion.x, e.motion.y, wx, wy);
        }
        if (changed) {
            paint(nullptr);
        } else if (viewMode_ == 0) {
            char text[128];
            std::snprintf(text, sizeof text, "Graphic : ( %g, %g )", wx, wy);
            setTitle(text);
        }
        break;
    }
    default:
        break;
    }
}
