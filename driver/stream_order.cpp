// Messages on standard error must appear after the output printed before
// them, also when both streams go to one pipe (quarn s.qn 2>&1 | less),
// where standard output is fully buffered. Rather than flush at each of
// the places that write an error or a warning (ours and the libraries'),
// standard error becomes an unbuffered stream that flushes standard output
// before it writes.
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "driver/driver.h"

namespace {

ssize_t writeAfterOutput(void*, const char* bytes, std::size_t size) {
    std::fflush(stdout);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = write(STDERR_FILENO, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return done > 0 ? static_cast<ssize_t>(done) : -1;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(size);
}

}  // namespace

void orderErrorsAfterOutput() {
    cookie_io_functions_t io{};
    io.write = writeAfterOutput;
    std::FILE* ordered = fopencookie(nullptr, "w", io);
    if (!ordered) return;  // unordered, but every message still appears
    setvbuf(ordered, nullptr, _IONBF, 0);
    stderr = ordered;
}
