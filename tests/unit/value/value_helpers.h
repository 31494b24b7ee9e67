// Small builders shared by the value tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "value/value.h"

// A real matrix from its rows.
inline NRefPtr realMatrix(std::initializer_list<std::initializer_list<double>> rows) {
    std::int32_t r = static_cast<std::int32_t>(rows.size());
    std::int32_t c = r ? static_cast<std::int32_t>(rows.begin()->size()) : 0;
    NNum* m = new NNum(c, r);
    std::size_t i = 0;
    for (auto& row : rows)
        for (double x : row) m->data[i++] = {x, 0.0};
    return NRefPtr(m);
}

inline NNum& num(const NRefPtr& v) {
    NNum* m = asNum(v);
    if (!m) throw std::logic_error("not a number");
    return *m;
}

// The real parts in storage order.
inline std::vector<double> reals(const NRefPtr& v) {
    std::vector<double> out;
    for (std::size_t i = 0; i < num(v).count(); ++i) out.push_back(num(v).data[i].re);
    return out;
}

// The message of the run-time error that f raises, or "" when none.
template <class F>
std::string errorOf(F f) {
    try {
        f();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

#define EXPECT_SHAPE(v, r, c)         \
    do {                              \
        EXPECT_EQ(num(v).rows, (r));  \
        EXPECT_EQ(num(v).cols, (c));  \
    } while (0)
