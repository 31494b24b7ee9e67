// The 3D camera: a perspective view orbiting a centre point.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>

#include "graphics/camera.h"
#include "graphics/label.h"

namespace {
void drawArrow(Vec3 to, double head) {
    auto s = arrowSegments({0, 0, 0}, to, head, 1);
    glBegin(GL_LINES);
    for (const Vec3& v : s) glVertex3d(v.x, v.y, v.z);
    glEnd();
}

std::string numberLabel(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}
}  // namespace

void GCam3D::updateVectors() {
    double A = a * M_PI / 180, B = b * M_PI / 180;
    double cA = std::cos(A), sA = std::sin(A), cB = std::cos(B), sB = std::sin(B);
    // The columns of Ry(A) * Rx(B).
    right = {cA, 0, -sA};
    up = {sA * sB, cB, cA * sB};
    Vec3 back{sA * cB, -sB, cA * cB};
    eye = {centre.x + 4 * d * back.x, centre.y + 4 * d * back.y, centre.z + 4 * d * back.z};
    Vec3 f{centre.x - eye.x, centre.y - eye.y, centre.z - eye.z};
    double len = std::sqrt(f.x * f.x + f.y * f.y + f.z * f.z);
    forward = len > 0 ? Vec3{f.x / len, f.y / len, f.z / len} : Vec3{-back.x, -back.y, -back.z};
}

void GCam3D::apply() {
    glMatrixMode(GL_PROJECTION);
    gluPerspective(fov, width / height, nearClip, farClip);
    updateVectors();
    glMatrixMode(GL_MODELVIEW);
    gluLookAt(eye.x, eye.y, eye.z, eye.x + forward.x, eye.y + forward.y, eye.z + forward.z, up.x, up.y, up.z);
}

void GCam3D::reset() {
    a = b = 0;
    centre = {0, 0, 0};
    d = 1.0;
    updateVectors();
}

void GCam3D::dragStart(int x, int y, int mode) {
    dragMode = mode;
    lastX = x;
    lastY = y;
}

void GCam3D::dragEnd() {
    dragMode = 0;
    updateVectors();
}

bool GCam3D::drag(int x, int y) {
    if (dragMode == 0) return false;
    int dx = x - lastX, dy = y - lastY;
    switch (dragMode) {
    case MM_ROTATE:
        a = wrapDegrees(a + dx);
        b = wrapDegrees(b + dy);
        break;
    case MM_TRANSLATE: {
        double tx = dx * 0.005 * d, ty = dy * 0.005 * d;
        centre.x += -right.x * tx + up.x * ty;
        centre.y += -right.y * tx + up.y * ty;
        centre.z += -right.z * tx + up.z * ty;
        break;
    }
    case MM_DOLLY: {
        double t = dy * 0.005 * d;
        centre.x -= forward.x * t;
        centre.y -= forward.y * t;
        centre.z -= forward.z * t;
        break;
    }
    case MM_SCALE:
        if (dy < 0) d *= 0.9;
        else if (dy > 0) d *= 1.1;
        break;
    default:
        break;
    }
    lastX = x;
    lastY = y;
    updateVectors();
    return true;
}

void GCam3D::drawDecorations(GLLabel& label, double gridX, double) {
    double g = gridX > 0 && std::isfinite(gridX) ? gridX : 1.0;
    double far = 50 * g;
    // Lines parallel to the z axis, then to the x axis; the first unit of the
    // positive axis itself is left for the axis arrow.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = -50; i <= 50; ++i) {
            float grey = i % 10 == 0 ? 0.5f : 0.3f;
            glColor3f(grey, grey, grey);
            double at = i * g;
            auto vertex = [&](double along) {
                if (pass == 0) glVertex3d(at, 0.0, along);
                else glVertex3d(along, 0.0, at);
            };
            glBegin(GL_LINES);
            if (i == 0) {
                vertex(-far);
                vertex(0.0);
                vertex(g);
                vertex(far);
            } else {
                vertex(-far);
                vertex(far);
            }
            glEnd();
            if (i % 5 == 0 && (pass == 0 || i != 0)) {
                glColor3f(0.5f, 0.5f, 0.5f);
                if (pass == 0) label.drawText(at, 0.0, 0.0, numberLabel(at));
                else label.drawText(0.0, 0.0, at, numberLabel(at));
            }
        }
    }
    double head = 0.05 * g;
    glColor3f(1, 0, 0);
    drawArrow({g, 0, 0}, head);
    glColor3f(0, 1, 0);
    drawArrow({0, g, 0}, head);
    glColor3f(0, 0, 1);
    drawArrow({0, 0, g}, head);
}
