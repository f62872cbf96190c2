// camera.cpp -- keyed camera and shake (see camera.h).
#include "scenes/camera.h"

#include <cmath>

#include "scenes/timing.h"

shakeSample shakeAt(const route& track, double index) {
  shakeSample s;
  s.index = shakeIndex(track, index);
  if (s.index < 0) return s;
  s.p = track.points[size_t(s.index)];
  if (size_t(s.index) < track.valuesA.size()) s.a = track.valuesA[size_t(s.index)];
  return s;
}

double shakeSwell(double t) { return 5 * ease(2 * (t - 30.2)) * (1 - ease(0.75 * (t - 49))) + 1; }

float shakeAmplitude(double t, double gain) { return float(shakeSwell(t) * ShakeBase * gain); }

vec3 shakeOffset(const camera& c, const vec3& p, float amp) {
  vec3 d = normalise(c.centre - c.eye), side = cross(d, c.up);
  return (side * p.x + c.up * p.y) * amp;
}

float shakeRoll(double a, float amp) { return float(0.4 * std::sin(a * 1.7188733853924696 * amp)); }
