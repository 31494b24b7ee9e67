#include "platform/preprocessor/sources.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/interrupt.h"
#include "platform/preprocessor/fault.h"

namespace pp {

bool TextCheck::fail(const char* message, int line) {
    error_ = message;
    line_ = line;
    return false;
}

bool TextCheck::feed(const char* bytes, std::size_t count) {
    if (!error_.empty()) return false;
    if (count > kMaxFileBytes - total_) return fail("file too large (over 64 MiB)", 0);
    total_ += count;
    const char* end = bytes + count;
    const char* nul = static_cast<const char*>(std::memchr(bytes, '\0', count));
    const char* stop = nul ? nul : end;
    for (const char* p = bytes; p < stop;) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(stop - p)));
        const char* lineEnd = nl ? nl : stop;
        lineLength_ += static_cast<std::size_t>(lineEnd - p);
        if (lineLength_ > kMaxLineBytes) return fail("line too long (over 16 MiB)", lines_);
        if (!nl) break;
        lineLength_ = 0;
        ++lines_;
        p = nl + 1;
    }
    if (nul) return fail("NUL byte in the text (not a text file?)", lines_);
    return true;
}

void joinCrLf(std::string& bytes) {
    if (bytes.find("\r\n") == std::string::npos) return;
    std::size_t out = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        bytes[out++] = bytes[i];
    }
    bytes.resize(out);
}

void acceptText(SourceFile& file) {
    if (file.status != SourceFile::Read) return;
    TextCheck check;
    if (!check.feed(file.bytes.data(), file.bytes.size())) {
        file.status = SourceFile::Failed;
        file.error = check.error();
        file.line = check.line();
        file.bytes.clear();
        return;
    }
    joinCrLf(file.bytes);
}

}  // namespace pp

namespace {

SourceFile failed(const std::string& why, int line = 0) {
    SourceFile f;
    f.status = SourceFile::Failed;
    f.error = why;
    f.line = line;
    return f;
}

}  // namespace

SourceFile readSourceFile(const std::string& path) {
    SourceFile file;
    // Not blocking: a FIFO without a writer would keep open() waiting where
    // Ctrl-C cannot end the wait; reads wait in waitForInput instead.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        file.error = std::strerror(errno);
        // A path that cannot name a file (a folder too long, a file where a
        // folder should be) is missing: an include search goes on.
        if (errno != ENOENT && errno != ENOTDIR && errno != ENAMETOOLONG) file.status = SourceFile::Failed;
        return file;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) st.st_mode = 0;
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        file.status = SourceFile::Directory;
        return file;
    }
    const bool mayWait = !S_ISREG(st.st_mode);
    pp::TextCheck check;
    char piece[65536];
    for (;;) {
        if (interruptPending() || (mayWait && !waitForInput(fd))) {
            ::close(fd);
            return failed("Interrupted");
        }
        ssize_t got = ::read(fd, piece, sizeof piece);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            int err = errno;
            ::close(fd);
            return failed(std::strerror(err));
        }
        if (got == 0) break;
        if (!check.feed(piece, static_cast<std::size_t>(got))) {
            ::close(fd);
            return failed(check.error(), check.line());
        }
        file.bytes.append(piece, static_cast<std::size_t>(got));
    }
    ::close(fd);
    pp::joinCrLf(file.bytes);
    file.status = SourceFile::Read;
    return file;
}
