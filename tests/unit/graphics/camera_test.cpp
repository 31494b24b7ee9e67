// Camera maths: regions, drags, resets, view vectors and grid steps.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "graphics/camera.h"

TEST(Cam2D, VisibleRegionFollowsAspectAndSetWindow) {
    GCam2D cam;
    cam.setSize(800, 400);
    EXPECT_DOUBLE_EQ(cam.xMin(), -2);
    EXPECT_DOUBLE_EQ(cam.xMax(), 2);
    EXPECT_DOUBLE_EQ(cam.yMin(), -1);
    EXPECT_DOUBLE_EQ(cam.yMax(), 1);

    EXPECT_FALSE(cam.setWindow(0, 0, -1, 1));
    EXPECT_FALSE(cam.setWindow(0, 1, 3, 3));
    EXPECT_DOUBLE_EQ(cam.sx, 1);  // unchanged by the refused calls
    ASSERT_TRUE(cam.setWindow(-1, 5, 2, 6));
    EXPECT_DOUBLE_EQ(cam.sx, 3);
    EXPECT_DOUBLE_EQ(cam.cx, 2);
    EXPECT_DOUBLE_EQ(cam.sy, 2);
    EXPECT_DOUBLE_EQ(cam.cy, 4);

    // The projection maps the region's corners to the clip square.
    double m[16];
    cam.projection(m);
    double x = cam.xMax(), y = cam.yMin();
    EXPECT_NEAR(m[0] * x + m[12], 1.0, 1e-12);
    EXPECT_NEAR(m[5] * y + m[13], -1.0, 1e-12);
}

TEST(Cam2D, ScreenToWorldInvertsTheView) {
    GCam2D cam;
    cam.setSize(200, 100);
    double wx, wy;
    cam.screenToWorld(100, 50, wx, wy);
    EXPECT_DOUBLE_EQ(wx, 0);
    EXPECT_DOUBLE_EQ(wy, 0);
    cam.screenToWorld(0, 0, wx, wy);  // top-left corner
    EXPECT_DOUBLE_EQ(wx, -2);
    EXPECT_DOUBLE_EQ(wy, 1);
    cam.setWindow(10, 30, 0, 4);
    cam.screenToWorld(200, 100, wx, wy);  // bottom-right corner
    EXPECT_DOUBLE_EQ(wx, 20 + 2 * 10);
    EXPECT_DOUBLE_EQ(wy, 0);
}

TEST(Cam2D, DragModes) {
    GCam2D cam;
    cam.setSize(400, 400);
    EXPECT_FALSE(cam.drag(5, 5));  // no drag in progress
    // Each drag from a reset view: its mode, the moves, then cx, cy, sx, sy.
    const struct {
        int mode;
        std::vector<std::pair<int, int>> moves;
        double cx, cy, sx, sy;
    } cases[] = {
        {MM_TRANSLATE, {{100, 100}, {120, 90}}, -20 * 0.005, -10 * 0.005, 1, 1},
        {MM_SCALE, {{0, 100}, {0, 90}}, 0, 0, 0.95, 0.95},  // up: zoom in by 5 %
        {MM_SCALE, {{0, 100}, {0, 90}, {0, 95}, {7, 95}}, 0, 0, 0.95 * 1.05, 0.95 * 1.05},  // sideways: no change
        {MM_STRETCH, {{0, 0}, {-1, 1}}, 0, 0, 1.05, 1.05},  // left widens sx, down grows sy
        {MM_ROTATE, {{0, 0}, {30, 30}}, 0, 0, 1, 1},        // meaningless in 2D
    };
    for (const auto& c : cases) {
        cam.reset();
        cam.dragStart(c.moves[0].first, c.moves[0].second, c.mode);
        for (std::size_t i = 1; i < c.moves.size(); ++i) EXPECT_TRUE(cam.drag(c.moves[i].first, c.moves[i].second));
        EXPECT_DOUBLE_EQ(cam.cx, c.cx) << c.mode;
        EXPECT_DOUBLE_EQ(cam.cy, c.cy) << c.mode;
        EXPECT_DOUBLE_EQ(cam.sx, c.sx) << c.mode;
        EXPECT_DOUBLE_EQ(cam.sy, c.sy) << c.mode;
        cam.dragEnd();
        EXPECT_FALSE(cam.drag(0, 0));
    }
    // Stretching stops at the limits; rightwards shrinks sx again.
    cam.dragStart(0, 0, MM_STRETCH);
    cam.sx = 1e30;
    cam.sy = 1e-30;
    cam.drag(-5, 0);
    cam.drag(-5, -5);
    EXPECT_DOUBLE_EQ(cam.sx, 1e30);
    EXPECT_DOUBLE_EQ(cam.sy, 1e-30);
    cam.drag(0, -5);
    EXPECT_DOUBLE_EQ(cam.sx, 1e30 * 0.95);
}

namespace {
double length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
}  // namespace

