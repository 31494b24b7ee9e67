// Arrow heads, convexity, face normals and stipple patterns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/commands.h"

namespace {
double dist(Vec3 a, Vec3 b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z)); }
Vec4 p2(double x, double y) { return {x, y, 1, 1}; }
}  // namespace

TEST(Arrow, HeadStrokesMakeFortyFiveDegreesIn2D) {
    auto s = arrowSegments({0, 0, 7}, {2, 0, 9}, 0.5, 0);
    // In 2D both ends are taken at z = 1.
    EXPECT_DOUBLE_EQ(s[0].z, 1);
    EXPECT_DOUBLE_EQ(s[1].x, 2);
    EXPECT_DOUBLE_EQ(s[1].z, 1);
    // Head strokes start at the tip, go back by s and aside by s.
    EXPECT_DOUBLE_EQ(s[2].x, 2);
    EXPECT_NEAR(s[3].x, 1.5, 1e-12);
    EXPECT_NEAR(std::fabs(s[3].y), 0.5, 1e-12);
    EXPECT_NEAR(s[5].x, 1.5, 1e-12);
    EXPECT_NEAR(s[3].y, -s[5].y, 1e-12);
    EXPECT_NEAR(dist(s[2], s[3]), 0.5 * std::sqrt(2.0), 1e-12);
}

TEST(Arrow, ThreeDPerpendicularAvoidsTheShaftAxis) {
    // Along y: the z axis has the smaller dot product, so the head opens in x.
    auto s = arrowSegments({0, 0, 0}, {0, 1, 0}, 0.1, 1);
    EXPECT_NEAR(std::fabs(s[3].x), 0.1, 1e-12);
    EXPECT_NEAR(s[3].z, 0, 1e-12);
    EXPECT_NEAR(s[3].y, 0.9, 1e-12);
    // Along z: y is chosen (z's dot product is not smaller), head opens in x.
    auto t = arrowSegments({0, 0, 0}, {0, 0, 2}, 0.1, 1);
    EXPECT_NEAR(std::fabs(t[3].x), 0.1, 1e-12);
    EXPECT_NEAR(t[3].z, 1.9, 1e-12);
    // A zero-length arrow stays put without dividing by zero.
    auto z = arrowSegments({1, 1, 1}, {1, 1, 1}, 0.1, 1);
    for (const Vec3& v : z) EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
}

TEST(Polygon, NonConvexTest) {
    EXPECT_FALSE(isNonConvex({p2(0, 0), p2(1, 0), p2(1, 1), p2(0, 1)}));
    EXPECT_FALSE(isNonConvex({p2(0, 0), p2(0, 1), p2(1, 1), p2(1, 0)}));  // clockwise
    EXPECT_TRUE(isNonConvex({p2(0, 0), p2(2, 0), p2(1, 0.5), p2(1, 2)}));  // a dart
    EXPECT_FALSE(isNonConvex({p2(0, 0), p2(5, 0), p2(0, 5)}));  // any triangle
    // A straight corner does not count either way.
    EXPECT_FALSE(isNonConvex({p2(0, 0), p2(1, 0), p2(2, 0), p2(2, 2), p2(0, 2)}));
    // 3D: a concave shape lying in the plane x = 0.
    EXPECT_TRUE(isNonConvex({{0, 0, 0, 1}, {0, 2, 0, 1}, {0, 1, 0.5, 1}, {0, 1, 2, 1}}));
    GCPoly poly({{0, 0, 5, 1}, {2, 0, 5, 1}, {1, 0.5, 5, 1}, {1, 2, 5, 1}});
    EXPECT_TRUE(poly.nonConvex);
    EXPECT_DOUBLE_EQ(poly.flat[2].z, 1);
    EXPECT_DOUBLE_EQ(poly.vertices[2].z, 5);
    // Outlines the tessellator cannot be trusted with are never given to it.
    GCPoly wild({p2(0, 0), p2(2, 0), p2(1, NAN), p2(1, 2)});
    EXPECT_FALSE(wild.nonConvex);
    GCPoly huge({p2(0, 0), p2(2e200, 0), p2(1, 0.5), p2(1, 2)});
    EXPECT_FALSE(huge.nonConvex);
}

// Unit length whatever the size or place of the face, its direction from
// the winding; none for a degenerate or unmeasurable face.
TEST(Polygon, FaceNormalIsAUnitVectorFromTheWinding) {
    auto square = [](double x, double y, double half, bool clockwise) {
        std::vector<Vec4> v = {p2(x - half, y - half), p2(x + half, y - half), p2(x + half, y + half),
                               p2(x - half, y + half)};
        if (clockwise) std::reverse(v.begin(), v.end());
        return v;
    };
    struct Case {
        std::vector<Vec4> face;
        Vec3 normal;
    } cases[] = {
        {square(0, 0, 0.5, false), {0, 0, 1}},
        {square(0, 0, 0.5, true), {0, 0, -1}},
        {square(0, 0, 1e-200, false), {0, 0, 1}},
        {square(0, 0, 1e-320, false), {0, 0, 1}},
        {square(0, 0, 1e200, false), {0, 0, 1}},
        {square(1e6, -1e6, 1e-3, false), {0, 0, 1}},
        {{{0, 0, 0, 1}, {0, 0, 2, 1}, {2, 0, 2, 1}}, {0, 1, 0}},  // in the xz plane
        {{p2(0, 0), p2(1, 1), p2(2, 2)}, {0, 0, 0}},              // a straight line
        {{p2(0, 0), p2(INFINITY, 0), p2(0, 1)}, {0, 0, 0}},
        {{p2(0, 0), p2(NAN, 0), p2(0, 1)}, {0, 0, 0}},
        {{}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        Vec3 n = faceNormal(c.face);
        EXPECT_NEAR(dist(n, c.normal), 0, 1e-12) << c.face.size() << " vertices from (" << (c.face.empty() ? 0 : c.face[0].x)
                                                << ", " << (c.face.empty() ? 0 : c.face[0].y) << ")";
    }
}

TEST(LineStyle, StipplePatternsRepeatEveryFive) {
    EXPECT_EQ(stipplePattern(7), stipplePattern(2));
    EXPECT_EQ(stipplePattern(-1), stipplePattern(4));
    EXPECT_NE(stipplePattern(4), stipplePattern(3));
}
