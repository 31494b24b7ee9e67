// Frames read back from a real window: where the camera puts things, colours,
// styles, fills, outlines, labels, grids and transforms.
#include "graphics_test_support.h"

namespace {
// A 200 x 200 2D window in which world (x, y) is pixel (x, 200 - y).
void openPixelWindow() {
    openFresh(200, 200, 0);
    ASSERT_EQ(call(gbWindow, {num(0), num(200), num(0), num(200)}), 1);
}

// A vertical (or horizontal) grey line through (x, y): lines on exact pixel
// boundaries may land on either neighbouring pixel.
bool greyLine(const FramePixels& f, int x, int y, int level, bool vertical) {
    for (int d = -1; d <= 1; ++d)
        if (near(f.at(x + (vertical ? d : 0), y + (vertical ? 0 : d)), level, level, level, 2)) return true;
    return false;
}
bool greyColumn(const FramePixels& f, int x, int y, int level) { return greyLine(f, x, y, level, true); }
bool greyRow(const FramePixels& f, int x, int y, int level) { return greyLine(f, x, y, level, false); }

int countColour(const FramePixels& f, int x0, int y0, int x1, int y1, int r, int g, int b) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) n += near(f.at(x, y), r, g, b) ? 1 : 0;
    return n;
}

class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        openPixelWindow();
    }
    void TearDown() override { GWindow::instance().close(); }
};
}  // namespace

TEST_F(Frame, LineAndPointLandWhereTheCameraPutsThem) {
    call(gbColor, {num(1), num(0), num(0)});
    ASSERT_EQ(call(gbLine, {row({30.5, 50.5}), row({170.5, 50.5})}), 1);
    call(gbColor, {row({0, 1, 0})});
    ASSERT_EQ(call(gbPoint, {row({110.5, 130.5})}), 1);
    FramePixels f = grab();
    ASSERT_EQ(f.width * f.height, 200 * 200);
    EXPECT_TRUE(near(f.at(110, 149), 255, 0, 0));
    EXPECT_TRUE(near(f.at(35, 149), 255, 0, 0));
    EXPECT_TRUE(near(f.at(110, 146), 0, 0, 0));
    EXPECT_TRUE(near(f.at(110, 152), 0, 0, 0));
    EXPECT_TRUE(near(f.at(175, 149), 0, 0, 0));  // past the end
    // Points are 4 pixels square by default.
    EXPECT_EQ(countColour(f, 100, 60, 120, 80, 0, 255, 0), 16);
    EXPECT_TRUE(near(f.at(110, 69), 0, 255, 0));
}

TEST_F(Frame, ColoursAndBackground) {
    call(gbColor, {num(0.5)});
    call(gbLine, {row({30.5, 70.5}), row({170.5, 70.5})});
    ASSERT_EQ(call(gbBgcolor, {num(0), num(0), num(1)}), 1);
    FramePixels f = grab();
    EXPECT_TRUE(near(f.at(110, 129), 128, 128, 128, 2));
    EXPECT_TRUE(near(f.at(110, 110), 0, 0, 255));
    ASSERT_EQ(call(gbBgcolor, {row({1, 1, 0})}), 1);
    EXPECT_TRUE(near(grab().at(110, 110), 255, 255, 0));
}

TEST_F(Frame, ClsRestoresWhiteSolidThinLines) {
    call(gbColor, {num(1), num(0), num(0)});
    call(gbLine, {row({30.5, 50.5}), row({170.5, 50.5})});
    ASSERT_EQ(call(gbCls), 1);
    call(gbLine, {row({30.5, 90.5}), row({170.5, 90.5})});
    FramePixels f = grab();
    EXPECT_EQ(countColour(f, 20, 140, 180, 160, 255, 0, 0), 0);  // the red line is gone
    EXPECT_EQ(countColour(f, 31, 109, 169, 109, 255, 255, 255), 139);  // every pixel: solid
    EXPECT_EQ(countColour(f, 31, 108, 169, 108, 255, 255, 255), 0);    // one pixel wide
    EXPECT_EQ(countColour(f, 31, 110, 169, 110, 255, 255, 255), 0);
}

TEST_F(Frame, ConcavePolygonIsFilledOnlyInside) {
    call(gbColor, {num(0), num(1), num(0)});
    // A chevron pointing up: the notch between its feet is outside.
    ASSERT_EQ(call(gbPoly, {row({40, 40}), row({100, 80}), row({160, 40}), row({100, 160})}), 1);
    FramePixels f = grab();
    EXPECT_TRUE(near(f.at(101, 79), 0, 255, 0));   // world (101, 121)
    EXPECT_TRUE(near(f.at(70, 119), 0, 255, 0));   // world (70, 81), in the left arm
    EXPECT_TRUE(near(f.at(130, 119), 0, 255, 0));  // the right arm
    EXPECT_FALSE(near(f.at(101, 145), 0, 255, 0));  // world (101, 55), in the notch
    EXPECT_FALSE(near(f.at(50, 70), 0, 255, 0));
}

