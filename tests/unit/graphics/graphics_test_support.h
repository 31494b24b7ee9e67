// Helpers for calling the graphics built-ins directly and reading frames.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "exec/exec.h"
#include "graphics/graphics_builtins.h"
#include "graphics/gwindow.h"

inline NRefPtr num(double x) { return makeNum(x); }

// A matrix given row by row, and a row.
inline NRefPtr matrix(int rows, int cols, std::initializer_list<double> v) {
    NNum* n = new NNum(cols, rows);
    NRefPtr hold(n);
    int i = 0;
    for (double x : v) n->data[i++] = {x, 0.0};
    return hold;
}
inline NRefPtr row(std::initializer_list<double> v) { return matrix(1, static_cast<int>(v.size()), v); }

inline NRefPtr callFor(BuiltinEntry entry, ArgList args) {
    NContext ctx;
    NRefPtr result = makeNum(0);
    entry(ctx, 7, args, result);
    return result;
}

inline double call(BuiltinEntry entry, ArgList args = {}) {
    NRefPtr r = callFor(entry, std::move(args));
    NNum* n = asNum(r);
    return n ? n->data[0].re : -999;
}

// The message a call raises, or "" when it raises none.
inline std::string errorOf(BuiltinEntry entry, ArgList args) {
    try {
        callFor(entry, std::move(args));
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

// Runs this test program again for the tests matching a filter, with
// `environment` (words for env) set; gives its exit status and its standard
// error. For checks that need a fresh process or leave theirs spoiled.
struct ChildRun {
    int status = -1;
    std::string err;
};
inline ChildRun runThisProgram(const std::string& environment, const std::string& filter) {
    std::string command = "env " + environment + " /proc/" + std::to_string(getpid()) +
                          "/exe --gtest_filter=" + filter + " 2>&1 >/dev/null";
    ChildRun run;
    FILE* child = popen(command.c_str(), "r");
    if (!child) return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, child)) run.err += buffer;
    run.status = pclose(child);
    return run;
}

inline bool haveDisplay() { return std::getenv("DISPLAY") && *std::getenv("DISPLAY"); }

#define REQUIRE_DISPLAY() \
    if (!haveDisplay()) GTEST_SKIP() << "no DISPLAY"

// Opens a fresh window of the given size and mode, closing any open one.
inline void openFresh(int w, int h, int mode) {
    GWindow::instance().close();
    GWindow::instance().injectedInputOnly = true;
    ASSERT_EQ(call(gbScreen, {num(w), num(h), num(mode)}), 1) << GWindow::instance().lastError();
}

inline bool near(std::array<int, 3> px, int r, int g, int b, int tolerance = 3) {
    return std::abs(px[0] - r) <= tolerance && std::abs(px[1] - g) <= tolerance && std::abs(px[2] - b) <= tolerance;
}

inline FramePixels grab() {
    FramePixels f;
    EXPECT_TRUE(GWindow::instance().capture(f));
    return f;
}

// Events handed to the window thread as if the user made them.
inline void keyDown(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    GWindow::instance().inject(e);
}
inline void mouseButton(Uint32 type, int x, int y, Uint8 button) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    GWindow::instance().inject(e);
}
inline void buttonDown(int x, int y, Uint8 button = SDL_BUTTON_LEFT) { mouseButton(SDL_MOUSEBUTTONDOWN, x, y, button); }
inline void buttonUp(int x, int y, Uint8 button = SDL_BUTTON_LEFT) { mouseButton(SDL_MOUSEBUTTONUP, x, y, button); }
inline void mouseTo(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    GWindow::instance().inject(e);
}
inline void drag(int x0, int y0, int x1, int y1) {
    buttonDown(x0, y0);
    mouseTo(x1, y1);
    buttonUp(x1, y1);
}
