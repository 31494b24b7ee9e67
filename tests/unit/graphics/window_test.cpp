// The window's own behaviour: keys, mouse, title, the menu, close and reopen.
#include "graphics_test_support.h"

#include <X11/Xlib.h>

#include <thread>

#include "graphics/display_watch.h"

namespace {
GCam2D& cam2D() { return *dynamic_cast<GCam2D*>(GWindow::instance().camera()); }

// The user clicks the window's close button.
void userCloses() {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    GWindow::instance().inject(e);
}

// Another client does to the window what a window manager or a kill tool does.
enum class Outside { AskToClose, Destroy, KillClient };
void actFromOutside(Outside how) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_TRUE(display);
    Window window = display_watch::windowId();
    ASSERT_NE(window, 0u);
    if (how == Outside::AskToClose) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = window;
        e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &e);
    } else if (how == Outside::Destroy) {
        XDestroyWindow(display, window);
    } else {
        XKillClient(display, window);  // cuts the program's whole display connection
    }
    XSync(display, False);
    XCloseDisplay(display);
}

bool closesWithin2s(GWindow& w) {
    for (int wait = 0; wait < 2000 && w.isOpen(); ++wait) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return !w.isOpen();
}

class Window2D : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        openFresh(200, 200, 0);
        ASSERT_EQ(call(gbWindow, {num(0), num(200), num(0), num(200)}), 1);
    }
    void TearDown() override { GWindow::instance().close(); }
};

}  // namespace

TEST_F(Window2D, MouseMovesShowWorldCoordinatesInTheTitle) {
    GWindow& w = GWindow::instance();
    mouseTo(100, 100);
    EXPECT_EQ(w.title(), "Graphic : ( 100, 100 )");
    mouseTo(50, 150);
    EXPECT_EQ(w.title(), "Graphic : ( 50, 50 )");
}

// The camera's own drags are camera_test's; here, that the window hands
// them over in the mode the keys chose.
TEST_F(Window2D, LeftDragPansAndKeysChooseTheMode) {
    GWindow& w = GWindow::instance();
    EXPECT_EQ(w.mouseMode, MM_TRANSLATE);
    drag(100, 100, 120, 100);
    EXPECT_DOUBLE_EQ(cam2D().cx, 100 - 20 * 0.005 * 100);
    // No button: no drag, the title follows instead.
    mouseTo(10, 10);
    EXPECT_DOUBLE_EQ(cam2D().cx, 90);
    // q is not a command: the mode stays.
    std::pair<SDL_Keycode, int> keys[] = {{SDLK_s, MM_SCALE}, {SDLK_h, MM_STRETCH}, {SDLK_r, MM_ROTATE},
                                          {SDLK_z, MM_DOLLY}, {SDLK_q, MM_DOLLY},   {SDLK_t, MM_TRANSLATE}};
    for (auto [key, mode] : keys) {
        keyDown(key);
        EXPECT_EQ(w.mouseMode, mode) << key;
    }
    // "A" with shift resets the view like "a".
    keyDown(SDLK_a, KMOD_LSHIFT);
    EXPECT_DOUBLE_EQ(cam2D().cx, 0);
    EXPECT_DOUBLE_EQ(cam2D().sx, 1);
    EXPECT_DOUBLE_EQ(cam2D().sy, 1);
}

TEST_F(Window2D, MenuChoosesByMouseOrMnemonicAndDismissesCleanly) {
    GWindow& w = GWindow::instance();
    // Dismissed with Escape: nothing changes.
    buttonDown(60, 60, SDL_BUTTON_RIGHT);
    EXPECT_TRUE(w.menuShown());
    keyDown(SDLK_a);  // keys go to the menu while it is shown
    EXPECT_DOUBLE_EQ(cam2D().sx, 100);
    keyDown(SDLK_ESCAPE);
    EXPECT_FALSE(w.menuShown());
    EXPECT_EQ(w.mouseMode, MM_TRANSLATE);
    EXPECT_DOUBLE_EQ(cam2D().sx, 100);

    // The menu is drawn over the scene.
    std::uint64_t lit = 0;
    buttonDown(60, 60, SDL_BUTTON_RIGHT);
    FramePixels f = grab();
    for (int y = 60; y < 80; ++y)
        for (int x = 60; x < 100; ++x) lit += near(f.at(x, y), 240, 240, 240, 2) ? 1 : 0;
    EXPECT_GT(lit, 300u);
    // A click outside dismisses it.
    buttonDown(5, 195);
    EXPECT_FALSE(w.menuShown());
    EXPECT_EQ(w.mouseMode, MM_TRANSLATE);
    buttonUp(5, 195);

    // A unique mnemonic chooses at once.
    buttonDown(60, 60, SDL_BUTTON_RIGHT);
    keyDown(SDLK_s);
    EXPECT_FALSE(w.menuShown());
    EXPECT_EQ(w.mouseMode, MM_SCALE);

    // "T" marks two items in 2D: it moves between them, Enter chooses.
    buttonDown(60, 60, SDL_BUTTON_RIGHT);
    keyDown(SDLK_t);
    EXPECT_TRUE(w.menuShown());
    keyDown(SDLK_t);
    keyDown(SDLK_RETURN);
    EXPECT_FALSE(w.menuShown());
    EXPECT_EQ(w.mouseMode, MM_STRETCH);

    // Clicking an item: the first is Translate, the fourth (after the separator) resets.
    buttonDown(60, 60, SDL_BUTTON_RIGHT);
    buttonDown(70, 60 + 4 + 10);
    EXPECT_EQ(w.mouseMode, MM_TRANSLATE);
    buttonUp(70, 74);
    buttonDown(60, 60, SDL_BUTTON_RIGHT);
    keyDown(SDLK_v);
    EXPECT_DOUBLE_EQ(cam2D().sx, 1);
    EXPECT_DOUBLE_EQ(cam2D().cx, 0);

    // The menu ends a drag in progress: its button-up never reaches the view.
    buttonDown(100, 100);
    buttonDown(100, 100, SDL_BUTTON_RIGHT);
    keyDown(SDLK_ESCAPE);
    mouseTo(150, 150);
    EXPECT_DOUBLE_EQ(cam2D().cx, 0);
    EXPECT_EQ(w.title(), "Graphic : ( 0.5, -0.5 )");
}

