// The associated Legendre function P(n, m) at x, by the upward recurrence in n.
#include <cmath>
#include <cstdint>

#include "builtins/math.h"
#include "value/convert.h"
#include "value/ops.h"
#include "value/raise.h"

namespace {

// The recurrence takes n steps; beyond this degree one element would run
// for seconds, so such a degree is refused.
constexpr double kMaxDegree = 16777216.0;

double legendre(int line, double x, double nReal, double mReal) {
    if (std::isnan(nReal) || std::isnan(mReal)) return NAN;
    double nt = std::trunc(nReal), mt = std::trunc(mReal);
    if (mt < 0 || mt > nt || std::fabs(x) > 1.0) return NAN;
    if (nt > kMaxDegree) raiseError(line, "Bad argument in legendre()");
    std::int64_t n = static_cast<std::int64_t>(nt);
    std::int64_t m = static_cast<std::int64_t>(mt);
    double pmm = 1.0;
    if (m > 0) {
        double s = std::sqrt((1.0 - x) * (1.0 + x));
        double f = 1.0;
        for (std::int64_t i = 0; i < m; ++i) {
            pmm = -pmm * f * s;
            f += 2.0;
        }
    }
    if (n == m) return pmm;
    double p1 = x * static_cast<double>(2 * m + 1) * pmm;
    if (n == m + 1) return p1;
    double p = 0.0;
    for (std::int64_t l = m + 2; l <= n; ++l) {
        p = (x * static_cast<double>(2 * l - 1) * p1 - static_cast<double>(l + m - 1) * pmm) /
            static_cast<double>(l - m);
        pmm = p1;
        p1 = p;
    }
    return p;
}

Complex k_legendre(int line, Complex x, Complex n, Complex m) {
    double xr = elementToReal(line, x);
    double nr = elementToReal(line, n);
    double mr = elementToReal(line, m);
    return {legendre(line, xr, nr, mr), 0.0};
}

}  // namespace

QUARN_BUILTIN(bi_legendre) {
    NRefPtr order = args.size() >= 3 ? args[2] : makeNum(0.0);
    result = op3(line, args[0], args[1], order, k_legendre);
}
