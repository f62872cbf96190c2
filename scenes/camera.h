// camera.h -- the scenes' camera, free of GL: a keyed pose (eye, look-at
// point, up), moves toward keyed targets, and the recorded shake that moves
// the look-at point a little every frame.
#pragma once
#include "geom/vec3.h"
#include "scenes/route.h"

struct camera {
  vec3 eye, centre, up = vec3(0, 1, 0);
  double fovy = 45;  // vertical lens angle, degrees; the aspect is always 1.6
  vec3 lookShift;    // added to the eye in the look-at only: the shared camera keeps the eye without it
};

// One keyed move of a camera table: v goes toward target by the weight k,
// which is held as a float.
inline void keyedMove(vec3& v, const vec3& target, double k) {
  float w = float(k);
  v = v + (target - v) * w;
}

// A record of the shake track, read at a (possibly negative) time-derived
// index; no track gives index -1 and no shake.
struct shakeSample {
  long index = -1;
  vec3 p;        // the record's point
  double a = 0;  // its first value (the roll source)
};
shakeSample shakeAt(const route& track, double index);

// The shake track is read 35 records a second of a section's clock, from 76
// records before its start; one unit of swell moves the look-at point by
// ShakeBase per unit of the record.
constexpr double ShakeRate = 35, ShakeLead = 76;
constexpr double ShakeBase = 0.0002262;
inline double shakeClock(double t) { return ShakeRate * t - ShakeLead; }

// The swell of the shake the scenes share: 1 at rest, up to 6 between 30.2
// and 49 s of a section's clock.
double shakeSwell(double t);

// The swell times the base times a scene's own gain, as one float.
float shakeAmplitude(double t, double gain);

// How far the shake moves the look-at point: along the camera's side vector
// by p.x and along up by p.y, scaled by amp.
vec3 shakeOffset(const camera& c, const vec3& p, float amp);

// The roll the shake adds to up.x: 0.4 sin(a * 1.7188733853924696 * amp).
float shakeRoll(double a, float amp);

// The shake of this frame and the previous one; their difference tells the
// occlusion pass how far the picture moved ("RelX").
struct shakeRecord {
  vec3 previous, current;
  void push(const vec3& v) {
    previous = current;
    current = v;
  }
  vec3 moved() const { return current - previous; }
};
