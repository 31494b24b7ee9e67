// Reading lines from a C stream so that Ctrl-C ends every wait for input
// at once: stdin shared with the stdio buffer of other readers, data files
// that are pipes or terminals, devices that never end a line.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

enum class LineRead {
    Line,         // up to and including a line feed, or the last bytes before the end
    Full,         // maxBytes bytes and no line feed among them
    End,          // end of input (or a read error) before any byte
    Interrupted,  // an interrupt request came first; the bytes read are dropped
};

// Replaces out with the next bytes of stream, line feed included.
LineRead readLineInterruptibly(std::FILE* stream, std::string& out, std::size_t maxBytes);

// True when stream's buffer holds bytes that a read takes without waiting.
bool streamHasBufferedInput(std::FILE* stream);
