#include "platform/shell.h"

#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/interrupt.h"

namespace {

int statusToResult(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Runs argv[0] with argv and waits, ignoring the keyboard signals meanwhile so
// that Ctrl-C stops the child and not the interpreter (as system() does).
// Until the child can take them, they are blocked, so that none is lost:
// one that comes before the fork reaches our own handler (on another thread,
// or when unblocked), one that comes after it kills the child as it starts.
int runAndWait(const char* path, char* const argv[]) {
    if (interruptPending()) return -1;  // the program is stopping: start nothing
    std::fflush(nullptr);  // our buffered output must come before the child's
    sigset_t keyboard, oldMask;
    sigemptyset(&keyboard);
    sigaddset(&keyboard, SIGINT);
    sigaddset(&keyboard, SIGQUIT);
    pthread_sigmask(SIG_BLOCK, &keyboard, &oldMask);

    pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGQUIT, SIG_DFL);
        sigprocmask(SIG_SETMASK, &oldMask, nullptr);
        execvp(path, argv);
        _exit(127);
    }
    struct sigaction ignore {}, oldInt {}, oldQuit {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGINT, &ignore, &oldInt);
    sigaction(SIGQUIT, &ignore, &oldQuit);
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    int result = -1;
    if (pid > 0) {
        int status = 0;
        pid_t r;
        do {
            r = waitpid(pid, &status, 0);
        } while (r < 0 && errno == EINTR);
        if (r == pid) result = statusToResult(status);
        // Ctrl-C reached the command and not us (we ignored it meanwhile):
        // like a shell, stop the running program too, or a loop of
        // commands could never be left.
        if (r == pid && WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) requestInterrupt();
    }
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGQUIT, &oldQuit, nullptr);
    return result;
}

}  // namespace

std::string interactiveShellPath() {
    const char* shell = std::getenv("SHELL");
    if (shell && *shell) return shell;
    return "/bin/sh";
}

int runShellCommand(const std::string& command) {
    char sh[] = "/bin/sh";
    char dashC[] = "-c";
    std::string text = command;
    char* argv[] = {sh, dashC, text.data(), nullptr};
    return runAndWait("/bin/sh", argv);
}

int runInteractiveShell() {
    std::string path = interactiveShellPath();
    char* argv[] = {path.data(), nullptr};
    return runAndWait(path.c_str(), argv);
}