TEST_F(Frame, PlineDrawsAClosedOutline) {
    call(gbColor, {num(0), num(0), num(1)});
    ASSERT_EQ(call(gbPline, {row({40.5, 40.5}), row({160.5, 40.5}), row({100.5, 150.5})}), 1);
    FramePixels f = grab();
    EXPECT_GT(countColour(f, 69, 103, 71, 105, 0, 0, 255), 0);  // the closing edge, world (70.5, 95.5)
    EXPECT_TRUE(near(f.at(101, 159), 0, 0, 255));                // the base
    EXPECT_FALSE(near(f.at(101, 120), 0, 0, 255));               // not filled
}

TEST_F(Frame, LabelsSetPixelsRightOfAndAboveTheirPoint) {
    call(gbColor, {num(1), num(1), num(0)});
    ASSERT_EQ(call(gbLabel, {row({60.5, 120.5}), makeString("Label")}), 1);
    // Left of the view: not drawn at all, though its text would reach inside.
    ASSERT_EQ(call(gbLabel, {row({-1, 150.5}), makeString("WWWWWWWW")}), 1);
    FramePixels f = grab();
    int set = 0, misplaced = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (near(f.at(x, y), 255, 255, 0)) {
                ++set;
                if (x < 61 || y > 78 || y < 79 - 2 - 12 - 1) ++misplaced;
            }
    EXPECT_GT(set, 20);
    EXPECT_EQ(misplaced, 0);
    EXPECT_EQ(countColour(f, 0, 30, 60, 55, 255, 255, 0), 0);
}

TEST_F(Frame, TwoDGridAndAxes) {
    // Automatic: 200 units give a step of 20.
    FramePixels f = grab();
    EXPECT_TRUE(greyColumn(f, 20, 30, 77));
    EXPECT_TRUE(greyColumn(f, 140, 30, 77));
    EXPECT_TRUE(greyRow(f, 100, 60, 77));
    EXPECT_TRUE(near(f.at(30, 30), 0, 0, 0));
    ASSERT_EQ(call(gbWindow, {num(-100), num(100), num(-100), num(100)}), 1);
    ASSERT_EQ(call(gbGrid, {num(50)}), 1);
    f = grab();
    EXPECT_TRUE(greyColumn(f, 50, 30, 77));
    EXPECT_TRUE(near(f.at(60, 30), 0, 0, 0));
    EXPECT_TRUE(greyColumn(f, 100, 30, 128));  // the y axis
    EXPECT_TRUE(greyRow(f, 170, 100, 128));    // the x axis
    // Separate steps: x every 100, y every 25.
    ASSERT_EQ(call(gbGrid, {num(100), num(25)}), 1);
    f = grab();
    EXPECT_TRUE(near(f.at(50, 30), 0, 0, 0));
    EXPECT_TRUE(greyRow(f, 170, 25, 77));
    EXPECT_TRUE(greyColumn(f, 100, 30, 128));
    // Grid labels are drawn in the margin.
    EXPECT_GT(countColour(f, 0, 150, 199, 199, 128, 128, 128), 20);
}

TEST_F(Frame, TransformMovesATwoDShape) {
    call(gbColor, {num(1), num(0), num(1)});
    call(gbTransform, {matrix(3, 3, {1, 0, 100, 0, 1, 50, 0, 0, 1})});
    call(gbPoly, {row({20.5, 20.5}), row({40.5, 20.5}), row({40.5, 40.5}), row({20.5, 40.5})});
    FramePixels f = grab();
    EXPECT_TRUE(near(f.at(131, 119), 255, 0, 255));  // world (131, 81): moved by (100, 50)
    EXPECT_FALSE(near(f.at(31, 169), 255, 0, 255));

    // transform() cancels it for later commands.
    call(gbTransform, {});
    call(gbPoly, {row({20.5, 20.5}), row({40.5, 20.5}), row({40.5, 40.5}), row({20.5, 40.5})});
    f = grab();
    EXPECT_TRUE(near(f.at(131, 119), 255, 0, 255));
    EXPECT_TRUE(near(f.at(31, 169), 255, 0, 255));
}

