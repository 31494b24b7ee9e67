// The one graphics window: its own thread runs the SDL window, the OpenGL
// context and every GL call; the interpreter thread records commands, changes
// the view under the window lock and asks for repaints, which it waits for.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "graphics/camera.h"
#include "graphics/cmd_list.h"
#include "graphics/label.h"
#include "graphics/popup_menu.h"

union SDL_Event;

// A frame read back from the window (rows top first, 3 bytes a pixel).
struct FramePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    // (r, g, b) at x, y with y counted from the top; black outside.
    std::array<int, 3> at(int x, int y) const;
};

class GWindow {
public:
    static GWindow& instance();
    ~GWindow();
    GWindow(const GWindow&) = delete;
    GWindow& operator=(const GWindow&) = delete;

    // Opens the window and waits until its first frame is painted. False for
    // an open window, a bad size, or a window that cannot be made (then
    // `lastError` says why).
    bool open(int width, int height, int mode);
    bool isOpen() const { return windowOpen_.load(); }
    // Paints a frame now and waits for it (nothing when closed).
    void repaint();
    // Sets the clear colour on the window thread and waits for it.
    void setBackground(double r, double g, double b);
    // Closes the window as the user would, and waits until it is gone.
    void close();

    // View state, guarded by the window lock (taken before the list lock).
    std::mutex& windowLock() { return windowLock_; }
    CmdList& list() { return list_; }
    GCamera* camera() { return camera_.get(); }
    int viewMode() const { return viewMode_; }
    bool autoUpdate = true;
    double gridX = -1.0, gridY = -1.0;
    std::array<double, 16> transform{};
    int mouseMode = 2;

    // Used by the commands while a frame is drawn.
    GLLabel& label() { return label_; }
    const std::array<double, 16>& baseModelView() const { return baseModelView_; }
    void setCurrentColour(float r, float g, float b) { currentColour_ = {r, g, b}; }
    std::array<float, 3> currentColour() const { return currentColour_; }

    const std::string& lastError() const { return lastError_; }

    // Test hooks. capture paints a frame and reads it back before the swap;
    // inject hands an event to the window thread as if the user made it.
    bool capture(FramePixels& out);
    void inject(const SDL_Event& event);
    // When set, the real pointer and keyboard are ignored (injected events only),
    // so that where the desktop's pointer happens to be cannot disturb a test.
    std::atomic<bool> injectedInputOnly{false};
    std::string title();
    bool menuShown();
    std::uint64_t framesPainted() const { return frames_.load(); }
    std::uint64_t repaintRequests() const { return repaintRequests_.load(); }

private:
    GWindow();

    struct Request {
        enum Kind { Repaint, Background, Capture, Close, Event };
        explicit Request(Kind k) : kind(k) {}
        Kind kind;
        std::uint64_t ticket = 0;
        double rgb[3] = {0, 0, 0};
        FramePixels* pixels = nullptr;
        std::shared_ptr<SDL_Event> event;
    };
    // Queues a request for the window thread and waits until it has been
    // served, or the window is gone (false).
    bool post(Request request);
    void threadMain();
    bool initVideo();
    bool createWindow();
    void runWindow();
    void destroyWindow();
    // The display connection was cut (on the window thread, which then stays
    // in the display library for good): the window counts as closed, and no
    // window opens again.
    void abandonWindow();
    // The last step of both: the requests still queued are dropped and whoever
    // waits for one is woken.
    void stopServing();
    void serveRequests();
    void handleEvent(const SDL_Event& e);
    void handleKey(int sym);
    void handleMenuEvent(const SDL_Event& e);
    void chooseMenuItem(int index);
    void paint(FramePixels* readBack);
    void drawFrame();
    void resizeToDrawable();
    void applyBackground(double r, double g, double b);
    void showMenu(int x, int y);
    void hideMenu();
    void setTitle(const std::string& text);

    std::mutex windowLock_;
    CmdList list_;
    GLLabel label_;
    std::unique_ptr<GCamera> camera_;
    std::array<double, 16> baseModelView_{};
    std::array<float, 3> currentColour_{1, 1, 1};
    int viewMode_ = 0;
    int requestedWidth_ = 0, requestedHeight_ = 0;
    std::string lastError_;

    // Window-thread state.
    void* sdlWindow_ = nullptr;  // SDL_Window
    void* glContext_ = nullptr;  // SDL_GLContext
    PopupMenu menu_;
    bool dragging_ = false;
    bool running_ = false;

    // One window thread serves every window of the run, so that the display
    // connection is made once and never torn down while the program runs.
    std::thread thread_;
    bool videoReady_ = false;  // window thread only
    std::atomic<bool> windowOpen_{false};
    std::atomic<bool> ready_{false};
    std::atomic<bool> failed_{false};
    std::atomic<bool> displayCut_{false};
    std::atomic<std::uint64_t> frames_{0};
    std::atomic<std::uint64_t> repaintRequests_{0};

    std::mutex requestLock_;
    std::condition_variable served_;
    std::deque<Request> requests_;
    std::uint64_t posted_ = 0, done_ = 0;
    bool serving_ = false;        // the window thread takes requests for an open window
    bool openRequested_ = false;  // open has asked the window thread for a window
    bool shutdown_ = false;       // the program ends: the window thread returns
    std::condition_variable openWanted_;
    std::string title_;
    bool menuVisible_ = false;
};

// The identity as a column-major 4x4 matrix.
std::array<double, 16> identityMatrix();
