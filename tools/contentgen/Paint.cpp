// Coverage rasterisation: distance-based strokes and discs, scanline polygons.
#include "tools/contentgen/Paint.h"

#include <algorithm>
#include <cmath>

namespace contentgen {
namespace {

constexpr int kSubRows = 4;

float segmentDistance(Pt p, Pt a, Pt b) {
  Pt ab = b - a, ap = p - a;
  float len2 = ab.x * ab.x + ab.y * ab.y;
  float t = len2 > 0.0f ? std::clamp((ap.x * ab.x + ap.y * ab.y) / len2, 0.0f, 1.0f) : 0.0f;
  Pt q = a + ab * t;
  return std::hypot(p.x - q.x, p.y - q.y);
}

// Adds the horizontal coverage of the span [x0, x1) to a row of accumulators, weight w.
void addSpan(std::vector<float>& row, float x0, float x1, float w) {
  int width = int(row.size());
  x0 = std::clamp(x0, 0.0f, float(width));
  x1 = std::clamp(x1, 0.0f, float(width));
  if (x1 <= x0) return;
  int i0 = int(x0), i1 = int(x1);
  if (i0 == i1) {
    row[std::size_t(i0)] += (x1 - x0) * w;
    return;
  }
  row[std::size_t(i0)] += (float(i0 + 1) - x0) * w;
  for (int i = i0 + 1; i < i1; ++i) row[std::size_t(i)] += w;
  if (i1 < width) row[std::size_t(i1)] += (x1 - float(i1)) * w;
}

}  // namespace

Pt lerp(Pt a, Pt b, float t) { return a + (b - a) * t; }

void fillDisc(Mask& mask, Pt c, float r) { fillEllipse(mask, c, r, r, 0.0f); }

void fillEllipse(Mask& mask, Pt c, float rx, float ry, float angle) {
  float reach = std::max(rx, ry) + 1.0f;
  int x0 = std::max(0, int(c.x - reach)), x1 = std::min(mask.width() - 1, int(c.x + reach));
  int y0 = std::max(0, int(c.y - reach)), y1 = std::min(mask.height() - 1, int(c.y + reach));
  float cs = std::cos(angle), sn = std::sin(angle);
  float minR = std::max(std::min(rx, ry), 0.5f);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      float dx = float(x) + 0.5f - c.x, dy = float(y) + 0.5f - c.y;
      float u = (dx * cs + dy * sn) / rx, v = (-dx * sn + dy * cs) / ry;
      // Signed distance approximated by the normalised radius times the smaller semi-axis.
      float d = (std::sqrt(u * u + v * v) - 1.0f) * minR;
      mask.cover(x, y, clamp01(0.5f - d));
    }
  }
}

void strokeSegment(Mask& mask, Pt a, Pt b, float width) {
  float h = width * 0.5f;
  int x0 = std::max(0, int(std::min(a.x, b.x) - h - 1)), x1 = std::min(mask.width() - 1, int(std::max(a.x, b.x) + h + 1));
  int y0 = std::max(0, int(std::min(a.y, b.y) - h - 1)), y1 = std::min(mask.height() - 1, int(std::max(a.y, b.y) + h + 1));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      float d = segmentDistance({float(x) + 0.5f, float(y) + 0.5f}, a, b);
      mask.cover(x, y, clamp01(h - d + 0.5f));
    }
  }
}

void strokePath(Mask& mask, const std::vector<Pt>& points, float width, bool closed) {
  for (std::size_t i = 0; i + 1 < points.size(); ++i) strokeSegment(mask, points[i], points[i + 1], width);
  if (closed && points.size() > 2) strokeSegment(mask, points.back(), points.front(), width);
}