TEST(WindowLife, CloseAndReopenManyTimes) {
    REQUIRE_DISPLAY();
    GWindow& w = GWindow::instance();
    for (int i = 0; i < 3; ++i) {
        openFresh(120, 90, i % 2);
        EXPECT_EQ(w.list().size(), 4u);  // only the default commands
        EXPECT_EQ(w.viewMode(), i % 2);
        if (i % 2) call(gbLine, {row({0, 0, 0}), row({1, 1, 1})});
        else call(gbLine, {row({0, 0}), row({1, 1})});
        EXPECT_EQ(w.list().size(), 5u);
        userCloses();
        EXPECT_TRUE(closesWithin2s(w));
        EXPECT_EQ(call(gbScreenOpen), 0);
        EXPECT_EQ(w.list().size(), 5u);  // kept until the next open
        EXPECT_EQ(call(gbLine, {row({0, 0}), row({1, 1})}), 0);
        EXPECT_EQ(call(gbUpdate), 0);
    }
}

TEST(WindowLife, ClosingWhileAScriptDrawsLosesNothing) {
    REQUIRE_DISPLAY();
    openFresh(120, 90, 0);
    GWindow& w = GWindow::instance();
    std::thread user([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        userCloses();
    });
    int recorded = 0, refused = 0;
    for (int i = 0; i < 100000 && refused < 50; ++i) {
        double ok = call(gbLine, {row({0, 0}), row({1.0 * i, 1})});
        if (ok == 1) ++recorded;
        else ++refused;
    }
    user.join();
    EXPECT_GT(recorded, 0);
    EXPECT_EQ(refused, 50);
    EXPECT_EQ(w.list().size(), 4u + recorded);
    openFresh(120, 90, 0);  // and it opens again
    EXPECT_EQ(w.list().size(), 4u);
    w.close();
}

// Closed by the window manager or destroyed by another client, the window
// counts as closed by the user: the program goes on, and the first screen()
// after it gives a window that stays.
TEST(WindowLife, ClosedFromOutsideThenReopened) {
    REQUIRE_DISPLAY();
    GWindow& w = GWindow::instance();
    struct {
        const char* what;
        Outside how;
    } cases[] = {{"asked to close", Outside::AskToClose}, {"destroyed", Outside::Destroy}};
    for (const auto& c : cases) {
        openFresh(160, 120, 0);
        actFromOutside(c.how);
        EXPECT_TRUE(closesWithin2s(w)) << c.what;
        EXPECT_EQ(call(gbLine, {row({0, 0}), row({1, 1})}), 0) << c.what;
        ASSERT_EQ(call(gbScreen, {num(160), num(120)}), 1) << c.what << ": " << w.lastError();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_TRUE(w.isOpen()) << c.what;
        call(gbColor, {num(1), num(0), num(0)});
        EXPECT_EQ(call(gbLine, {row({-1, 0.49}), row({1, 0.49})}), 1) << c.what;
        EXPECT_TRUE(near(grab().at(80, 30), 255, 0, 0)) << c.what;
        w.close();
    }
}

// Cut off with its whole display connection, the window counts as closed too
// and the program goes on to a normal end, but opens no window again. Run in
// a fresh copy of this test program, since it spoils its process for windows;
// the window and its GL context are left behind on purpose (nothing can be
// freed through a dead connection), so that copy is not checked for leaks.
TEST(WindowLife, CutConnectionCountsAsClosed) {
    REQUIRE_DISPLAY();
    if (std::getenv("QUARN_CUT_CHILD")) {
        GWindow& w = GWindow::instance();
        openFresh(160, 120, 0);
        actFromOutside(Outside::KillClient);
        EXPECT_TRUE(closesWithin2s(w));
        EXPECT_EQ(call(gbLine, {row({0, 0}), row({1, 1})}), 0);
        EXPECT_EQ(call(gbScreen, {num(160), num(120)}), 0);
        EXPECT_EQ(call(gbScreenOpen), 0);
        return;
    }
    ChildRun run = runThisProgram("QUARN_CUT_CHILD=1 ASAN_OPTIONS=detect_leaks=0", "WindowLife.CutConnection*");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "screen(): cannot open the graphics window: the connection to the display was cut\n");
}
