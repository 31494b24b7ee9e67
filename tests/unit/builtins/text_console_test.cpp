#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/console_keys.h"

namespace {

// Reads what is available on fd within ms milliseconds.
std::string readSome(int fd, int ms) {
    std::string got;
    struct pollfd p {fd, POLLIN, 0};
    while (poll(&p, 1, ms) > 0) {
        char buf[64];
        ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        got.append(buf, static_cast<std::size_t>(n));
        ms = 50;
    }
    return got;
}

// A key typed on a terminal arrives without Enter and without the terminal's
// own echo, and the terminal is back in line mode after the call.
TEST(ConsoleKeys, RawModeOnATerminalOnlyDuringTheCall) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) GTEST_SKIP() << "no pseudo-terminals on this machine";
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    std::string slaveName = ptsname(master);
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int slave = open(slaveName.c_str(), O_RDWR);
        dup2(slave, STDIN_FILENO);
        dup2(slave, STDOUT_FILENO);
        char result[4];
        result[0] = consoleKeyWaiting() ? 'W' : 'n';
        write(report[1], result, 1);  // tells the parent that the key may come
        int key = consoleReadKey(true);
        struct termios after;
        tcgetattr(STDIN_FILENO, &after);
        result[1] = static_cast<char>(key);
        result[2] = (after.c_lflag & ICANON) && (after.c_lflag & ECHO) ? 'R' : 'x';
        result[3] = consoleKeyWaiting() ? 'W' : 'n';
        write(report[1], result + 1, 3);
        _exit(0);
    }
    close(report[1]);
    std::string first = readSome(report[0], 5000);
    // The child waits in raw mode once the line discipline leaves line mode.
    struct termios t;
    for (int i = 0; i < 500; ++i) {
        if (tcgetattr(master, &t) == 0 && !(t.c_lflag & ICANON)) break;
        usleep(10000);
    }
    EXPECT_FALSE(t.c_lflag & ECHO);
    ASSERT_EQ(write(master, "k", 1), 1);
    std::string rest = readSome(report[0], 5000);
    std::string echoed = readSome(master, 200);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(report[0]);
    close(master);
    EXPECT_EQ(first + rest, "nkRn");
    // Only the key function's own echo, not the terminal's as well.
    EXPECT_EQ(echoed, "k");
}

// A signal that ends the program while it waits for a key leaves the
// terminal in line mode.
TEST(ConsoleKeys, TerminalIsRestoredWhenASignalEndsTheWait) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) GTEST_SKIP() << "no pseudo-terminals on this machine";
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    std::string slaveName = ptsname(master);
    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGTERM, SIG_DFL);
        int slave = open(slaveName.c_str(), O_RDWR);
        dup2(slave, STDIN_FILENO);
        consoleReadKey(false);
        _exit(0);
    }
    struct termios t {};
    bool raw = false;
    for (int i = 0; i < 500 && !raw; ++i) {
        raw = tcgetattr(master, &t) == 0 && !(t.c_lflag & ICANON);
        if (!raw) usleep(10000);
    }
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(raw);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    ASSERT_EQ(tcgetattr(master, &t), 0);
    EXPECT_TRUE((t.c_lflag & ICANON) && (t.c_lflag & ECHO));
    close(master);
}

}  // namespace