void fillPolygon(Mask& mask, const std::vector<Pt>& points) {
  if (points.size() < 3) return;
  float top = points[0].y, bottom = points[0].y;
  for (const Pt& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  int y0 = std::max(0, int(std::floor(top))), y1 = std::min(mask.height() - 1, int(std::ceil(bottom)));
  std::vector<float> row(std::size_t(mask.width()));
  std::vector<float> crossings;
  for (int y = y0; y <= y1; ++y) {
    std::fill(row.begin(), row.end(), 0.0f);
    for (int s = 0; s < kSubRows; ++s) {
      float sy = float(y) + (float(s) + 0.5f) / kSubRows;
      crossings.clear();
      for (std::size_t i = 0; i < points.size(); ++i) {
        Pt a = points[i], b = points[(i + 1) % points.size()];
        if ((a.y <= sy) == (b.y <= sy)) continue;
        crossings.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
      }
      std::sort(crossings.begin(), crossings.end());
      for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) addSpan(row, crossings[i], crossings[i + 1], 1.0f / kSubRows);
    }
    for (int x = 0; x < mask.width(); ++x) {
      if (row[std::size_t(x)] > 0.0f) mask.cover(x, y, clamp01(row[std::size_t(x)]));
    }
  }
}

std::vector<Pt> closedCurve(const std::function<Pt(float)>& curve, int n) {
  std::vector<Pt> out;
  for (int i = 0; i < n; ++i) out.push_back(curve(float(i) / float(n)));
  return out;
}

std::vector<Pt> openCurve(const std::function<Pt(float)>& curve, int n) {
  std::vector<Pt> out;
  for (int i = 0; i <= n; ++i) out.push_back(curve(float(i) / float(n)));
  return out;
}

std::vector<Pt> mapped(const Frame& frame, const std::vector<Pt>& units) {
  std::vector<Pt> out;
  out.reserve(units.size());
  for (const Pt& u : units) out.push_back(frame(u));
  return out;
}

std::vector<Pt> bezier(Pt a, Pt c, Pt b, int n) {
  return openCurve([&](float t) { return lerp(lerp(a, c, t), lerp(c, b, t), t); }, n);
}

namespace {

Pt catmullRom(Pt p0, Pt p1, Pt p2, Pt p3, float t) {
  float t2 = t * t, t3 = t2 * t;
  auto axis = [&](float a, float b, float c, float d) {
    return 0.5f * (2.0f * b + (c - a) * t + (2.0f * a - 5.0f * b + 4.0f * c - d) * t2 + (3.0f * b - a - 3.0f * c + d) * t3);
  };
  return {axis(p0.x, p1.x, p2.x, p3.x), axis(p0.y, p1.y, p2.y, p3.y)};
}

}  // namespace

std::vector<Pt> smoothClosed(const std::vector<Pt>& c, int perSegment) {
  std::vector<Pt> out;
  const std::size_t n = c.size();
  for (std::size_t i = 0; i < n; ++i) {
    for (int s = 0; s < perSegment; ++s) {
      out.push_back(catmullRom(c[(i + n - 1) % n], c[i], c[(i + 1) % n], c[(i + 2) % n], float(s) / float(perSegment)));
    }
  }
  return out;
}

std::vector<Pt> smoothOpen(const std::vector<Pt>& c, int perSegment) {
  std::vector<Pt> out;
  const std::size_t n = c.size();
  if (n < 2) return c;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    Pt p0 = i == 0 ? c[0] * 2.0f - c[1] : c[i - 1];
    Pt p3 = i + 2 < n ? c[i + 2] : c[n - 1] * 2.0f - c[n - 2];
    for (int s = 0; s < perSegment; ++s) out.push_back(catmullRom(p0, c[i], c[i + 1], p3, float(s) / float(perSegment)));
  }
  out.push_back(c.back());
  return out;
}

std::vector<Pt> tube(const std::vector<Pt>& centre, const std::function<float(float)>& width) {
  std::vector<Pt> left, right;
  const std::size_t n = centre.size();
  for (std::size_t i = 0; i < n; ++i) {
    Pt a = centre[i == 0 ? 0 : i - 1], b = centre[i + 1 < n ? i + 1 : n - 1];
    Pt d = b - a;
    float len = std::max(std::hypot(d.x, d.y), 1e-6f);
    Pt normal{-d.y / len, d.x / len};
    float h = 0.5f * width(n > 1 ? float(i) / float(n - 1) : 0.0f);
    left.push_back(centre[i] + normal * h);
    right.push_back(centre[i] - normal * h);
  }
  left.insert(left.end(), right.rbegin(), right.rend());
  return left;
}

}  // namespace contentgen
