// The graphics built-ins: results, messages, recording and repaint rules.
#include "graphics_test_support.h"

#include "graphics/commands.h"

namespace {
// The commands after the four defaults, as class names.
std::vector<std::string> recorded() {
    std::vector<std::string> names;
    int i = 0;
    GWindow::instance().list().forEach([&](const GCBase& c) {
        if (i++ >= 4) names.push_back(typeid(c).name());
    });
    return names;
}
}  // namespace

TEST(GraphicsBuiltins, ScreenRefusesATooLargeWindow) {
    GWindow::instance().close();
    testing::internal::CaptureStderr();
    EXPECT_EQ(call(gbScreen, {num(100000), num(100)}), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("too large"), std::string::npos);
}

// Without a display, screen() says why on standard error and returns 0. The
// display is chosen when the process first opens a window, so the check runs
// in a fresh copy of this test program for each setting of DISPLAY.
TEST(NoDisplay, ScreenFailsWithOneMessage) {
    if (std::getenv("QUARN_NO_DISPLAY_CHILD")) {
        EXPECT_EQ(call(gbScreen, {num(100), num(100)}), 0);
        EXPECT_EQ(call(gbScreen, {num(100), num(100), num(1)}), 0);
        EXPECT_EQ(call(gbScreenOpen), 0);
        EXPECT_EQ(call(gbLine, {row({0, 0}), row({1, 1})}), 0);
        return;
    }
    struct {
        const char* display;  // how DISPLAY is set
        std::string reason;
    } cases[] = {{"-u DISPLAY", "no display (DISPLAY is not set)"},
                 {"DISPLAY=:9999", "no display (cannot open DISPLAY :9999)"}};  // no server there
    for (const auto& c : cases) {
        ChildRun run = runThisProgram(std::string("-u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ") + c.display +
                                          " QUARN_NO_DISPLAY_CHILD=1",
                                      "NoDisplay.*");
        EXPECT_EQ(run.status, 0) << run.err;
        std::string line = "screen(): cannot open the graphics window: " + c.reason + "\n";
        EXPECT_EQ(run.err, line + line);
    }
}

class Builtins2D : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        openFresh(160, 120, 0);
    }
    void TearDown() override { GWindow::instance().close(); }
};

// Line style, point size and colour defaults show in the frames; the font
// is only seen here.
TEST_F(Builtins2D, DefaultFontComesFirst) {
    const GCFont* font = nullptr;
    GWindow::instance().list().forEach([&](const GCBase& c) {
        if (!font) font = dynamic_cast<const GCFont*>(&c);
    });
    ASSERT_TRUE(font);
    EXPECT_EQ(font->face, "\x82\x6C\x82\x72\x20\x82\x6F\x96\xBE\x92\xA9");
    EXPECT_EQ(font->size, 12);
}