TEST(Frame3D, GridAxesAndLighting) {
    REQUIRE_DISPLAY();
    openFresh(200, 200, 1);
    GWindow& w = GWindow::instance();
    // Seen edge-on at first: the grid is one line across the middle.
    FramePixels f = grab();
    EXPECT_FALSE(near(f.at(30, 100), 0, 0, 0, 10) && near(f.at(30, 99), 0, 0, 0, 10) && near(f.at(30, 101), 0, 0, 0, 10));
    EXPECT_TRUE(near(f.at(30, 40), 0, 0, 0));
    // Tilt the view down by 30 degrees with a rotating drag chosen from the
    // menu; the 3D title shows no coordinates.
    buttonDown(20, 20, SDL_BUTTON_RIGHT);
    keyDown(SDLK_r);
    EXPECT_EQ(w.mouseMode, MM_ROTATE);
    drag(100, 100, 100, 70);
    EXPECT_EQ(w.title(), "Graphic");
    {
        std::lock_guard<std::mutex> guard(w.windowLock());
        auto* cam = dynamic_cast<GCam3D*>(w.camera());
        ASSERT_TRUE(cam);
        EXPECT_DOUBLE_EQ(cam->b, 330);
    }
    f = grab();
    EXPECT_GT(countColour(f, 0, 0, 199, 199, 77, 77, 77), 200);
    EXPECT_GT(countColour(f, 0, 0, 199, 199, 255, 0, 0), 5);
    EXPECT_GT(countColour(f, 0, 0, 199, 199, 0, 255, 0), 5);
    EXPECT_GT(countColour(f, 0, 0, 199, 199, 0, 0, 255), 5);
    // A polygon in front of the grid hides it (depth test on).
    call(gbColor, {num(1), num(1), num(1)});
    call(gbPoly, {row({-0.5, 0.2, 0.5}), row({0.5, 0.2, 0.5}), row({0.5, 0.6, 0.5}), row({-0.5, 0.6, 0.5})});
    f = grab();
    EXPECT_GT(countColour(f, 0, 0, 199, 199, 255, 255, 255), 1000);
    keyDown(SDLK_a);
    {
        std::lock_guard<std::mutex> guard(w.windowLock());
        EXPECT_DOUBLE_EQ(dynamic_cast<GCam3D*>(w.camera())->b, 0);
    }
    w.close();

    // Lit mode: a face towards the light is brighter than its colour's ambient share.
    openFresh(200, 200, 2);
    call(gbColor, {num(1), num(0), num(0)});
    call(gbPoly, {row({-0.5, -0.5, 0}), row({0.5, -0.5, 0}), row({0.5, 0.5, 0}), row({-0.5, 0.5, 0})});
    f = grab();
    auto lit = f.at(100, 80);
    EXPECT_GT(lit[0], 200);
    EXPECT_GT(lit[1], 10);  // the ambient share: an unlit face would be pure red
    EXPECT_LT(lit[1], 40);
    // Wound the other way it is lit the same: both sides are drawn.
    call(gbCls);
    call(gbColor, {num(1), num(0), num(0)});
    call(gbPoly, {row({-0.5, 0.5, 0}), row({0.5, 0.5, 0}), row({0.5, -0.5, 0}), row({-0.5, -0.5, 0})});
    EXPECT_TRUE(near(grab().at(100, 80), lit[0], lit[1], lit[2], 4));
    w.close();
}

// Lines on the edges of the view keep their labels, moved inside: in the
// initial 800 x 400 view x runs from -2 to 2 and y from -1 to 1 in steps of 0.2.
TEST(FrameGrid, LabelsOfEdgeLinesStayInside) {
    REQUIRE_DISPLAY();
    openFresh(800, 400, 0);
    FramePixels f = grab();
    struct Corner {
        const char* labels;
        int x0, y0, x1, y1;  // where only those labels reach (rows counted from the top)
    } corners[] = {
        {"2 at the right edge", 788, 370, 799, 399},
        {"1 at the top edge", 0, 0, 12, 18},
        {"-2 and -1 in the bottom-left corner", 0, 360, 12, 399},
    };
    for (const Corner& c : corners) EXPECT_GT(countColour(f, c.x0, c.y0, c.x1, c.y1, 128, 128, 128), 3) << c.labels;
    GWindow::instance().close();
}

// Lighting depends on the angle to the light, not on a face's size or on a
// scaling transform: grey 0.5 facing the light shows 0.5 diffuse plus the
// ambient shares 0.2 x 0.3 (light) and 0.2 x 0.2 (scene), 0.6 in all.
TEST(FrameLit, ShadeDoesNotDependOnSize) {
    REQUIRE_DISPLAY();
    openFresh(200, 200, 2);
    struct Square {
        double half, scale;
    } squares[] = {{0.1, 1}, {0.6, 1}, {0.025, 4}};
    for (const Square& s : squares) {
        call(gbCls);
        call(gbTransform, {matrix(3, 3, {s.scale, 0, 0, 0, s.scale, 0, 0, 0, s.scale})});
        call(gbColor, {num(0.5)});
        double h = s.half;
        call(gbPoly, {row({-h, -h, 0}), row({h, -h, 0}), row({h, h, 0}), row({-h, h, 0})});
        // Beside the grid line and the y axis arrow through the middle.
        auto px = grab().at(104, 96);
        EXPECT_TRUE(near(px, 153, 153, 153, 3)) << px[0] << " half side " << h << ", scaled by " << s.scale;
    }
    GWindow::instance().close();
}
