// The grammar of one line of a data file: numbers separated by blanks and
// commas, complex forms such as 1+2i, and "#" comments.
#pragma once

#include <cstddef>
#include <vector>

#include "value/value.h"

struct DataLine {
    std::vector<Complex> elements;
    bool comment = false;  // the line starts (after separators) with "#"
    bool bad = false;      // something other than numbers and a comment is left
};

DataLine parseDataLine(const char* text, std::size_t length);
