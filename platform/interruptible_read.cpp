#include "platform/interruptible_read.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

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
#ifdef __GLIBC__
        // Whole runs of buffered bytes at once, as getline does.
        if (streamHasBufferedInput(stream)) {
            char* from = stream->_IO_read_ptr;
            const std::size_t take = std::min<std::size_t>(stream->_IO_read_end - from, maxBytes - out.size());
            const char* feed = static_cast<const char*>(std::memchr(from, '\n', take));
            const std::size_t n = feed ? static_cast<std::size_t>(feed - from) + 1 : take;
            out.append(from, n);
            stream->_IO_read_ptr = from + n;
            if (feed) break;
            continue;
        }
#endif
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
