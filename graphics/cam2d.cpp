// The 2D camera: an orthographic view of the plane that pans and zooms.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/camera.h"
#include "graphics/label.h"

namespace {
// More lines than this in one direction would only make a grey wash (and a
// tiny grid step would take forever); the automatic step is used instead.
constexpr double kMaxGridLines = 1000;

std::string numberLabel(double v, double step) {
    if (std::fabs(v) < std::fabs(step) / 2) v = 0;
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

double usableStep(double requested, double lo, double hi) {
    double step = requested;
    if (!(step > 0) || !std::isfinite(step) || (hi - lo) / step > kMaxGridLines) step = niceStep(lo, hi);
    return std::fabs(step);
}
}  // namespace

void GCam2D::projection(double m[16]) const {
    for (int i = 0; i < 16; ++i) m[i] = 0;
    double aspect = height / width;
    m[0] = aspect / sx;
    m[5] = 1.0 / sy;
    m[10] = 1.0;
    m[12] = -cx * aspect / sx;
    m[13] = -cy / sy;
    m[15] = 1.0;
}

void GCam2D::apply() {
    double m[16];
    projection(m);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(m);
    glMatrixMode(GL_MODELVIEW);
}

void GCam2D::reset() {
    sx = sy = 1;
    cx = cy = 0;
}

bool GCam2D::setWindow(double x1, double x2, double y1, double y2) {
    if (x1 == x2 || y1 == y2) return false;
    sx = (x2 - x1) / 2;
    cx = (x1 + x2) / 2;
    sy = (y2 - y1) / 2;
    cy = (y1 + y2) / 2;
    return true;
}

void GCam2D::screenToWorld(double px, double py, double& wx, double& wy) const {
    wx = (2 * px / width - 1) * (width / height) * sx + cx;
    wy = (2 * (height - py) / height - 1) * sy + cy;
}

void GCam2D::dragStart(int x, int y, int mode) {
    dragMode = mode;
    lastX = x;
    lastY = y;
}

void GCam2D::dragEnd() { dragMode = 0; }

bool GCam2D::drag(int x, int y) {
    if (dragMode == 0) return false;
    int dx = x - lastX, dy = y - lastY;
    switch (dragMode) {
    case MM_TRANSLATE:
        cx -= dx * 0.005 * sx;
        cy += dy * 0.005 * sy;
        break;
    case MM_SCALE:
        if (dy < 0) {
            sx *= 0.95;
            sy *= 0.95;
        } else if (dy > 0) {
            sx *= 1.05;
            sy *= 1.05;
        }
        break;
    case MM_STRETCH:
        if (dx < 0 && sx < 1e30) sx *= 1.05;
        if (dx > 0 && sx > 1e-30) sx *= 0.95;
        if (dy < 0 && sy > 1e-30) sy *= 0.95;
        if (dy > 0 && sy < 1e30) sy *= 1.05;
        break;
    default:
        break;
    }
    lastX = x;
    lastY = y;
    return true;
}

void GCam2D::drawDecorations(GLLabel& label, double gridX, double gridY) {
    double x0 = std::fmin(xMin(), xMax()), x1 = std::fmax(xMin(), xMax());
    double y0 = std::fmin(yMin(), yMax()), y1 = std::fmax(yMin(), yMax());
    double gx = usableStep(gridX, x0, x1);
    double gy = usableStep(gridY, y0, y1);
    const int maxLines = static_cast<int>(kMaxGridLines) + 1;
    std::vector<double> xs = gx > 0 ? gridLines(x0, x1, gx, maxLines) : std::vector<double>();
    std::vector<double> ys = gy > 0 ? gridLines(y0, y1, gy, maxLines) : std::vector<double>();

    glColor3f(0.3f, 0.3f, 0.3f);
    glBegin(GL_LINES);
    for (double x : xs) {
        glVertex3d(x, y0, 1.0);
        glVertex3d(x, y1, 1.0);
    }
    for (double y : ys) {
        glVertex3d(x0, y, 1.0);
        glVertex3d(x1, y, 1.0);
    }
    glEnd();

    glColor3f(0.5f, 0.5f, 0.5f);
    drawGridLabels(label, xs, ys, gx, gy);

    glBegin(GL_LINES);
    glVertex3d(x0, 0.0, 1.0);
    glVertex3d(x1, 0.0, 1.0);
    glVertex3d(0.0, y0, 1.0);
    glVertex3d(0.0, y1, 1.0);
    glEnd();
}

// The x values sit along the bottom edge right of their lines, the y values
// along the left edge above theirs. A label that would leave the view goes to
// the other side of its line (at the right and top edges), and a y label that
// would cover the x label in the bottom-left corner moves up above it.
// Positions are in pixels from the bottom-left corner of the view.
void GCam2D::drawGridLabels(GLLabel& label, const std::vector<double>& xs, const std::vector<double>& ys, double gx,
                            double gy) {
    double x0 = std::fmin(xMin(), xMax()), x1 = std::fmax(xMin(), xMax());
    double y0 = std::fmin(yMin(), yMax()), y1 = std::fmax(yMin(), yMax());
    double pixelX = (x1 - x0) / width, pixelY = (y1 - y0) / height;
    // A text bitmap is the cell height + 2 tall, with its text 2 pixels right
    // of its corner.
    const double bitmapHeight = label.cellHeight() + 2;
    const double gap = 2;
    double cornerTextLeft = width;  // where the first x label's text starts
    for (double x : xs) {
        std::string text = numberLabel(x, gx);
        double textWidth = label.textWidth(text);
        double line = (x - x0) / pixelX;
        double corner = line + gap;
        if (corner + 2 + textWidth > width) corner = std::fmax(0.0, line - gap - textWidth - 2);
        if (x == xs.front()) cornerTextLeft = corner + 2;
        label.drawText(x0 + corner * pixelX, y0 + gap * pixelY, 1.0, text);
    }
    for (double y : ys) {
        std::string text = numberLabel(y, gy);
        double line = (y - y0) / pixelY;
        double corner = line + gap;
        if (corner + bitmapHeight > height) corner = std::fmax(0.0, line - gap - bitmapHeight);
        bool coversCornerLabel = corner < gap + bitmapHeight && cornerTextLeft < gap + 2 + label.textWidth(text);
        if (coversCornerLabel) corner = gap + bitmapHeight;
        label.drawText(x0 + gap * pixelX, y0 + corner * pixelY, 1.0, text);
    }
}
