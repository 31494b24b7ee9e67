// Small builders shared by the value tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "value/value.h"

using Reals = std::vector<double>;

// A real matrix from its rows.
inline NRefPtr realMatrix(std::initializer_list<std::initializer_list<double>> rows) {
    std::int32_t r = static_cast<std::int32_t>(rows.size());
    NNum* m = new NNum(r ? static_cast<std::int32_t>(rows.begin()->size()) : 0, r);
    std::size_t i = 0;
    for (auto& row : rows)
        for (double x : row) m->data[i++] = {x, 0.0};
    return NRefPtr(m);
}

inline NNum& num(const NRefPtr& v) {
    if (!asNum(v)) throw std::logic_error("not a number");
    return *asNum(v);
}

// The real parts in storage order, preceded by the shape (rows, cols).
inline Reals shaped(const NRefPtr& v) {
    Reals out{static_cast<double>(num(v).rows), static_cast<double>(num(v).cols)};
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
