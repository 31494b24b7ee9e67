// Operators on values: element-wise machinery with broadcasting, the matrix
// product, transpose, string joining, comparisons, logic and division.
// Every error is raised with the operator's line; operands are never changed.
#pragma once

#include "value/value.h"

// Element functions. The line is for the kernel's own errors.
using Kernel1 = Complex (*)(int line, Complex a);
using Kernel2 = Complex (*)(int line, Complex a, Complex b);
using Kernel3 = Complex (*)(int line, Complex a, Complex b, Complex c);

// A number with cols <= 1 and rows <= 1.
inline bool scalarLike(const NNum& m) { return m.cols <= 1 && m.rows <= 1; }

NRefPtr op1(int line, const NRefPtr& a, Kernel1 f);
NRefPtr op2(int line, const NRefPtr& a, const NRefPtr& b, Kernel2 f);
// op2 that may write the result over an operand whose only reference it was
// handed (no variable holding it), when the result has that operand's shape.
NRefPtr op2Reusing(int line, NRefPtr a, NRefPtr b, Kernel2 f);
NRefPtr op_expand(int line, const NRefPtr& a, const NRefPtr& b);
NRefPtr op3(int line, const NRefPtr& a, const NRefPtr& b, const NRefPtr& c, Kernel3 f);

NRefPtr addValues(int line, const NRefPtr& a, const NRefPtr& b);  // joins two strings
NRefPtr matrixProduct(int line, const NRefPtr& a, const NRefPtr& b);
NRefPtr transpose(int line, const NRefPtr& a);
NRefPtr allOf(int line, const NRefPtr& a);
NRefPtr anyOf(int line, const NRefPtr& a);
// The truth of an if/while/for condition: a 1x1 number or a string.
bool conditionTest(int line, const NRefPtr& v);

// Comparisons of two values (string-aware; numbers through op2).
NRefPtr compareEQ(int line, const NRefPtr& a, const NRefPtr& b);
NRefPtr compareNE(int line, const NRefPtr& a, const NRefPtr& b);
NRefPtr compareGT(int line, const NRefPtr& a, const NRefPtr& b);
NRefPtr compareGE(int line, const NRefPtr& a, const NRefPtr& b);
NRefPtr compareLT(int line, const NRefPtr& a, const NRefPtr& b);
NRefPtr compareLE(int line, const NRefPtr& a, const NRefPtr& b);

// The tolerance equality and the truth value of an element.
bool toleranceEqual(double x, double y);
bool truthValue(Complex z);

// Element kernels.
Complex k_neg(int line, Complex a);
Complex k_truth(int line, Complex a);
Complex k_not(int line, Complex a);
Complex k_add(int line, Complex a, Complex b);
Complex k_sub(int line, Complex a, Complex b);
Complex k_mul(int line, Complex a, Complex b);
Complex k_div(int line, Complex a, Complex b);
Complex k_pow(int line, Complex a, Complex b);
Complex k_mod(int line, Complex a, Complex b);
Complex k_ldiv(int line, Complex a, Complex b);
Complex k_and(int line, Complex a, Complex b);
Complex k_or(int line, Complex a, Complex b);
Complex k_select(int line, Complex a, Complex b);
Complex k_eq(int line, Complex a, Complex b);
Complex k_ne(int line, Complex a, Complex b);
Complex k_gt(int line, Complex a, Complex b);
Complex k_ge(int line, Complex a, Complex b);
Complex k_lt(int line, Complex a, Complex b);
Complex k_le(int line, Complex a, Complex b);

// Plain complex arithmetic shared by kernels and built-ins.
inline Complex cmul(Complex a, Complex b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
Complex cdiv(Complex a, Complex b);  // the scaled complex division
Complex cexp(Complex z);
Complex clog(Complex z);             // principal logarithm
