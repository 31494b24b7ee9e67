// Built-ins that open the window and change the view: screen, window, zclip,
// cls, bgcolor, grid, update, transform.
#include <cmath>
#include <cstdio>

#include "graphics/commands.h"
#include "graphics/graphics_builtins.h"
#include "graphics/gwindow.h"
#include "value/convert.h"
#include "value/raise.h"

namespace {
GWindow& gw() { return GWindow::instance(); }

void repaintIfAuto() {
    bool autoUpdate;
    {
        std::lock_guard<std::mutex> guard(gw().windowLock());
        autoUpdate = gw().autoUpdate;
    }
    if (autoUpdate) gw().repaint();
}
}  // namespace

void gbScreen(NContext&, int line, ArgList& args, NRefPtr& result) {
    int w = toInteger(line, args[0]);
    int h = toInteger(line, args[1]);
    int m = args.size() > 2 ? toInteger(line, args[2]) : 0;
    // A negative mode has no remainder among the three modes: it means 2D.
    int mode = m < 0 ? 0 : m % 3;
    bool opened = gw().open(w, h, mode);
    if (!opened && !gw().lastError().empty())
        std::fprintf(stderr, "screen(): cannot open the graphics window: %s\n", gw().lastError().c_str());
    result = makeNum(opened ? 1 : 0);
}

void gbScreenOpen(NContext&, int, ArgList&, NRefPtr& result) { result = makeNum(gw().isOpen() ? 1 : 0); }

void gbWindow(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen()) return;
    if (gw().viewMode() != 0) raiseError(line, "window() allowed only in 2D mode.");
    double x1 = toReal(line, args[0]), x2 = toReal(line, args[1]);
    double y1 = toReal(line, args[2]), y2 = toReal(line, args[3]);
    bool set = false;
    {
        std::lock_guard<std::mutex> guard(gw().windowLock());
        if (auto* cam = dynamic_cast<GCam2D*>(gw().camera())) set = cam->setWindow(x1, x2, y1, y2);
    }
    if (set) repaintIfAuto();
    result = makeNum(set ? 1 : 0);
}

void gbZclip(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen()) return;
    if (gw().viewMode() == 0) raiseError(line, "zclip() allowed only in 3D mode.");
    double nearClip = toReal(line, args[0]), farClip = toReal(line, args[1]);
    {
        std::lock_guard<std::mutex> guard(gw().windowLock());
        if (auto* cam = dynamic_cast<GCam3D*>(gw().camera())) cam->setClip(nearClip, farClip);
    }
    repaintIfAuto();
    result = makeNum(1);
}

void gbCls(NContext&, int, ArgList&, NRefPtr& result) {
    if (!gw().isOpen()) return;
    {
        std::lock_guard<std::mutex> guard(gw().windowLock());
        gw().list().clear();
        gw().transform = identityMatrix();
    }
    repaintIfAuto();
    result = makeNum(1);
}

void gbBgcolor(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen()) return;
    double r, g, b;
    if (args.size() == 3) {
        r = toReal(line, args[0]);
        g = toReal(line, args[1]);
        b = toReal(line, args[2]);
    } else {
        Vec4 v = toVector3(line, args[0]);
        r = v.x;
        g = v.y;
        b = v.z;
    }
    gw().setBackground(r, g, b);
    repaintIfAuto();
    result = makeNum(1);
}

void gbGrid(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen()) return;
    double gx = toReal(line, args[0]);
    double gy = args.size() > 1 ? toReal(line, args[1]) : gx;
    {
        std::lock_guard<std::mutex> guard(gw().windowLock());
        gw().gridX = gx;
        gw().gridY = gy;
    }
    repaintIfAuto();
    result = makeNum(1);
}

void gbUpdate(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen()) return;
    if (args.empty()) {
        gw().repaint();
        result = makeNum(1);
        return;
    }
    // Truncated toward zero: update(0.5) turns auto-update off.
    double flag = toReal(line, args[0]);
    bool before;
    {
        std::lock_guard<std::mutex> guard(gw().windowLock());
        before = gw().autoUpdate;
        gw().autoUpdate = !(std::fabs(flag) < 1.0);
    }
    repaintIfAuto();
    result = makeNum(before ? 1 : 0);
}

void gbTransform(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen()) return;
    std::array<double, 16> t = identityMatrix();
    if (!args.empty()) {
        NNum* m = asNum(args[0]);
        if (!m || m->rows < 2 || m->rows > 4 || m->cols < 2 || m->cols > 4)
            raiseError(line, "Bad argument in transform()");
        for (int r = 0; r < m->rows; ++r)
            for (int c = 0; c < m->cols; ++c) t[c * 4 + r] = elementToReal(line, m->at(r, c));
    }
    std::array<double, 16> before;
    {
        std::lock_guard<std::mutex> guard(gw().windowLock());
        before = gw().transform;
        gw().transform = t;
    }
    NNum* previous = new NNum(4, 4);
    NRefPtr hold(previous);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) previous->at(r, c) = {before[c * 4 + r], 0.0};
    gw().list().add(std::make_unique<GCMatrix>(t));
    result = hold;
}
