// The window object: opening, the request queue through which the
// interpreter thread talks to the window thread, and closing.
#include "graphics/gwindow.h"

#include <SDL.h>
#include <pthread.h>

#include <chrono>
#include <csignal>

#include "graphics/display_watch.h"

namespace {
// Larger windows than these are refused rather than attempted: their frame
// buffers alone could exhaust memory.
constexpr int kMaxSide = 8192;
constexpr long long kMaxPixels = 8192LL * 4608;

Uint32 wakeEventType() {
    static const Uint32 type = [] {
        Uint32 t = SDL_RegisterEvents(1);
        return t == static_cast<Uint32>(-1) ? static_cast<Uint32>(SDL_USEREVENT) : t;
    }();
    return type;
}
// Events for a window closed earlier, and the wake-ups, are not the user's.
bool isForThisWindow(const SDL_Event& e, Uint32 windowId) {
    if (e.type == wakeEventType() || e.type == SDL_SYSWMEVENT) return false;
    return e.type != SDL_WINDOWEVENT || e.window.windowID == windowId;
}
bool isUserInput(const SDL_Event& e) {
    switch (e.type) {
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
        return true;
    default:
        return false;
    }
}
}  // namespace

std::array<double, 16> identityMatrix() {
    std::array<double, 16> m{};
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

std::array<int, 3> FramePixels::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {0, 0, 0};
    std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

GWindow& GWindow::instance() {
    static GWindow window;
    return window;
}

GWindow::GWindow() { transform = identityMatrix(); }

GWindow::~GWindow() {
    close();
    {
        std::lock_guard<std::mutex> guard(requestLock_);
        shutdown_ = true;
    }
    openWanted_.notify_all();
    // The window thread cannot wait for itself (when a library calls exit
    // on it), and after a cut display connection it never ends.
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id() || displayCut_) thread_.detach();
        else thread_.join();
    }
}

