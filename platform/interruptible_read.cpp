#include "platform/interruptible_read.h"

#include <cerrno>

#include "platform/interrupt.h"

bool streamHasBufferedInput(std::FILE* stream) {
#ifdef __GLIBC__
    return stream->_IO_read_ptr < stream->_IO_read_end;
#else
    (void)stream;
    return false;
#endif
}

LineRead readLineInterruptibly(std::FILE* stream, std::string& out, std::size_t maxBytes) {
    out.clear();
    const int fd = fileno(stream);
    flockfile(stream);
    LineRead result = LineRead::Line;
    for (;;) {
        if (out.size() >= maxBytes) {
            result = LineRead::Full;
            break;
        }
        // Only an empty buffer needs the descriptor; a device that is always
        // ready (/dev/zero) is stopped by the check at each refill.
        if (!streamHasBufferedInput(stream)) {
            // Whoever types the line must first see what asked for it.
            if (stream == stdin) std::fflush(stdout);
            if (interruptPending() || (fd >= 0 && !waitForInput(fd))) {
                result = LineRead::Interrupted;
                break;
            }
        }
        const int c = getc_unlocked(stream);
        if (c == EOF) {
            if (ferror_unlocked(stream) && errno == EINTR) {
                clearerr_unlocked(stream);  // a signal cut the read short: wait again
                continue;
            }
            result = out.empty() ? LineRead::End : LineRead::Line;
            break;
        }
        out.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    funlockfile(stream);
    if (result == LineRead::Interrupted) out.clear();
    return result;
}
