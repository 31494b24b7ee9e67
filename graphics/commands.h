// The display-list command classes and the geometry they draw.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "graphics/cmd_list.h"
#include "value/convert.h"

class GCLine final : public GCBase {
public:
    double x1, y1, z1, x2, y2, z2;
    GCLine(const Vec4& a, const Vec4& b) : x1(a.x), y1(a.y), z1(a.z), x2(b.x), y2(b.y), z2(b.z) {}
    void draw(int viewMode) override;
    bool isSegment() const override { return true; }
    void segmentVertices(int viewMode) const override;
};

class GCPoint final : public GCBase {
public:
    double x, y, z;
    explicit GCPoint(const Vec4& p) : x(p.x), y(p.y), z(p.z) {}
    void draw(int viewMode) override;
};

class GCArrow final : public GCBase {
public:
    Vec4 from, to;
    double size;
    GCArrow(const Vec4& f, const Vec4& t, double s) : from(f), to(t), size(s) {}
    void draw(int viewMode) override;
};

class GCPoly final : public GCBase {
public:
    std::vector<Vec4> vertices;
    std::vector<Vec4> flat;  // the vertices with z = 1, drawn in 2D
    bool nonConvex;
    explicit GCPoly(std::vector<Vec4> v);
    void draw(int viewMode) override;
};

class GCPline final : public GCBase {
public:
    std::vector<Vec4> vertices;
    explicit GCPline(std::vector<Vec4> v) : vertices(std::move(v)) {}
    void draw(int viewMode) override;
};

class GCLabel final : public GCBase {
public:
    double x, y, z;
    std::string text;
    GCLabel(const Vec4& p, std::string t) : x(p.x), y(p.y), z(p.z), text(std::move(t)) {}
    void draw(int viewMode) override;
};

class GCColor final : public GCBase {
public:
    float r, g, b, a;
    GCColor(float red, float green, float blue) : r(red), g(green), b(blue), a(1.0f) {}
    void draw(int viewMode) override;
};

class GCLineStyle final : public GCBase {
public:
    int pattern, width;
    GCLineStyle(int p, int w) : pattern(p), width(w) {}
    void draw(int viewMode) override;
};

class GCPointStyle final : public GCBase {
public:
    int size;
    explicit GCPointStyle(int s) : size(s) {}
    void draw(int viewMode) override;
};

class GCFont final : public GCBase {
public:
    std::string face;
    int size;
    GCFont(std::string f, int s) : face(std::move(f)), size(s) {}
    void draw(int viewMode) override;
};

class GCMatrix final : public GCBase {
public:
    std::array<double, 16> m;  // column-major
    explicit GCMatrix(const std::array<double, 16>& matrix) : m(matrix) {}
    void draw(int viewMode) override;
};

// The 16-bit stipple of a line-style index (taken mod 5).
unsigned short stipplePattern(int index);

// Geometry, free of GL so that it can be checked directly.
struct Vec3 {
    double x, y, z;
};
// The three strokes of an arrow from f to t with head size s: shaft, then
// the two head strokes, each as a (start, end) pair.
std::array<Vec3, 6> arrowSegments(Vec3 f, Vec3 t, double s, int viewMode);
// True when the turns between consecutive edges do not all point one way.
bool isNonConvex(const std::vector<Vec4>& v);
// The unit face normal by Newell's method (zero for a degenerate face).
Vec3 faceNormal(const std::vector<Vec4>& v);
