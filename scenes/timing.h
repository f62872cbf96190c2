// timing.h -- the small helpers every scene's time script is written with.
#pragma once
#include <algorithm>
#include <cmath>

#include "geom/mat4.h"

// The cosine ease: 0 for x <= 0, rising smoothly to 1 at x >= 1. The power p
// bends it (p = 1 gives (1 - cos(pi x)) / 2).
inline double ease(double x, double p = 1.0) {
  double u = std::min(std::max(x, 0.0), 1.0);
  double c = (std::cos(M_PI * u) + 1.0) * 0.5;
  double v = std::pow(c, (p - 1.0) * 0.5 + 1.0);
  return std::pow(1.0 - v, p);
}

// Starts like a power curve and becomes x itself from x = 1/0.3 on.
inline double rampIn(double x) {
  double xp = std::max(x, 0.0);
  double s = std::pow(0.5 * xp, 2.2);
  double w = std::min(std::max(0.3 * xp, 0.0), 1.0);
  return s + (xp - s) * w;
}

// How fast the MegaRotate accumulators of the scenes grow: from 27 s of a
// section's clock on, until it calms after 52 s.
inline double megaRotateRate(double t) { return (ease(t - 27) - ease(0.5 * (t - 52))) * 1.5; }

// The rotation the scenes upload to their compute programs, from three angles
// in radians; m[] holds the sixteen floats in the order they are uploaded.
inline mat4 rot(double a, double b, double c) {
  float ca = float(std::cos(a)), sa = float(std::sin(a));
  float cb = float(std::cos(b)), sb = float(std::sin(b));
  float cc = float(std::cos(c)), sc = float(std::sin(c));
  mat4 r;
  const float v[16] = {cc * cb, -sc * cb, sb, 0,
                       sb * sa * cc + sc * ca, cc * ca - sb * sa * sc, -cb * sa, 0,
                       sc * sa - sb * ca * cc, sb * ca * sc + cc * sa, cb * ca, 0,
                       0, 0, 0, 1};
  for (int i = 0; i < 16; ++i) r.m[i] = v[i];
  return r;
}
