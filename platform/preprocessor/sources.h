// Reading source files, and the checks every source text passes: no NUL
// byte (a binary file or a device such as /dev/zero), no line or file over
// its cap. The checks run while a file is read, so that an endless input
// stops early.
#pragma once

#include <cstddef>
#include <string>

#include "platform/preprocess.h"

namespace pp {

class TextCheck {
public:
    // Checks the next piece of a text; false, with `error` and `line`
    // set, at the first fault.
    bool feed(const char* bytes, std::size_t count);
    const std::string& error() const { return error_; }
    int line() const { return line_; }

private:
    bool fail(const char* message, int line);
    std::size_t total_ = 0;
    std::size_t lineLength_ = 0;
    int lines_ = 1;  // the line the next byte is on
    std::string error_;
    int line_ = 0;
};

// Checks a text read some other way and turns its CR LF line ends into LF.
void acceptText(SourceFile& file);
void joinCrLf(std::string& bytes);

}  // namespace pp