bool GWindow::open(int width, int height, int mode) {
    if (isOpen() || width < 1 || height < 1) return false;
    if (displayCut_) {
        lastError_ = "the connection to the display was cut";
        return false;
    }
    {
        // A window closed a moment ago may still be finishing.
        std::unique_lock<std::mutex> lock(requestLock_);
        served_.wait(lock, [&] { return !serving_; });
    }
    lastError_.clear();
    if (width > kMaxSide || height > kMaxSide || static_cast<long long>(width) * height > kMaxPixels) {
        lastError_ = "the window size " + std::to_string(width) + " x " + std::to_string(height) +
                     " is too large (at most " + std::to_string(kMaxSide) + " pixels a side and " +
                     std::to_string(kMaxPixels) + " pixels in all)";
        return false;
    }
    requestedWidth_ = width;
    requestedHeight_ = height;
    viewMode_ = mode;
    {
        std::lock_guard<std::mutex> guard(windowLock_);
        if (mode != 0) camera_ = std::make_unique<GCam3D>();
        else camera_ = std::make_unique<GCam2D>();
        mouseMode = MM_TRANSLATE;
        gridX = gridY = -1.0;
        autoUpdate = true;
        transform = identityMatrix();
    }
    ready_ = false;
    failed_ = false;
    {
        std::lock_guard<std::mutex> guard(requestLock_);
        requests_.clear();
        posted_ = done_ = 0;
        title_ = "Graphic";
        openRequested_ = true;
    }
    if (!thread_.joinable()) thread_ = std::thread(&GWindow::threadMain, this);
    openWanted_.notify_all();
    while (!ready_ && !failed_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (failed_) {
        std::lock_guard<std::mutex> guard(windowLock_);
        camera_.reset();
        return false;
    }
    return true;
}

bool GWindow::post(Request request) {
    std::unique_lock<std::mutex> lock(requestLock_);
    if (!serving_ || !ready_) return false;
    request.ticket = ++posted_;
    std::uint64_t ticket = request.ticket;
    requests_.push_back(std::move(request));
    SDL_Event wake{};
    wake.type = wakeEventType();
    SDL_PushEvent(&wake);  // a lost wake-up only delays: the loop also polls
    served_.wait(lock, [&] { return done_ >= ticket || !serving_; });
    return done_ >= ticket;
}

void GWindow::repaint() {
    if (!isOpen()) return;
    ++repaintRequests_;
    post(Request(Request::Repaint));
}

void GWindow::setBackground(double r, double g, double b) {
    Request request(Request::Background);
    request.rgb[0] = r;
    request.rgb[1] = g;
    request.rgb[2] = b;
    post(request);
}

void GWindow::close() {
    if (std::this_thread::get_id() == thread_.get_id()) return;
    post(Request(Request::Close));
    std::unique_lock<std::mutex> lock(requestLock_);
    served_.wait(lock, [&] { return !serving_; });
}

bool GWindow::capture(FramePixels& out) {
    Request request(Request::Capture);
    request.pixels = &out;
    return post(request);
}

void GWindow::inject(const SDL_Event& event) {
    Request request(Request::Event);
    request.event = std::make_shared<SDL_Event>(event);
    post(request);
}

std::string GWindow::title() {
    std::lock_guard<std::mutex> guard(requestLock_);
    return title_;
}

bool GWindow::menuShown() {
    std::lock_guard<std::mutex> guard(requestLock_);
    return menuVisible_;
}

void GWindow::setTitle(const std::string& text) {
    SDL_SetWindowTitle(static_cast<SDL_Window*>(sdlWindow_), text.c_str());
    std::lock_guard<std::mutex> guard(requestLock_);
    title_ = text;
}

void GWindow::threadMain() {
    // Writing to a display connection that was cut raises SIGPIPE, which
    // would end the program; blocked here, the write only fails.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(requestLock_);
            openWanted_.wait(lock, [&] { return openRequested_ || shutdown_; });
            if (shutdown_) return;
            openRequested_ = false;
        }
        if (!initVideo() || !createWindow()) {
            failed_ = true;
            continue;
        }
        runWindow();
        destroyWindow();
    }
}

void GWindow::runWindow() {
    {
        std::lock_guard<std::mutex> guard(requestLock_);
        serving_ = true;
    }
    paint(nullptr);
    ready_ = true;
    running_ = true;
    const Uint32 windowId = SDL_GetWindowID(static_cast<SDL_Window*>(sdlWindow_));
    // Destroyed by another program: as if the user had closed it.
    auto stillThere = [&] { return running_ && !display_watch::windowLost(); };
    while (stillThere()) {
        serveRequests();
        SDL_Event e;
        if (!stillThere() || !SDL_WaitEventTimeout(&e, 20)) continue;
        do {
            if (display_watch::tellsWindowDestroyed(e)) running_ = false;
            else if (isForThisWindow(e, windowId) && !(injectedInputOnly && isUserInput(e))) handleEvent(e);
        } while (stillThere() && SDL_PollEvent(&e));
    }
    running_ = false;
}

void GWindow::serveRequests() {
    std::deque<Request> batch;
    {
        std::lock_guard<std::mutex> guard(requestLock_);
        batch.swap(requests_);
    }
    for (std::size_t i = 0; i < batch.size(); ++i) {
        Request& r = batch[i];
        switch (r.kind) {
        case Request::Repaint:
            // Repaints waiting together are served by one frame.
            if (i + 1 < batch.size() && batch[i + 1].kind == Request::Repaint) break;
            paint(nullptr);
            break;
        case Request::Background:
            applyBackground(r.rgb[0], r.rgb[1], r.rgb[2]);
            break;
        case Request::Capture:
            paint(r.pixels);
            break;
        case Request::Close:
            running_ = false;
            break;
        case Request::Event:
            handleEvent(*r.event);
            break;
        }
        {
            std::lock_guard<std::mutex> guard(requestLock_);
            done_ = r.ticket;
        }
        served_.notify_all();
    }
}
