// Drawing of the display-list commands (window thread, inside a frame).
#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cmath>
#include <deque>

#include "graphics/commands.h"
#include "graphics/gwindow.h"

namespace {
// In 2D every vertex goes out with z = 1, so that a 3x3 transform acts on
// the plane as a homogeneous 2D transform.
void vertex(double x, double y, double z, int viewMode) { glVertex3d(x, y, viewMode == 0 ? 1.0 : z); }

// A self-crossing outline makes new vertices where edges cross; they live
// until the polygon is finished.
void combine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data) {
    auto* extra = static_cast<std::deque<std::array<double, 3>>*>(data);
    extra->push_back({coords[0], coords[1], coords[2]});
    *out = extra->back().data();
}

void tessellate(std::vector<Vec4>& v) {
    GLUtesselator* tess = gluNewTess();
    if (!tess) return;
    std::deque<std::array<double, 3>> extra;
    using Callback = void (*)();
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(&combine));
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<Callback>(&glBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<Callback>(&glVertex3dv));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<Callback>(&glEnd));
    gluTessBeginPolygon(tess, &extra);
    gluTessBeginContour(tess);
    // Vec4 starts with x, y, z: the three doubles glVertex3dv reads.
    for (Vec4& p : v) gluTessVertex(tess, &p.x, &p.x);
    gluTessEndContour(tess);
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
}

void drawFilled(std::vector<Vec4>& v, bool nonConvex) {
    if (v.size() > 3 && nonConvex) {
        tessellate(v);
        return;
    }
    glBegin(GL_POLYGON);
    for (const Vec4& p : v) glVertex3d(p.x, p.y, p.z);
    glEnd();
}
}  // namespace

unsigned short stipplePattern(int index) {
    static const unsigned short patterns[5] = {0xFFFF, 0xCCCC, 0xAAAA, 0x183F, 0x333F};
    int i = index % 5;
    return patterns[i < 0 ? i + 5 : i];
}

void GCLine::draw(int viewMode) {
    glBegin(GL_LINES);
    segmentVertices(viewMode);
    glEnd();
}

void GCLine::segmentVertices(int viewMode) const {
    vertex(x1, y1, z1, viewMode);
    vertex(x2, y2, z2, viewMode);
}

void GCPoint::draw(int viewMode) {
    glBegin(GL_POINTS);
    vertex(x, y, z, viewMode);
    glEnd();
}

void GCArrow::draw(int viewMode) {
    auto s = arrowSegments({from.x, from.y, from.z}, {to.x, to.y, to.z}, size, viewMode);
    glBegin(GL_LINES);
    for (const Vec3& p : s) glVertex3d(p.x, p.y, p.z);
    glEnd();
}

GCPoly::GCPoly(std::vector<Vec4> v) : vertices(std::move(v)), flat(vertices) {
    for (Vec4& p : flat) p.z = 1.0;
    // The tessellator's arithmetic is only trusted on finite, moderate
    // coordinates; other outlines go to GL as they are, which clips them.
    bool tame = true;
    for (const Vec4& p : vertices)
        for (double c : {p.x, p.y, p.z}) tame = tame && std::fabs(c) < 1e150;
    nonConvex = tame && isNonConvex(vertices);
}

void GCPoly::draw(int viewMode) {
    if (viewMode == 2) {
        // Lit: both sides, each drawn with its own normal; culling keeps the
        // side that faces away from being lit wrongly.
        glEnable(GL_LIGHTING);
        glEnable(GL_CULL_FACE);
        // A scaling transform must not change the shade either.
        glEnable(GL_NORMALIZE);
        Vec3 n = faceNormal(vertices);
        glNormal3d(n.x, n.y, n.z);
        drawFilled(vertices, nonConvex);
        std::vector<Vec4> reversed(vertices.rbegin(), vertices.rend());
        glNormal3d(-n.x, -n.y, -n.z);
        drawFilled(reversed, nonConvex);
        glDisable(GL_NORMALIZE);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        return;
    }
    drawFilled(viewMode == 0 ? flat : vertices, nonConvex);
}

void GCPline::draw(int viewMode) {
    glBegin(GL_LINE_LOOP);
    for (const Vec4& p : vertices) vertex(p.x, p.y, p.z, viewMode);
    glEnd();
}

void GCLabel::draw(int viewMode) {
    if (owner) owner->label().drawText(x, y, viewMode == 0 ? 1.0 : z, text);
}

void GCColor::draw(int) {
    glColor3f(r, g, b);
    const GLfloat diffuse[4] = {r, g, b, a};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    if (owner) owner->setCurrentColour(r, g, b);
}

void GCLineStyle::draw(int) {
    glLineStipple(1, stipplePattern(pattern));
    glLineWidth(static_cast<GLfloat>(width));
}

void GCPointStyle::draw(int) { glPointSize(static_cast<GLfloat>(size)); }

void GCFont::draw(int) {
    if (owner) owner->label().setFont(face, size);
}

void GCMatrix::draw(int) {
    if (!owner) return;
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(owner->baseModelView().data());
    glMultMatrixd(m.data());
}