TEST(Cam3D, RotationWrapsAnglesAndKeepsAnOrthonormalFrame) {
    GCam3D cam;
    cam.dragStart(100, 100, MM_ROTATE);
    EXPECT_TRUE(cam.drag(70, 100));
    EXPECT_DOUBLE_EQ(cam.a, 330);
    EXPECT_DOUBLE_EQ(cam.b, 0);
    cam.drag(70, 60);
    EXPECT_DOUBLE_EQ(cam.b, 320);
    // A single event of more than a full turn backwards still lands in range.
    cam.drag(-700, 60);
    EXPECT_DOUBLE_EQ(cam.a, 280);
    EXPECT_NEAR(length(cam.right), 1, 1e-12);
    EXPECT_NEAR(length(cam.up), 1, 1e-12);
    EXPECT_NEAR(dot(cam.right, cam.up), 0, 1e-12);
    EXPECT_NEAR(dot(cam.forward, cam.up), 0, 1e-12);
    // The eye stays 4 d from the centre, looking at it.
    Vec3 toCentre{cam.centre.x - cam.eye.x, cam.centre.y - cam.eye.y, cam.centre.z - cam.eye.z};
    EXPECT_NEAR(length(toCentre), 4, 1e-12);
    EXPECT_NEAR(dot(toCentre, cam.forward), 4, 1e-12);

    // a = 90: the eye moves to +x.
    cam.a = 90;
    cam.b = 0;
    cam.updateVectors();
    EXPECT_NEAR(cam.eye.x, 4, 1e-12);
    EXPECT_NEAR(cam.right.z, -1, 1e-12);
}

TEST(Cam3D, TranslateDollyScaleAndReset) {
    GCam3D cam;
    cam.dragStart(0, 0, MM_TRANSLATE);
    cam.drag(10, 20);
    EXPECT_NEAR(cam.centre.x, -10 * 0.005, 1e-12);
    EXPECT_NEAR(cam.centre.y, 20 * 0.005, 1e-12);
    EXPECT_NEAR(cam.eye.x, cam.centre.x, 1e-12);  // the eye follows the centre

    cam.reset();
    cam.dragStart(0, 0, MM_DOLLY);
    cam.drag(0, 10);
    EXPECT_NEAR(cam.centre.z, 10 * 0.005, 1e-12);  // down moves back along the view

    cam.reset();
    cam.dragStart(0, 0, MM_SCALE);
    cam.drag(0, -1);
    EXPECT_DOUBLE_EQ(cam.d, 0.9);
    cam.drag(5, -1);  // sideways does not scale
    EXPECT_DOUBLE_EQ(cam.d, 0.9);
    cam.drag(0, 3);
    EXPECT_DOUBLE_EQ(cam.d, 0.9 * 1.1);
    EXPECT_NEAR(cam.eye.z, 4 * 0.99, 1e-12);

    cam.dragStart(0, 0, MM_STRETCH);  // no meaning in 3D
    cam.drag(50, 50);
    EXPECT_DOUBLE_EQ(cam.d, 0.9 * 1.1);

    cam.setClip(0.5, 20);
    cam.a = 45;
    cam.reset();
    EXPECT_DOUBLE_EQ(cam.a, 0);
    EXPECT_DOUBLE_EQ(cam.d, 1);
    EXPECT_DOUBLE_EQ(cam.centre.z, 0);
    EXPECT_DOUBLE_EQ(cam.nearClip, 0.5);  // clip distances survive a reset
    EXPECT_DOUBLE_EQ(cam.farClip, 20);
}

TEST(CameraMaths, NiceStep) {
    struct Case { double from, to, step; };
    for (Case c : {Case{0, 3.7, 0.2}, {0, 7, 1}, {0, 1.2, 0.1}, {0, 30, 2}, {3.7, 0, -0.2}, {0, 0.05, 0.01},
                   {0, 0.012, 0.001}, {-400, 400, 100}, {2, 2, 0}, {0, INFINITY, 0}, {0, NAN, 0}})
        EXPECT_NEAR(niceStep(c.from, c.to), c.step, 1e-12) << c.from << " " << c.to;
}

// Multiples on the edges survive the rounding of the step (0.2 is a little
// more than a fifth); lines stay inside the range and their number is bounded.
TEST(CameraMaths, GridLines) {
    struct Case {
        double lo, hi, step;
        std::size_t count;
        double first, last;
    };
    for (Case c : {Case{-2, 2, 0.2, 21, -2, 2}, {-1, 1, 0.2, 11, -1, 1}, {0.1, 0.95, 0.2, 4, 0.2, 0.8},
                   {-0.3, 0.3, 0.1, 7, -0.3, 0.3}, {0, 200, 20, 11, 0, 200}, {0.15, 0.19, 0.2, 0, 0, 0},
                   {1e20, 1e20 + 1e5, 1e4, 11, 1e20, 1e20 + 1e5}, {-1, 1, 1e-9, 50, -1, -1 + 49e-9},
                   {-1, 1, 0, 0, 0, 0}, {-1, NAN, 0.1, 0, 0, 0}}) {
        std::vector<double> v = gridLines(c.lo, c.hi, c.step, 50);
        ASSERT_EQ(v.size(), c.count) << c.lo << ".." << c.hi << " by " << c.step;
        if (v.empty()) continue;
        EXPECT_NEAR(v.front(), c.first, 1e-9 * std::fabs(c.first) + 1e-15) << c.lo << " by " << c.step;
        EXPECT_NEAR(v.back(), c.last, 1e-9 * std::fabs(c.last) + 1e-15) << c.hi << " by " << c.step;
        for (double x : v) EXPECT_TRUE(x >= c.lo && x <= c.hi) << x;
    }
    // Far from zero the multiples cannot be told apart: still at most maxLines.
    EXPECT_LE(gridLines(1e300, 1.0000001e300, 1, 50).size(), 50u);
}
