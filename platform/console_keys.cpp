#include "platform/console_keys.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "platform/interrupt.h"
#include "platform/interruptible_read.h"

namespace {

// The terminal settings to restore; valid while rawActive is set. Both are
// read by the signal handler, so they are plain data set before the switch.
struct termios savedSettings;
std::atomic<bool> rawActive{false};
bool handlersInstalled = false;

void restoreTerminal() {
    if (rawActive.exchange(false)) tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
}

extern "C" void restoreOnSignal(int sig) {
    restoreTerminal();
    // Let the signal do what it would have done without us.
    std::signal(sig, SIG_DFL);
    raise(sig);
}

void installRestorers() {
    if (handlersInstalled) return;
    handlersInstalled = true;
    std::atexit(restoreTerminal);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction old {};
        sigaction(sig, nullptr, &old);
        // A signal that the program ignores (or handles itself) stays so.
        if (old.sa_handler != SIG_DFL) continue;
        struct sigaction act {};
        act.sa_handler = restoreOnSignal;
        sigemptyset(&act.sa_mask);
        sigaction(sig, &act, nullptr);
    }
}

// Raw mode for the lifetime of the object, on a terminal only.
class RawMode {
public:
    RawMode() {
        if (!isatty(STDIN_FILENO)) return;
        struct termios now;
        if (tcgetattr(STDIN_FILENO, &now) != 0) return;
        installRestorers();
        savedSettings = now;
        now.c_lflag &= ~(ICANON | ECHO);  // ISIG stays: Ctrl-C still interrupts
        now.c_cc[VMIN] = 1;
        now.c_cc[VTIME] = 0;
        rawActive = true;
        if (tcsetattr(STDIN_FILENO, TCSANOW, &now) != 0) rawActive = false;
        on_ = rawActive;
    }
    ~RawMode() {
        if (on_) restoreTerminal();
    }
    bool active() const { return on_; }
    RawMode(const RawMode&) = delete;
    RawMode& operator=(const RawMode&) = delete;

private:
    bool on_ = false;
};

bool descriptorReadable() {
    struct pollfd p {};
    p.fd = STDIN_FILENO;
    p.events = POLLIN;
    int r;
    do {
        r = poll(&p, 1, 0);
    } while (r < 0 && errno == EINTR);
    // An error or hang-up also means a read would not wait.
    return r > 0;
}

}  // namespace

bool consoleKeyWaiting() {
    std::fflush(stdout);
    if (streamHasBufferedInput(stdin)) return true;
    if (std::feof(stdin)) return true;
    RawMode raw;
    return descriptorReadable();
}

int consoleReadKey(bool echo) {
    std::fflush(stdout);
    int key = -1;
    {
        RawMode raw;
        // An interrupt ends the wait before any byte is taken, so the key
        // typed after Ctrl-C is left for whoever reads next.
        if (streamHasBufferedInput(stdin) || waitForInput(STDIN_FILENO)) {
            if (raw.active() && !streamHasBufferedInput(stdin)) {
                unsigned char c;
                ssize_t n;
                do {
                    n = read(STDIN_FILENO, &c, 1);
                } while (n < 0 && errno == EINTR);
                key = n == 1 ? c : -1;
            } else {
                // Not a terminal: share the stdio buffer with line input.
                key = std::getc(stdin);
                if (key == EOF) key = -1;
            }
        }
    }
    if (echo && key >= 0) {
        std::putchar(key);
        std::fflush(stdout);
    }
    return key;
}
