// Arrow heads, convexity and face normals of the recorded shapes.
#include <algorithm>
#include <cmath>

#include "graphics/commands.h"

namespace {
Vec3 sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 add(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 scale(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 normalise(Vec3 a) {
    double len = std::sqrt(dot(a, a));
    return len > 0 ? scale(a, 1.0 / len) : Vec3{0, 0, 0};
}
Vec3 xyz(const Vec4& v) { return {v.x, v.y, v.z}; }
}  // namespace

std::array<Vec3, 6> arrowSegments(Vec3 f, Vec3 t, double s, int viewMode) {
    if (viewMode == 0) f.z = t.z = 1.0;
    Vec3 d = normalise(sub(t, f));
    Vec3 p;
    if (viewMode == 0) {
        p = normalise(cross(d, {0, 0, 1}));
    } else {
        Vec3 axis = std::fabs(d.z) < std::fabs(d.y) ? Vec3{0, 0, 1} : Vec3{0, 1, 0};
        p = normalise(cross(d, axis));
    }
    Vec3 back = scale(d, s);
    Vec3 side = scale(p, s);
    return {f, t, t, sub(add(t, side), back), t, sub(sub(t, side), back)};
}

bool isNonConvex(const std::vector<Vec4>& v) {
    std::size_t n = v.size();
    if (n < 4) return false;
    Vec3 reference{0, 0, 0};
    bool haveReference = false;
    for (std::size_t i = 0; i < n; ++i) {
        Vec3 e1 = sub(xyz(v[(i + 1) % n]), xyz(v[i]));
        Vec3 e2 = sub(xyz(v[(i + 2) % n]), xyz(v[(i + 1) % n]));
        Vec3 c = cross(e1, e2);
        if (dot(c, c) == 0) continue;  // a straight or repeated corner turns no way
        if (!haveReference) {
            reference = c;
            haveReference = true;
        } else if (dot(c, reference) < 0) {
            return true;
        }
    }
    return false;
}

Vec3 faceNormal(const std::vector<Vec4>& v) {
    // Newell's sums over the vertices taken relative to the first one and in
    // units of the largest offset (halves first, which cannot overflow), so
    // that neither a huge face overflows nor a tiny one vanishes; then made
    // of unit length, so that lighting does not depend on the size.
    std::vector<Vec3> offsets;
    offsets.reserve(v.size());
    double unit = 0;
    for (const Vec4& p : v) {
        for (double c : {p.x, p.y, p.z})
            if (!std::isfinite(c)) return {0, 0, 0};
        Vec3 half = sub(scale(xyz(p), 0.5), scale(xyz(v[0]), 0.5));
        unit = std::max({unit, std::fabs(half.x), std::fabs(half.y), std::fabs(half.z)});
        offsets.push_back(half);
    }
    if (unit == 0) return {0, 0, 0};
    Vec3 n{0, 0, 0};
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        // Divided, not multiplied by 1 / unit, which overflows for a subnormal unit.
        const Vec3& p = offsets[i];
        const Vec3& q = offsets[(i + 1) % offsets.size()];
        Vec3 a{p.x / unit, p.y / unit, p.z / unit}, b{q.x / unit, q.y / unit, q.z / unit};
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return normalise(n);
}
