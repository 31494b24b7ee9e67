// Process-wide settings read by printing, comparisons and assignment.
#pragma once

#include <string>

// The number format: a printf format for one double, "%.3f" by default.
const char* numberFormat();
// Replaces the number format; returns false (and changes nothing) when the
// text is not a format that consumes exactly one double.
bool setNumberFormat(const std::string& format);
bool isValidNumberFormat(const std::string& format);

// The comparison tolerance, 0 by default. Read inline: every comparison and
// truth test of every element reads it.
extern double g_compareTolerance;
inline double compareTolerance() { return g_compareTolerance; }
void setCompareTolerance(double eps);

// Strict mode, off by default.
bool strictMode();
void setStrictMode(bool on);
