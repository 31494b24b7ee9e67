// The largest single allocation a fuzz input may make.
#pragma once

#include <cstddef>

constexpr std::size_t kAllocationCapBytes = std::size_t{64} << 20;
