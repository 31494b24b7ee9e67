// Built-ins that record drawing commands: color, line, point, arrow, label,
// poly, pline. Every argument is converted before anything is recorded.
#include <vector>

#include "graphics/commands.h"
#include "graphics/graphics_builtins.h"
#include "graphics/gwindow.h"
#include "value/convert.h"

namespace {
GWindow& gw() { return GWindow::instance(); }

Vec4 toPoint(int line, const NRefPtr& v) {
    return gw().viewMode() == 0 ? toVector2(line, v) : toVector3(line, v);
}

std::vector<Vec4> toPoints(int line, const ArgList& args) {
    std::vector<Vec4> points;
    points.reserve(args.size());
    for (const NRefPtr& a : args) points.push_back(toPoint(line, a));
    return points;
}

void repaintIfAuto() {
    bool autoUpdate;
    {
        std::lock_guard<std::mutex> guard(gw().windowLock());
        autoUpdate = gw().autoUpdate;
    }
    if (autoUpdate) gw().repaint();
}
}  // namespace

void gbColor(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen()) return;
    double r, g, b;
    NNum* n = asNum(args[0]);
    if (args.size() == 3) {
        r = toReal(line, args[0]);
        g = toReal(line, args[1]);
        b = toReal(line, args[2]);
    } else if (n && n->count() == 1) {
        r = g = b = toReal(line, args[0]);
    } else {
        Vec4 v = toVector3(line, args[0]);
        r = v.x;
        g = v.y;
        b = v.z;
    }
    gw().list().add(std::make_unique<GCColor>(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)));
    result = makeNum(1);
}

void gbLine(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen() || args.size() < 2) return;
    std::vector<Vec4> p = toPoints(line, args);
    for (std::size_t i = 0; i + 1 < p.size(); ++i) gw().list().add(std::make_unique<GCLine>(p[i], p[i + 1]));
    repaintIfAuto();
    result = makeNum(1);
}

void gbPoint(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen() || args.empty()) return;
    std::vector<Vec4> p = toPoints(line, args);
    for (const Vec4& v : p) gw().list().add(std::make_unique<GCPoint>(v));
    repaintIfAuto();
    result = makeNum(1);
}

void gbArrow(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen()) return;
    Vec4 from = toPoint(line, args[0]);
    Vec4 to = toPoint(line, args[1]);
    double size = toReal(line, args[2]);
    gw().list().add(std::make_unique<GCArrow>(from, to, size));
    repaintIfAuto();
    result = makeNum(1);
}

void gbLabel(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen()) return;
    Vec4 at = toPoint(line, args[0]);
    std::string text = toText(line, args[1]);
    gw().list().add(std::make_unique<GCLabel>(at, std::move(text)));
    repaintIfAuto();
    result = makeNum(1);
}

void gbPoly(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen() || args.size() < 3) return;
    gw().list().add(std::make_unique<GCPoly>(toPoints(line, args)));
    repaintIfAuto();
    result = makeNum(1);
}

void gbPline(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (!gw().isOpen() || args.size() < 3) return;
    gw().list().add(std::make_unique<GCPline>(toPoints(line, args)));
    repaintIfAuto();
    result = makeNum(1);
}
