// The frame drawn on every repaint (window thread, under the window lock).
#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>

#include "graphics/gwindow.h"

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
