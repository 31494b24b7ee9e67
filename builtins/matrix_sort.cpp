// sortv and sorth: ascending by real part, with an unstable sort.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

#include "builtins/matrix.h"
#include "value/convert.h"
#include "value/raise.h"

namespace {

// NaN keys sort after every number: the sort needs a strict weak order, and
// a plain < with NaN would let it run outside the range.
bool keyLess(double a, double b) { return !std::isnan(a) && (std::isnan(b) || a < b); }

// Sorts each line of real parts; a line is `count` elements `stride` apart,
// lines start `step` apart.
NRefPtr sortLinesReal(const NNum& a, std::int32_t lines, std::int32_t count, std::size_t step, std::size_t stride) {
    NRefPtr out(new NNum(a.cols, a.rows, NNum::Uninit{}));
    NNum* m = static_cast<NNum*>(out.get());
    std::vector<double> keys(static_cast<std::size_t>(count));
    for (std::int32_t l = 0; l < lines; ++l) {
        std::size_t base = static_cast<std::size_t>(l) * step;
        for (std::int32_t i = 0; i < count; ++i) keys[i] = a.data[base + i * stride].re;
        std::sort(keys.begin(), keys.end(), keyLess);
        for (std::int32_t i = 0; i < count; ++i) m->data[base + i * stride] = {keys[i], 0.0};
    }
    return out;
}

// The order in which whole lines move so that the keys ascend.
std::vector<std::int32_t> orderByKeys(const std::vector<double>& keys) {
    std::vector<std::int32_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::int32_t x, std::int32_t y) { return keyLess(keys[x], keys[y]); });
    return order;
}

}  // namespace

QUARN_BUILTIN(bi_sortv) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in sortv()");
    if (args.size() < 2) {
        result = sortLinesReal(*a, a->cols, a->rows, 1, static_cast<std::size_t>(a->cols));
        return;
    }
    std::int32_t k = toInteger(line, args[1]);
    if (k < 0 || k >= a->cols) raiseError(line, "Bad argument in sortv()");
    std::vector<double> keys(static_cast<std::size_t>(a->rows));
    for (std::int32_t r = 0; r < a->rows; ++r) keys[r] = a->at(r, k).re;
    std::vector<std::int32_t> order = orderByKeys(keys);
    NRefPtr out(new NNum(a->cols, a->rows, NNum::Uninit{}));
    NNum* m = static_cast<NNum*>(out.get());
    for (std::int32_t r = 0; r < a->rows; ++r)
        for (std::int32_t c = 0; c < a->cols; ++c) m->at(r, c) = a->at(order[r], c);
    result = out;
}

QUARN_BUILTIN(bi_sorth) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in sorth()");
    if (args.size() < 2) {
        result = sortLinesReal(*a, a->rows, a->cols, static_cast<std::size_t>(a->cols), 1);
        return;
    }
    std::int32_t k = toInteger(line, args[1]);
    if (k < 0 || k >= a->rows) raiseError(line, "Bad argument in sorth()");
    std::vector<double> keys(static_cast<std::size_t>(a->cols));
    for (std::int32_t c = 0; c < a->cols; ++c) keys[c] = a->at(k, c).re;
    std::vector<std::int32_t> order = orderByKeys(keys);
    NRefPtr out(new NNum(a->cols, a->rows, NNum::Uninit{}));
    NNum* m = static_cast<NNum*>(out.get());
    for (std::int32_t r = 0; r < a->rows; ++r)
        for (std::int32_t c = 0; c < a->cols; ++c) m->at(r, c) = a->at(r, order[c]);
    result = out;
}
