#include "graphics/camera.h"

#include <GL/gl.h>

#include <cmath>

GCamera::~GCamera() = default;

void GCamera::resize(double w, double h) {
    glViewport(0, 0, static_cast<GLsizei>(w), static_cast<GLsizei>(h));
    setSize(w, h);
}

double niceStep(double a, double b) {
    double r = std::fabs(b - a);
    if (!(r > 0) || !std::isfinite(r)) return 0;
    double s = b - a < 0 ? -1.0 : 1.0;
    double p = 0;
    for (int k = 0; k <= 304 && p == 0; ++k) {
        double t = std::pow(10.0, -k);
        if (r / t >= 1 && r / t <= 10) p = t;
    }
    for (int k = 0; k <= 304 && p == 0; ++k) {
        double t = std::pow(10.0, k);
        if (r / t >= 1 && r / t <= 10) p = t;
    }
    if (p == 0) return 0;
    double q = r / p;
    if (q <= 1.5) return 0.1 * p * s;
    if (q <= 4) return 0.2 * p * s;
    return p * s;
}

std::vector<double> gridLines(double lo, double hi, double step, int maxLines) {
    std::vector<double> lines;
    if (!(step > 0) || !(lo <= hi)) return lines;
    double slack = step * 1e-6;
    double first = std::ceil((lo - slack) / step), last = std::floor((hi + slack) / step);
    if (!std::isfinite(first) || !std::isfinite(last)) return lines;
    // Counted, not stepped to last: far from zero, first + 1 may equal first.
    double count = last - first + 1;
    for (int i = 0; i < maxLines && i < count; ++i)
        lines.push_back(std::fmin(std::fmax((first + i) * step, lo), hi));
    return lines;
}

double wrapDegrees(double v) {
    // Any angle, however far below zero, lands in [0, 360).
    v = std::fmod(v, 360.0);
    if (v < 0) v += 360.0;
    if (v >= 360.0) v = 0.0;
    return v;
}
