// The format language of printf and sprintf: C-like directives that also know
// complex numbers ("%f" on 1+2i) and whole matrices ("%m", "%n").
#pragma once

#include <cstddef>
#include <string>

#include "exec/exec.h"

// The most one directive ever produces; longer output is cut.
constexpr std::size_t kDirectiveOutputLimit = 2047;

// Formats fmt with the arguments args[first], args[first + 1], ... Never
// fails: a directive without an argument, or with one of the wrong type,
// outputs nothing.
std::string formatWithDirectives(const std::string& fmt, const ArgList& args, std::size_t first);
