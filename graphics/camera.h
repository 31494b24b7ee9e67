// Cameras: the projection and view of each frame, the grid and axes drawn
// behind the display list, and the view changes of left-button drags.
#pragma once

#include <vector>

#include "graphics/commands.h"

class GLLabel;

// Left-drag modes.
enum MouseMode { MM_ROTATE = 1, MM_TRANSLATE = 2, MM_DOLLY = 3, MM_SCALE = 4, MM_STRETCH = 5 };

class GCamera {
public:
    double width = 640, height = 480;

    virtual ~GCamera();
    // Sets the GL viewport (needs a current context) and stores the size.
    virtual void resize(double w, double h);
    virtual void apply() = 0;
    virtual void reset() = 0;
    virtual void drawDecorations(GLLabel& label, double gridX, double gridY) = 0;
    virtual void dragStart(int x, int y, int mode) = 0;
    virtual bool drag(int x, int y) = 0;
    virtual void dragEnd() = 0;

    // The size alone, for use without a GL context.
    void setSize(double w, double h) {
        width = w;
        height = h;
    }
};

class GCam2D final : public GCamera {
public:
    int dragMode = 0, lastX = 0, lastY = 0;
    double sx = 1, sy = 1, cx = 0, cy = 0;

    void apply() override;
    void reset() override;
    void drawDecorations(GLLabel& label, double gridX, double gridY) override;
    void dragStart(int x, int y, int mode) override;
    bool drag(int x, int y) override;
    void dragEnd() override;

    bool setWindow(double x1, double x2, double y1, double y2);
    void screenToWorld(double px, double py, double& wx, double& wy) const;
    // The column-major projection that apply loads.
    void projection(double m[16]) const;
    // The visible region.
    double xMin() const { return cx - sx * (width / height); }
    double xMax() const { return cx + sx * (width / height); }
    double yMin() const { return cy - sy; }
    double yMax() const { return cy + sy; }

private:
    void drawGridLabels(GLLabel& label, const std::vector<double>& xs, const std::vector<double>& ys, double gx,
                        double gy);
};

class GCam3D final : public GCamera {
public:
    int dragMode = 0, lastX = 0, lastY = 0;
    double a = 0, b = 0;  // view angles in degrees, in [0, 360)
    Vec3 centre{0, 0, 0};
    double fov = 34.71, nearClip = 0.001, farClip = 1000.0;
    double d = 1.0;  // distance factor
    Vec3 right{1, 0, 0}, up{0, 1, 0}, forward{0, 0, -1}, eye{0, 0, 4};

    GCam3D() { updateVectors(); }
    void apply() override;
    void reset() override;
    void drawDecorations(GLLabel& label, double gridX, double gridY) override;
    void dragStart(int x, int y, int mode) override;
    bool drag(int x, int y) override;
    void dragEnd() override;

    void setClip(double nearDistance, double farDistance) {
        nearClip = nearDistance;
        farClip = farDistance;
    }
    void updateVectors();
};

// A grid step of a tenth, a fifth or one power of ten that suits a..b
// (signed like b - a); 0 for an empty or unmeasurable range.
double niceStep(double a, double b);
// The multiples of step (> 0) in lo..hi, at most maxLines of them. A multiple
// that rounding puts a hair outside the range (a millionth of a step) counts
// as inside and is moved onto its edge, so that lines on the edges are kept.
std::vector<double> gridLines(double lo, double hi, double step, int maxLines);
// Brings an angle in degrees into [0, 360).
double wrapDegrees(double v);