// Return values and messages are the script tests' (drawing_2d.qn); here,
// what reaches the display list: a bad point anywhere records nothing of
// the call, and a refused window or transform changes nothing.
TEST_F(Builtins2D, RecordingRules) {
    call(gbLine, {row({0, 0})});
    EXPECT_TRUE(recorded().empty());
    call(gbLine, {row({0, 0}), row({1, 1}), matrix(2, 1, {2, 0})});  // a column is a point too
    call(gbPoint, {row({0, 0}), row({1, 1}), row({2, 2})});
    call(gbPoly, {row({0, 0}), row({1, 1})});
    EXPECT_EQ(recorded().size(), 5u);
    EXPECT_NE(errorOf(gbLine, {row({0, 0}), row({1, 1}), row({1, 2, 3})}), "");
    EXPECT_NE(errorOf(gbPoly, {row({0, 0}), row({1, 1}), num(3)}), "");
    EXPECT_NE(errorOf(gbPline, {row({0, 0}), row({1, 1}), row({2, 2, 2})}), "");
    EXPECT_NE(errorOf(gbPoint, {row({0, 0}), makeString("p")}), "");
    EXPECT_NE(errorOf(gbColor, {makeNum(0.5, 1.0)}), "");
    EXPECT_EQ(recorded().size(), 5u);
    call(gbColor, {num(0.5)});
    call(gbArrow, {row({0, 0}), row({1, 1}), num(0.1)});
    call(gbLabel, {row({0, 0}), makeString("")});
    std::vector<std::string> names = recorded();
    ASSERT_EQ(names.size(), 8u);
    EXPECT_EQ(names[0], typeid(GCLine).name());
    EXPECT_EQ(names[2], typeid(GCPoint).name());
    EXPECT_EQ(names[5], typeid(GCColor).name());
    EXPECT_EQ(names[6], typeid(GCArrow).name());
    EXPECT_EQ(names[7], typeid(GCLabel).name());
    EXPECT_EQ(call(gbCls), 1);
    EXPECT_EQ(GWindow::instance().list().size(), 4u);

    GWindow& w = GWindow::instance();
    EXPECT_EQ(call(gbWindow, {num(0), num(0), num(-1), num(1)}), 0);
    {
        std::lock_guard<std::mutex> guard(w.windowLock());
        EXPECT_EQ(dynamic_cast<GCam2D*>(w.camera())->sx, 1);
    }
    // A tiny step still draws promptly (the automatic step takes over).
    EXPECT_EQ(call(gbGrid, {num(1e-12)}), 1);
    std::size_t before = w.list().size();
    NRefPtr complexM = matrix(2, 2, {0, 0, 0, 1});
    asNum(complexM)->data[3].im = 1;
    EXPECT_EQ(errorOf(gbTransform, {complexM}), "error [7]: Cannot convert arg to real number");
    EXPECT_EQ(w.list().size(), before);
    EXPECT_EQ(w.transform, identityMatrix());
    // A 2 by 3 matrix fills the top left of the 4 by 4, which is stored by columns.
    call(gbTransform, {matrix(2, 3, {1, 2, 3, 4, 5, 6})});
    EXPECT_EQ(w.transform[0 * 4 + 1], 4);
    EXPECT_EQ(w.transform[2 * 4 + 0], 3);
    EXPECT_EQ(w.transform[2 * 4 + 2], 1);
    EXPECT_EQ(w.list().size(), before + 1);
}

TEST_F(Builtins2D, UpdateControlsRepaints) {
    GWindow& w = GWindow::instance();
    EXPECT_EQ(call(gbUpdate, {num(0)}), 1);
    EXPECT_EQ(call(gbUpdate, {num(0.9)}), 0);  // truncated: still off
    std::uint64_t asked = w.repaintRequests();
    call(gbLine, {row({0, 0}), row({1, 1})});
    call(gbCls);
    call(gbGrid, {num(1)});
    EXPECT_EQ(w.repaintRequests(), asked);
    // update() paints at once and waits for the frame.
    std::uint64_t frames = w.framesPainted();
    EXPECT_EQ(call(gbUpdate), 1);
    EXPECT_EQ(w.repaintRequests(), asked + 1);
    EXPECT_GT(w.framesPainted(), frames);
    EXPECT_EQ(call(gbUpdate, {num(-2)}), 0);  // on again, and repaints
    EXPECT_EQ(w.repaintRequests(), asked + 2);
    call(gbLine, {row({0, 0}), row({1, 1})});
    EXPECT_EQ(w.repaintRequests(), asked + 3);
    call(gbColor, {num(1)});  // colours never repaint
    EXPECT_EQ(w.repaintRequests(), asked + 3);
    EXPECT_EQ(call(gbUpdate, {num(1)}), 1);
}

// The view mode is the third argument mod 3; a negative one is 2D.
TEST(Builtins3D, ModeFromTheThirdArgument) {
    REQUIRE_DISPLAY();
    GWindow& w = GWindow::instance();
    const std::pair<int, int> modes[] = {{4, 1}, {5, 2}, {-1, 0}};
    for (auto [argument, mode] : modes) {
        openFresh(120, 100, argument);
        EXPECT_EQ(w.viewMode(), mode) << argument;
    }
    openFresh(120, 100, 1);
    EXPECT_EQ(call(gbZclip, {num(0.5), num(50)}), 1);
    {
        std::lock_guard<std::mutex> guard(w.windowLock());
        auto* cam = dynamic_cast<GCam3D*>(w.camera());
        ASSERT_TRUE(cam);
        EXPECT_EQ(cam->nearClip, 0.5);
        EXPECT_EQ(cam->farClip, 50);
    }
    w.close();
}
