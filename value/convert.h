// Conversions that extract plain data from argument values. All tests are
// exact (the comparison tolerance is not used); failures raise with the line.
#pragma once

#include <cstdint>
#include <string>

#include "value/value.h"

struct Vec4 {
    double x, y, z, w;
};

std::int32_t toInteger(int line, const NRefPtr& v);   // "Cannot convert arg to integer"
double toReal(int line, const NRefPtr& v);            // "Cannot convert arg to real number"
std::string toText(int line, const NRefPtr& v);       // "Cannot convert arg to string"
Vec4 toVector2(int line, const NRefPtr& v);           // (x, y, 1, 1)
Vec4 toVector3(int line, const NRefPtr& v);           // (x, y, z, 1)
std::int32_t elementToInteger(int line, Complex z);
double elementToReal(int line, Complex z);
// The 32-bit range test (without the integral test), used by int().
bool inInt32Range(double re);
