// The show's drawn subjects, in drawing units (x right, y up, about [-1, 1]²) through a Frame:
// six anatomy plates (heart, lungs, kidney, brain, stomach, eye), a bird of prey in six
// wing-beat phases, a line-art face and a horse. Each plate fills three coverage masks that the
// texture writers colour in their own style (translucent plate, ink on white).
#pragma once

#include "tools/contentgen/Paint.h"

namespace contentgen {

struct Ink {
  Ink(int width, int height) : fill(width, height), outline(width, height), detail(width, height) {}
  Mask fill;     // the bodies of the subject
  Mask outline;  // strokes along the bodies' edges
  Mask detail;   // inner strokes: vessels, folds, fissures (inside the fill)
};

enum class Organ { Heart, Lungs, Kidney, Brain, Stomach, Eye };

// `size` scales the subject about the frame centre (the heart's beat phases use 0.8 to 1);
// `line` is the stroke width in pixels.
void drawOrgan(Ink& ink, Organ organ, const Frame& frame, float size, float line);

// A bird of prey seen from below, wings in phase 0 … 5 of one beat (0: wings raised, 2: lowest,
// 3 and 4: folded on the upstroke).
void drawBird(Mask& mask, const Frame& frame, int phase);

// A face in line art, front view: strokes in `ink.outline` and `ink.detail`, skin in `ink.fill`.
void drawFace(Ink& ink, const Frame& frame, float line);

// A standing horse in profile, as a filled silhouette.
void drawHorse(Mask& mask, const Frame& frame);

}  // namespace contentgen
