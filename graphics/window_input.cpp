// The user's mouse and keys and the right-click menu (window thread).
#include <SDL.h>

#include <cstdio>

#include "graphics/gwindow.h"

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
