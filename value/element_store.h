// Storage for the elements of matrices.
#pragma once

#include <cstddef>

#include "value/value.h"

// count elements, zeroed when zero is true; null when the memory cannot be had.
Complex* allocateElements(std::size_t count, bool zero);
// Gives back what allocateElements(count, ...) returned.
void releaseElements(Complex* data, std::size_t count);
