// Antialiased vector shapes rasterised into a coverage Mask (union: a pixel keeps its largest
// coverage): discs, ellipses, strokes along polylines and filled polygons. Coordinates are pixels,
// (0, 0) the top-left corner of the top-left pixel.
#pragma once

#include <functional>
#include <vector>

#include "tools/contentgen/Image.h"

namespace contentgen {

struct Pt {
  float x = 0, y = 0;
  Pt operator+(Pt o) const { return {x + o.x, y + o.y}; }
  Pt operator-(Pt o) const { return {x - o.x, y - o.y}; }
  Pt operator*(float s) const { return {x * s, y * s}; }
};

Pt lerp(Pt a, Pt b, float t);

// Maps drawing units (x right, y up, the unit square [-1, 1]²) to pixels: centre and pixels per unit.
struct Frame {
  Pt centre;
  float scale = 1;
  Pt operator()(float ux, float uy) const { return {centre.x + ux * scale, centre.y - uy * scale}; }
  Pt operator()(Pt u) const { return (*this)(u.x, u.y); }
  float px(float units) const { return units * scale; }
};

void fillDisc(Mask& mask, Pt centre, float radius);
void fillEllipse(Mask& mask, Pt centre, float rx, float ry, float angle);
void strokeSegment(Mask& mask, Pt a, Pt b, float width);
void strokePath(Mask& mask, const std::vector<Pt>& points, float width, bool closed);
// Even-odd fill with 4 × 4 sub-row coverage.
void fillPolygon(Mask& mask, const std::vector<Pt>& points);

// n points of a closed parametric curve, t running over [0, 1).
std::vector<Pt> closedCurve(const std::function<Pt(float)>& curve, int n);
// n + 1 points of an open curve, t running over [0, 1].
std::vector<Pt> openCurve(const std::function<Pt(float)>& curve, int n);
// Points mapped through a frame.
std::vector<Pt> mapped(const Frame& frame, const std::vector<Pt>& units);
// A quadratic Bézier from a through control c to b, n + 1 points.
std::vector<Pt> bezier(Pt a, Pt c, Pt b, int n);
// Catmull-Rom curves through control points, `perSegment` points between two controls.
std::vector<Pt> smoothClosed(const std::vector<Pt>& controls, int perSegment);
std::vector<Pt> smoothOpen(const std::vector<Pt>& controls, int perSegment);
// The outline of a tube of varying width around an open centre line: width(t) for t in [0, 1]
// along the line; the result is a closed polygon for fillPolygon.
std::vector<Pt> tube(const std::vector<Pt>& centre, const std::function<float(float)>& width);

}  // namespace contentgen
