// The evaluator's fast paths for scalar operations give, bit for bit, what
// the general kernels give: over many values, signs, zeros, infinities and
// NaN, for literal and variable operands, with and without a tolerance.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "exec/prepare.h"
#include "exec/symbols.h"
#include "tree_builder.h"
#include "value/kernels.h"
#include "value/raise.h"
#include "value/settings.h"

namespace {

std::vector<double> sampleReals() {
    std::vector<double> base = {0.0,   DBL_TRUE_MIN, DBL_MIN, 1e-300, 1e-20,     0.5,     1.0,      1.5,
                                2.0,   3.0,          7.0,     7.5,    1e6 + 0.5, 9007199254740993.0, 1e20, 1e300,
                                DBL_MAX, INFINITY,   NAN};
    std::vector<double> all;
    for (double x : base) {
        all.push_back(x);
        all.push_back(-x);
    }
    return all;
}

// Values whose imaginary part is +0, -0, or not zero (the general path).
std::vector<Complex> sampleValues() {
    std::vector<Complex> all;
    for (double re : sampleReals())
        for (double im : {0.0, -0.0}) all.push_back({re, im});
    for (Complex z : {Complex{1, 2}, Complex{-3, 0.5}, Complex{0, -1}, Complex{1e20, 1e-20}, Complex{NAN, 1}})
        all.push_back(z);
    return all;
}

// Each part's bits (the sign of a zero included); a NaN is any NaN, since
// which operand's NaN an addition passes on is the compiler's choice.
std::string bits(Complex z) {
    auto part = [](double x) { return std::isnan(x) ? 0x7ff8000000000000ull : std::bit_cast<std::uint64_t>(x); };
    char text[40];
    std::snprintf(text, sizeof text, "%016llx %016llx", static_cast<unsigned long long>(part(z.re)),
                  static_cast<unsigned long long>(part(z.im)));
    return text;
}

// The rule each kind follows, written with the general kernels.
Complex reference(std::int32_t kind, Complex a, Complex b) {
    switch (kind) {
    case OP_DIV: return kern::div(a, b);
    case OP_LDIV:
    case OP_MOD: {
        if (b.re == 0.0 && b.im == 0.0) raiseError(1, "Division by 0");
        Complex t = kern::ldivGeneral(a, b);
        return kind == OP_LDIV ? t : kern::remainderOf(a, b, t);
    }
    case OP_ADD: return kern::add(a, b);
    case OP_SUB: return kern::sub(a, b);
    case OP_MUL: return kern::mul(a, b);
    case OP_EQ: return kern::eq(a, b);
    case OP_NE: return kern::ne(a, b);
    case OP_GT: return kern::gt(1, a, b);
    case OP_GE: return kern::ge(1, a, b);
    case OP_LT: return kern::lt(1, a, b);
    default: return kern::le(1, a, b);
    }
}

// `result` of reference() or of the evaluator, or the error either raised.
template <class F>
std::string outcome(F f) {
    try {
        return bits(f());
    } catch (const std::runtime_error& e) {
        return e.what();
    }
}

class FastPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        scopeClearAll();
        scopeOpenFunctionFrame();
    }
    void TearDown() override {
        setCompareTolerance(0.0);
        scopeClearAll();
    }
    static Complex run(Node* tree) {
        tree->line = 1;
        prepareTree(tree);
        NContext ctx;
        NRefPtr v = evaluate(ctx, tree);
        return asNum(v)->data[0];
    }
    static void set(const char* name, Complex z) { scopeDeclare(name, true)->rebind(makeNum(z).get()); }
};

TEST_F(FastPathTest, ScalarOperationsMatchTheGeneralKernels) {
    const std::vector<Complex> values = sampleValues();
    int checked = 0;
    for (double eps : {0.0, 1e-9}) {
        setCompareTolerance(eps);
        for (std::int32_t kind : {OP_DIV, OP_LDIV, OP_MOD, OP_ADD, OP_SUB, OP_MUL, OP_EQ, OP_NE, OP_GT, OP_GE, OP_LT, OP_LE}) {
            for (Complex a : values) {
                for (Complex b : values) {
                    std::string want = outcome([&] { return reference(kind, a, b); });
                    // Literal operands, and the same values held by variables.
                    Node* literals = node_binary(kind, node_number(a.re, a.im), node_number(b.re, b.im));
                    set("a", a);
                    set("b", b);
                    Node* variables = node_binary(kind, ident("a"), ident("b"));
                    std::string byLiterals = outcome([&] { return run(literals); });
                    std::string byVariables = outcome([&] { return run(variables); });
                    node_free(literals);
                    node_free(variables);
                    ASSERT_EQ(byLiterals, want) << "kind " << kind << " (" << a.re << ", " << a.im << ") (" << b.re
                                                << ", " << b.im << ") eps " << eps;
                    ASSERT_EQ(byVariables, want) << "kind " << kind;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 10000);
}

}  // namespace
