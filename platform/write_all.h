// Writing a whole text to a file descriptor.
#pragma once

#include <string>

// Writes every byte of text to fd, going on after a write cut short or
// interrupted by a signal. False on an error.
bool writeAll(int fd, const std::string& text);
