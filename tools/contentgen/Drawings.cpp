// The drawn subjects, built from smooth closed outlines (Catmull-Rom through a few control
// points), tubes along centre lines and strokes.
#include "tools/contentgen/Drawings.h"

#include <algorithm>
#include <cmath>

#include "tools/contentgen/Noise.h"

namespace contentgen {
namespace {

using Pts = std::vector<Pt>;

Pt unitVector(Pt d) {
  float len = std::max(std::hypot(d.x, d.y), 1e-6f);
  return {d.x / len, d.y / len};
}

// A filled body with its outline, from control points in drawing units.
void body(Ink& ink, const Frame& f, const Pts& controls, float line) {
  Pts px = mapped(f, smoothClosed(controls, 12));
  fillPolygon(ink.fill, px);
  strokePath(ink.outline, px, line, true);
}

// A vessel or duct: a tube from width w0 to w1 (drawing units) along a smooth centre line.
void vessel(Ink& ink, const Frame& f, const Pts& centre, float w0, float w1, float line) {
  Pts poly = tube(mapped(f, smoothOpen(centre, 10)), [&](float t) { return f.px(w0 + (w1 - w0) * t); });
  fillPolygon(ink.fill, poly);
  strokePath(ink.outline, poly, line, true);
}

void detailLine(Ink& ink, const Frame& f, const Pts& points, float width) {
  strokePath(ink.detail, mapped(f, smoothOpen(points, 8)), width, false);
}

// Keeps the inner strokes inside the bodies.
void clipDetail(Ink& ink) {
  for (int y = 0; y < ink.detail.height(); ++y) {
    for (int x = 0; x < ink.detail.width(); ++x) ink.detail.at(x, y) = std::min(ink.detail.at(x, y), ink.fill.at(x, y));
  }
}

// Puts `back` behind `front`: bodies merge, and the back layer's strokes are hidden where the
// front layer's bodies cover them.
void layerBehind(Ink& front, const Ink& back) {
  for (int y = 0; y < front.fill.height(); ++y) {
    for (int x = 0; x < front.fill.width(); ++x) {
      float hidden = 1.0f - front.fill.at(x, y);
      front.outline.cover(x, y, back.outline.at(x, y) * hidden);
      front.detail.cover(x, y, back.detail.at(x, y) * hidden);
      front.fill.cover(x, y, back.fill.at(x, y));
    }
  }
}

// A branching tree of strokes (bronchi, retinal vessels): each branch splits in two.
void branch(Ink& ink, const Frame& f, Pt from, float angle, float length, float width, int depth, Rng& rng) {
  Pt to = from + Pt{std::cos(angle), std::sin(angle)} * length;
  strokeSegment(ink.detail, f(from), f(to), std::max(width, 2.0f));
  if (depth == 0) return;
  float spread = 0.35f + 0.15f * rng.unit();
  branch(ink, f, to, angle + spread, length * 0.72f, width * 0.75f, depth - 1, rng);
  branch(ink, f, to, angle - spread, length * 0.72f, width * 0.75f, depth - 1, rng);
}

// A heart in front view: the body leaning with its apex to the lower right, the great vessels
// (vena cava, aortic arch with three branches, pulmonary trunk) behind it, grooves on its face.
void heart(Ink& ink, const Frame& f, float line) {
  Ink back(ink.fill.width(), ink.fill.height());
  for (float x : {0.03f, 0.15f, 0.27f}) vessel(back, f, {{x, 0.7f}, {x - 0.01f, 0.84f}, {x + 0.02f, 0.96f}}, 0.07f, 0.055f, line);
  vessel(back, f, {{-0.34f, 0.05f}, {-0.33f, 0.45f}, {-0.32f, 0.78f}}, 0.14f, 0.13f, line);
  Ink aorta(ink.fill.width(), ink.fill.height());
  vessel(aorta, f, {{-0.04f, 0.15f}, {-0.05f, 0.52f}, {0.08f, 0.74f}, {0.28f, 0.74f}, {0.4f, 0.55f}, {0.41f, 0.25f}}, 0.18f, 0.15f, line);
  layerBehind(aorta, back);
  Ink trunk(ink.fill.width(), ink.fill.height());
  vessel(trunk, f, {{0.16f, 0.2f}, {0.12f, 0.42f}, {-0.02f, 0.5f}, {-0.2f, 0.48f}}, 0.16f, 0.11f, line);
  layerBehind(trunk, aorta);
  body(ink, f, {{-0.16f, 0.3f}, {-0.4f, 0.26f}, {-0.53f, 0.02f}, {-0.46f, -0.28f}, {-0.22f, -0.5f}, {0.1f, -0.66f},
                {0.3f, -0.68f}, {0.49f, -0.4f}, {0.56f, -0.06f}, {0.47f, 0.2f}, {0.22f, 0.3f}, {0.02f, 0.27f}},
       line);
  float d = line * 0.8f;
  detailLine(ink, f, {{0.16f, 0.26f}, {0.15f, -0.05f}, {0.22f, -0.35f}, {0.3f, -0.6f}}, d);
  detailLine(ink, f, {{-0.22f, 0.26f}, {-0.3f, 0.02f}, {-0.22f, -0.25f}, {-0.02f, -0.45f}}, d);
  detailLine(ink, f, {{0.15f, -0.05f}, {0.3f, -0.12f}, {0.44f, -0.14f}}, d * 0.8f);
  detailLine(ink, f, {{0.19f, -0.28f}, {0.06f, -0.32f}, {-0.06f, -0.4f}}, d * 0.8f);
  detailLine(ink, f, {{-0.29f, -0.05f}, {-0.4f, -0.16f}}, d * 0.8f);
  layerBehind(ink, trunk);
}

void lungs(Ink& ink, const Frame& f, float line) {
  Pts right{{-0.13f, 0.42f}, {-0.3f, 0.6f}, {-0.52f, 0.45f}, {-0.68f, 0.0f}, {-0.76f, -0.48f},
            {-0.6f, -0.7f}, {-0.36f, -0.63f}, {-0.15f, -0.55f}, {-0.1f, -0.1f}};
  Pts left{{0.13f, 0.42f}, {0.3f, 0.6f}, {0.52f, 0.45f}, {0.68f, 0.0f}, {0.76f, -0.48f}, {0.6f, -0.7f},
           {0.36f, -0.63f}, {0.2f, -0.5f}, {0.27f, -0.28f}, {0.13f, -0.12f}};
  body(ink, f, right, line);
  body(ink, f, left, line);
  vessel(ink, f, {{0.0f, 0.92f}, {0.0f, 0.6f}, {0.0f, 0.32f}}, 0.14f, 0.13f, line);
  vessel(ink, f, {{0.0f, 0.34f}, {-0.14f, 0.22f}, {-0.26f, 0.12f}}, 0.1f, 0.08f, line);
  vessel(ink, f, {{0.0f, 0.34f}, {0.14f, 0.22f}, {0.26f, 0.12f}}, 0.1f, 0.08f, line);
  for (int i = 0; i < 7; ++i) {
    float y = 0.86f - 0.075f * float(i);
    strokeSegment(ink.outline, f(-0.06f, y), f(0.06f, y), line * 0.7f);
  }
  Rng rng(4711);
  branch(ink, f, {-0.26f, 0.12f}, -2.0f, 0.2f, line, 4, rng);
  branch(ink, f, {0.26f, 0.12f}, -1.14f, 0.2f, line, 4, rng);
  detailLine(ink, f, {{-0.7f, -0.15f}, {-0.45f, -0.05f}, {-0.2f, 0.05f}}, line * 0.8f);
  detailLine(ink, f, {{0.72f, -0.2f}, {0.5f, -0.02f}, {0.25f, 0.12f}}, line * 0.8f);
}

void kidney(Ink& ink, const Frame& f, float line) {
  Ink back(ink.fill.width(), ink.fill.height());
  vessel(back, f, {{-0.12f, -0.05f}, {-0.34f, -0.3f}, {-0.3f, -0.65f}, {-0.2f, -0.97f}}, 0.09f, 0.06f, line);
  vessel(back, f, {{-0.12f, 0.1f}, {-0.45f, 0.16f}, {-0.75f, 0.14f}}, 0.08f, 0.07f, line);
  body(back, f, {{-0.1f, 0.7f}, {0.12f, 0.86f}, {0.3f, 0.72f}, {0.1f, 0.64f}}, line);
  Pts bean{{0.0f, 0.7f}, {0.35f, 0.62f}, {0.52f, 0.2f}, {0.5f, -0.3f}, {0.3f, -0.68f},
           {-0.05f, -0.66f}, {-0.26f, -0.4f}, {-0.14f, -0.08f}, {-0.26f, 0.26f}, {-0.2f, 0.6f}};
  body(ink, f, bean, line);
  Pts inner;
  for (const Pt& p : bean) inner.push_back(Pt{0.12f, 0.0f} + (p - Pt{0.12f, 0.0f}) * 0.8f);
  strokePath(ink.detail, mapped(f, smoothClosed(inner, 12)), line * 0.7f, true);
  for (int i = 0; i < 6; ++i) {
    float a = -1.2f + 0.48f * float(i);
    Pt tip{0.12f + 0.34f * std::cos(a), 0.42f * std::sin(a)};
    detailLine(ink, f, {{-0.1f, 0.0f}, lerp({-0.1f, 0.0f}, tip, 0.5f) + Pt{0.0f, 0.03f}, tip}, line * 0.9f);
  }
  layerBehind(ink, back);
}

void brain(Ink& ink, const Frame& f, float line) {
  Ink back(ink.fill.width(), ink.fill.height());
  body(back, f, {{0.1f, -0.2f}, {0.2f, -0.22f}, {0.17f, -0.6f}, {0.13f, -0.9f}, {0.02f, -0.9f}, {0.0f, -0.6f}}, line);
  Ink cerebellum(ink.fill.width(), ink.fill.height());
  body(cerebellum, f, {{0.28f, -0.2f}, {0.62f, -0.2f}, {0.72f, -0.42f}, {0.5f, -0.6f}, {0.24f, -0.5f}}, line);
  for (int i = 1; i < 5; ++i) {
    float k = float(i) / 5.0f;
    detailLine(cerebellum, f, {{0.3f, -0.3f - 0.2f * k}, {0.5f, -0.28f - 0.22f * k}, {0.68f, -0.34f - 0.12f * k}}, line * 0.7f);
  }
  clipDetail(cerebellum);
  layerBehind(cerebellum, back);
  Pts cerebrum{{-0.75f, 0.05f}, {-0.7f, 0.4f}, {-0.4f, 0.68f}, {0.0f, 0.76f}, {0.4f, 0.66f}, {0.7f, 0.36f},
               {0.78f, 0.0f}, {0.6f, -0.2f}, {0.35f, -0.2f}, {0.1f, -0.3f}, {-0.2f, -0.42f}, {-0.45f, -0.36f},
               {-0.56f, -0.16f}, {-0.7f, -0.1f}};
  body(ink, f, cerebrum, line);
  detailLine(ink, f, {{-0.5f, -0.12f}, {-0.2f, 0.0f}, {0.1f, 0.06f}, {0.3f, 0.16f}}, line);
  detailLine(ink, f, {{0.06f, 0.74f}, {0.02f, 0.5f}, {-0.06f, 0.3f}, {-0.1f, 0.08f}}, line);
  // Gyri: wavy rings inside the outline, shrunk toward the middle and broken into arcs.
  const Pt middle{0.0f, 0.2f};
  for (int ring = 1; ring <= 3; ++ring) {
    float shrink = 1.0f - 0.22f * float(ring);
    Pts outline = smoothClosed(cerebrum, 8);
    Pts wavy;
    for (std::size_t i = 0; i < outline.size(); ++i) {
      Pt p = middle + (outline[i] - middle) * shrink;
      float a = float(i) / float(outline.size()) * 6.2831853f;
      Pt out = unitVector(p - middle);
      wavy.push_back(p + out * (0.035f * std::sin(a * 11.0f + float(ring) * 1.7f)));
    }
    for (std::size_t start = std::size_t(ring) * 5; start + 14 < wavy.size(); start += 20) {
      strokePath(ink.detail, mapped(f, Pts(wavy.begin() + long(start), wavy.begin() + long(start + 14))), line * 0.7f, false);
    }
  }
  clipDetail(ink);
  layerBehind(ink, cerebellum);
}

void stomach(Ink& ink, const Frame& f, float line) {
  Pts centre = smoothOpen({{-0.25f, 0.98f}, {-0.2f, 0.6f}, {0.0f, 0.32f}, {0.12f, -0.1f}, {-0.04f, -0.45f},
                           {-0.36f, -0.55f}, {-0.56f, -0.36f}, {-0.64f, -0.08f}},
                          12);
  auto width = [](float t) {
    if (t < 0.18f) return 0.13f;
    if (t < 0.62f) return 0.13f + 0.6f * smoothstep(0.18f, 0.4f, t) - 0.3f * smoothstep(0.45f, 0.62f, t);
    return 0.43f - 0.28f * smoothstep(0.62f, 0.82f, t);
  };
  Pts poly = tube(mapped(f, centre), [&](float t) { return f.px(width(t)); });
  fillPolygon(ink.fill, poly);
  fillEllipse(ink.fill, f(0.06f, 0.36f), f.px(0.3f), f.px(0.26f), 0.3f);
  // Outline of the union: the edge where the fill falls from 1 to 0.
  Mask edge = ink.fill;
  edge.blur(int(line * 0.6f) + 1, false);
  for (int y = 0; y < edge.height(); ++y) {
    for (int x = 0; x < edge.width(); ++x) {
      float e = edge.at(x, y);
      ink.outline.cover(x, y, clamp01(1.6f - std::abs(e - 0.5f) * 5.0f));
    }
  }
  for (float offset : {-0.14f, 0.0f, 0.14f}) {
    Pts fold;
    for (std::size_t i = 24; i + 18 < centre.size(); i += 6) {
      Pt a = centre[i], b = centre[i + 1];
      Pt d = b - a;
      float len = std::max(std::hypot(d.x, d.y), 1e-6f);
      float wobble = 0.03f * std::sin(float(i) * 0.9f + offset * 20.0f);
      fold.push_back(a + Pt{-d.y / len, d.x / len} * (offset + wobble));
    }
    detailLine(ink, f, fold, line * 0.8f);
  }
}

void eye(Ink& ink, const Frame& f, float line) {
  Ink back(ink.fill.width(), ink.fill.height());
  vessel(back, f, {{0.55f, -0.05f}, {0.78f, -0.1f}, {0.98f, -0.18f}}, 0.22f, 0.2f, line);
  body(back, f, closedCurve([](float t) { float a = t * 6.2831853f; return Pt{-0.5f + 0.16f * std::cos(a), 0.4f * std::sin(a)}; }, 12), line);
  body(ink, f, closedCurve([](float t) { float a = t * 6.2831853f; return Pt{0.05f + 0.62f * std::cos(a), 0.62f * std::sin(a)}; }, 12), line);
  strokePath(ink.detail, mapped(f, closedCurve([](float t) { float a = t * 6.2831853f; return Pt{-0.36f + 0.09f * std::cos(a), 0.24f * std::sin(a)}; }, 48)), line, true);
  strokePath(ink.detail, mapped(f, openCurve([](float t) { float a = -2.3f + 4.6f * t; return Pt{0.05f + 0.52f * std::cos(a), 0.52f * std::sin(a)}; }, 64)), line * 0.8f, false);
  detailLine(ink, f, {{-0.44f, 0.12f}, {-0.44f, 0.38f}}, line * 1.2f);
  detailLine(ink, f, {{-0.44f, -0.12f}, {-0.44f, -0.38f}}, line * 1.2f);
  Rng rng(1984);
  branch(ink, f, {0.55f, -0.04f}, 2.3f, 0.22f, line * 0.9f, 3, rng);
  branch(ink, f, {0.55f, -0.06f}, -2.3f, 0.22f, line * 0.9f, 3, rng);
  clipDetail(ink);
  layerBehind(ink, back);
}

}  // namespace

void drawOrgan(Ink& ink, Organ organ, const Frame& frame, float size, float line) {
  Frame f{frame.centre, frame.scale * size};
  switch (organ) {
    case Organ::Heart: heart(ink, f, line); break;
    case Organ::Lungs: lungs(ink, f, line); break;
    case Organ::Kidney: kidney(ink, f, line); break;
    case Organ::Brain: brain(ink, f, line); break;
    case Organ::Stomach: stomach(ink, f, line); break;
    case Organ::Eye: eye(ink, f, line); break;
  }
  clipDetail(ink);
}

namespace {

struct WingPose {
  float span;   // projected reach, 1 = fully spread and level
  float sweep;  // how far the hand is swept back (folded)
};

constexpr WingPose kWingPoses[6] = {{0.62f, 0.1f}, {1.0f, 0.0f}, {0.74f, 0.06f},
                                    {0.7f, 0.45f}, {0.55f, 0.72f}, {0.62f, 0.32f}};

Pt rotated(Pt d, float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  return {d.x * c - d.y * s, d.x * s + d.y * c};
}

// The right wing: a smooth arm from the shoulder to the wrist, and five fingered primaries fanning
// back from the hand (the kite's splayed wing tip).
void wing(Mask& mask, const Frame& f, const WingPose& pose, float side) {
  float s = pose.span, w = pose.sweep;
  auto m = [side](Pt p) { return Pt{p.x * side, p.y}; };
  Pt wrist{0.1f + 0.48f * s, 0.3f - 0.2f * w};
  Pt tip{0.1f + 0.95f * s, 0.22f - 0.5f * w};
  Pt along = unitVector(tip - wrist);
  Pt backward{along.y, -along.x};  // toward the tail
  Pts arm{{0.06f, 0.22f}, {0.1f + 0.25f * s, 0.3f - 0.06f * w}, wrist, wrist + backward * 0.22f + along * 0.08f,
          {0.1f + 0.3f * s, -0.04f - 0.14f * w}, {0.06f, -0.1f}};
  Pts px;
  for (const Pt& p : smoothClosed(arm, 10)) px.push_back(f(m(p)));
  fillPolygon(mask, px);
  float reach = std::hypot(tip.x - wrist.x, tip.y - wrist.y);
  for (int j = 0; j < 5; ++j) {
    Pt base = wrist + backward * (0.04f * float(j));
    Pt dir = rotated(along, -0.17f * float(j));
    Pt end = base + dir * (reach * (1.0f - 0.07f * float(j)));
    strokeSegment(mask, f(m(base)), f(m(end)), f.px(0.06f));
  }
  Pts hand{wrist, wrist + along * (reach * 0.55f), wrist + rotated(along, -0.7f) * (reach * 0.5f), wrist + backward * 0.22f};
  Pts handPx;
  for (const Pt& p : hand) handPx.push_back(f(m(p)));
  fillPolygon(mask, handPx);
}

}  // namespace

void drawBird(Mask& mask, const Frame& f, int phase) {
  const WingPose& pose = kWingPoses[std::clamp(phase, 0, 5)];
  wing(mask, f, pose, 1.0f);
  wing(mask, f, pose, -1.0f);
  fillEllipse(mask, f(0.0f, 0.04f), f.px(0.11f), f.px(0.33f), 0.0f);
  fillDisc(mask, f(0.0f, 0.38f), f.px(0.085f));
  fillPolygon(mask, mapped(f, {{-0.035f, 0.44f}, {0.035f, 0.44f}, {0.0f, 0.51f}}));
  // The forked tail of a red kite.
  fillPolygon(mask, mapped(f, {{-0.07f, -0.18f}, {0.07f, -0.18f}, {0.19f, -0.64f}, {0.06f, -0.55f}, {0.0f, -0.47f},
                               {-0.06f, -0.55f}, {-0.19f, -0.64f}}));
}

void drawFace(Ink& ink, const Frame& f, float line) {
  Pts jaw{{-0.62f, 0.35f}, {-0.6f, -0.1f}, {-0.45f, -0.55f}, {-0.2f, -0.85f}, {0.0f, -0.9f},
          {0.2f, -0.85f}, {0.45f, -0.55f}, {0.6f, -0.1f}, {0.62f, 0.35f}};
  Pts head = jaw;
  for (Pt p : Pts{{0.56f, 0.78f}, {0.0f, 0.98f}, {-0.56f, 0.78f}}) head.push_back(p);
  fillPolygon(ink.fill, mapped(f, smoothClosed(head, 12)));
  strokePath(ink.outline, mapped(f, smoothOpen(jaw, 10)), line, false);
  for (int side = -1; side <= 1; side += 2) {
    float s = float(side);
    auto m = [&](Pts points) {
      for (Pt& p : points) p.x *= s;
      return points;
    };
    strokePath(ink.outline, mapped(f, smoothOpen(m({{-0.46f, 0.36f}, {-0.3f, 0.44f}, {-0.12f, 0.39f}}), 8)), line * 1.2f, false);
    strokePath(ink.detail, mapped(f, smoothOpen(m({{-0.46f, 0.18f}, {-0.3f, 0.27f}, {-0.12f, 0.18f}}), 8)), line, false);
    strokePath(ink.detail, mapped(f, smoothOpen(m({{-0.46f, 0.18f}, {-0.3f, 0.11f}, {-0.12f, 0.18f}}), 8)), line * 0.7f, false);
    strokePath(ink.detail, mapped(f, closedCurve([&](float t) { float a = t * 6.2831853f; return Pt{s * -0.29f + 0.06f * std::cos(a), 0.185f + 0.06f * std::sin(a)}; }, 40)), line * 0.7f, true);
    fillDisc(ink.detail, f(s * -0.29f, 0.185f), f.px(0.028f));
    strokePath(ink.outline, mapped(f, smoothOpen(m({{-0.62f, 0.2f}, {-0.72f, 0.14f}, {-0.71f, -0.1f}, {-0.6f, -0.2f}}), 8)), line, false);
    strokePath(ink.outline, mapped(f, smoothOpen(m({{-0.27f, -0.8f}, {-0.29f, -1.0f}, {-0.31f, -1.2f}}), 8)), line, false);
    for (int j = 0; j < 9; ++j) {
      float k = float(j) / 8.0f;
      Pts strand{{-0.04f - 0.1f * k, 1.0f - 0.06f * k}, {-0.3f - 0.12f * k, 0.96f - 0.1f * k},
                 {-0.58f - 0.08f * k, 0.72f - 0.16f * k}, {-0.68f - 0.04f * k, 0.36f - 0.4f * k}};
      strokePath(ink.outline, mapped(f, smoothOpen(m(strand), 10)), line * 0.8f, false);
    }
  }
  strokePath(ink.detail, mapped(f, smoothOpen({{-0.03f, 0.16f}, {-0.06f, -0.1f}, {-0.11f, -0.26f}, {-0.04f, -0.31f}}, 8)), line, false);
  strokePath(ink.detail, mapped(f, smoothOpen({{0.06f, -0.31f}, {0.11f, -0.27f}}, 4)), line, false);
  strokePath(ink.detail, mapped(f, smoothOpen({{-0.22f, -0.5f}, {-0.08f, -0.44f}, {0.0f, -0.47f}, {0.08f, -0.44f}, {0.22f, -0.5f}}, 8)), line, false);
  strokePath(ink.detail, mapped(f, smoothOpen({{-0.22f, -0.5f}, {0.0f, -0.52f}, {0.22f, -0.5f}}, 8)), line * 0.8f, false);
  strokePath(ink.detail, mapped(f, smoothOpen({{-0.16f, -0.57f}, {0.0f, -0.63f}, {0.16f, -0.57f}}, 8)), line, false);
}

void drawHorse(Mask& mask, const Frame& f) {
  fillEllipse(mask, f(0.0f, 0.0f), f.px(0.5f), f.px(0.22f), 0.0f);
  fillPolygon(mask, tube(mapped(f, smoothOpen({{0.3f, 0.05f}, {0.46f, 0.3f}, {0.56f, 0.48f}}, 8)), [&](float t) { return f.px(0.24f - 0.1f * t); }));
  fillPolygon(mask, tube(mapped(f, smoothOpen({{0.54f, 0.5f}, {0.68f, 0.38f}, {0.8f, 0.28f}}, 8)), [&](float t) { return f.px(0.15f - 0.06f * t); }));
  fillPolygon(mask, mapped(f, {{0.52f, 0.55f}, {0.56f, 0.68f}, {0.59f, 0.54f}}));
  const Pt legs[4][2] = {{{-0.36f, -0.08f}, {-0.4f, -0.75f}}, {{-0.22f, -0.1f}, {-0.18f, -0.75f}},
                         {{0.24f, -0.1f}, {0.3f, -0.75f}}, {{0.38f, -0.08f}, {0.36f, -0.75f}}};
  for (const auto& leg : legs) strokeSegment(mask, f(leg[0]), f(leg[1]), f.px(0.075f));
  strokePath(mask, mapped(f, smoothOpen({{-0.48f, 0.08f}, {-0.62f, -0.04f}, {-0.64f, -0.42f}}, 8)), f.px(0.07f), false);
  strokePath(mask, mapped(f, smoothOpen({{0.34f, 0.22f}, {0.46f, 0.44f}, {0.52f, 0.58f}}, 8)), f.px(0.08f), false);
}

}  // namespace contentgen
