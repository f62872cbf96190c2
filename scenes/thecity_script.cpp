// thecity_script.cpp -- the city's time script, free of GL: the frame step,
// the lens, the camera and the cloud's place, and where the street's groups
// stand at a time (see thecity_script.h). The frame draws what these place.
#include <algorithm>
#include <cmath>

#include "gfx/textures.h"  // frand
#include "platform/crandom.h"
#include "scenes/thecity_script.h"
#include "scenes/timing.h"

// ---- time script (section seconds) ---------------------------------------------------
// The frame step: x 1.07, up to 12 % faster from 54 s, 5 % slower again from 68 s.
static const double FasterFrom = 54, SlowerFrom = 68;

// Windows of the groups.
static const double LatticeFrom = 5.3, LatticeTo = 15.1;
static const double TempleFrom = 12, TempleTo = 20;
static const double TowerFrom = 2, TowerTo = 11;
static const double TreesTo = 47, TreesStop = 33, TreesSink = 39;
static const float ColumnStart = 4;  // the columns enter this far to the side
static const double Flock1To = 40, Flock2From = 44, Flock3From = 51, Flock3To = 64;

double cityStep(double t, double step) {
  step *= 1.07;
  step *= 1 + 0.12 * ease(t - FasterFrom);
  step *= 1 - 0.05 * ease(t - SlowerFrom);
  return step;
}

double cityFovy(double t) {
  return 55 - 30 * ease(2 * (t - 46.5)) + 30 * ease(0.5 * (t - 59)) - 28 * ease(0.25 * (t - 67.4));
}

float cityShakeAmplitude(double t) {
  double calm = ease(2 * (t - 45)) + 1 - 0.7 * ease(0.5 * (t - 36));
  double zoom = 2 * ease(0.25 * (t - 67.4)) + 1;
  return shakeAmplitude(t, 2 * calm * zoom * 5.1);
}

static double mix(double a, double b, double w) { return a + (b - a) * w; }

// The look-at point's height: bobbing, then climbing with the last zooms.
static double lookHeight(double t) {
  return std::sin(0.22 * t) + 2.2 - 0.48 * rampIn(0.5 * (t - 54)) + 0.6 * rampIn(0.5 * (t - 50));
}

camera cityPose(double t) {
  camera c;
  double calm = 1 - ease(0.25 * (t - 28));  // sway and roll die out at 28 ... 32 s
  c.eye = vec3(8, float(2 - 1.2 * ease(0.2 * (t - 15))), 0) * 1.2f;
  c.centre = vec3(0, float(lookHeight(t)), float(2 * std::sin(0.2 * t) * calm));
  c.up = vec3(0, 1, float(0.1 * std::sin(0.5 * t) * calm));
  c.fovy = cityFovy(t);
  return c;
}

camera cityCamera(double t, const route& shakeTrack, vec3& record) {
  camera c = cityPose(t);
  shakeSample s = shakeAt(shakeTrack, shakeClock(t));
  float amp = cityShakeAmplitude(t);
  record = s.index >= 0 ? vec3(s.p.x * amp, s.p.y * amp, 0) : vec3();
  if (s.index >= 0) c.centre = c.centre + shakeOffset(c, s.p, amp);
  return c;
}

// The cloud bobs with most of the look-at point's swing, then from 42 s
// follows it, a little below, so that the narrow lens of 46.5 s and the
// climb of 54 s keep the whole cloud in the frame.
vec3 cloudCentre(double t) {
  double look = lookHeight(t);
  return vec3(0, float(mix(0.8 * (look - 2.2), look - 0.3, ease((t - 42) / 4))), 0);
}

// Obelisk until 26 s, the baby from 31 s to 60 s, the obelisk again from 66 s.
double babyMix(double t) { return ease((t - 26) / 5) - ease((t - 60) / 6); }

// ---- the groups (each from its own seed, so every frame repeats the last) ---------------

static float frandf() { return float(frand()); }

float laneZ() {
  float z;
  do z = 12 * frandf() - 6;  // nothing walks in the middle band
  while (z > -1.3f && z < 1.3f);
  return z;
}

// The draws every group starts an instance with: a, one discarded, z, s.
struct laneDraw {
  float a, z, s;
};
static laneDraw drawLane() {
  laneDraw d;
  d.a = frandf();
  frand();
  d.z = laneZ();
  d.s = frandf() + 1;
  return d;
}

static float clamp01(double v) { return float(std::min(std::max(v, 0.0), 1.0)); }

// The street runs past the camera (9.6 units out on +x): a landmark or a tree
// shrinks away in its last 2 units before the lens instead of blacking out
// the frame as it passes through it.
static float nearFade(float x) { return clamp01((9.6 - x - 0.8) / 2); }

// Landmarks and trees: 18 units of street, fully grown past its middle.
static landmarkPlace streetPlace(double t, const laneDraw& d, double clockT, float drop) {
  landmarkPlace p;
  p.shown = true;
  p.s = d.s;
  p.f = std::fmod(float(0.1 * clockT) + d.a, 1.0f);
  p.fade = p.f > 0.5f ? 1.0f : clamp01(std::sin(M_PI * p.f));
  p.at = vec3(18 * p.f - 9 + 1.4f, p.fade - 1 + 0.54f + drop, d.z);
  p.sway = float(10 * std::sin(0.3 * d.s * t));
  return p;
}

static void placeCrowd(double t, cityGroups& g) {
  cSrand(4242);
  for (walkerPlace& w : g.crowd) {
    laneDraw d = drawLane();
    w.s = d.s;
    w.f = std::fmod(float(0.1 * t) + d.a, 1.0f);
    w.fade = clamp01(2 * std::sin(M_PI * w.f));
    w.frame = float(cRand() % 200 + 6 * t + 1);
    w.at = vec3(14 * w.f - 7 + 1.4f, float(0.1 * std::sin((t + 43) * d.s)) - 0.8f, d.z);
    w.tilt = float(10 * std::sin(0.3 * d.s * t));
  }
}

static void placeLandmarks(double t, cityGroups& g) {
  g.lattice = g.temple = g.tower = landmarkPlace();
  if (t > LatticeFrom && t < LatticeTo) {
    cSrand(4250);
    g.lattice = streetPlace(t, drawLane(), t, -0.8f);
    g.lattice.scale = 0.68f * g.lattice.fade * nearFade(g.lattice.at.x);
  }
  if (t > TempleFrom && t < TempleTo) {
    cSrand(4243);
    g.temple = streetPlace(t, drawLane(), t, -0.8f);
    g.temple.scale = 0.12f * g.temple.fade * nearFade(g.temple.at.x);
  }
  if (t > TowerFrom && t < TowerTo) {
    cSrand(4243);
    drawLane();  // the first pass consumes its draws and shows nothing
    g.tower = streetPlace(t, drawLane(), t, -1.0f);
    g.tower.at.z += 4;
    g.tower.scale = 1.1f * g.tower.fade * nearFade(g.tower.at.x);
  }
}

static void placeTrees(double t, cityGroups& g) {
  g.treeCount = 0;
  if (t >= TreesTo) return;
  cSrand(4270);
  float sink = float(3 * rampIn(t - TreesSink));  // into the ground from 39 s
  for (landmarkPlace& p : g.trees) {
    p = streetPlace(t, drawLane(), std::min(t, TreesStop), 0);
    p.at.y += 0.2f * frandf() - sink - 0.9f;
    p.scale = 0.75f * p.fade * (0.5f * frandf() + 0.5f) * nearFade(p.at.x);
    p.turn = 1000 * frandf();
    ++g.treeCount;
  }
}

// The frame of a dove's wing beat: k sets its own beat rate.
static int doveImage(double t, double c) {
  float k = 0.1f * frandf() + 0.9f;
  long frame = long(100 * frand() + k * t * 28 * c);
  return DoveBase + int(frame % DoveImages);
}

// Flock 1 comes out from behind the cloud's right and flies left and
// towards the camera, passing over the street.
static void placeFlock1(double t, cityGroups& g) {
  cSrand(42434);
  const vec3 heading = normalise(vec3(0.45f, 0.06f, 1));
  for (int i = 0; i < Flock1Size; ++i) {
    dovePlace& d = g.doves[g.doveCount++];
    d.image = doveImage(t, 0.8);
    float lift = (2 * frandf() - 1) * 0.2f;
    float advance = float((0.8 + 0.2 * frand()) * 0.4 * t);
    vec3 loose(-0.25f * float(i % 4), 0.1f * float(i % 3), -0.3f * float(i % 5));  // a loose cluster
    d.at = vec3(0, 2.5f + lift, -3.9f) + loose + heading * advance;
    d.angle = 16;
    d.sx = d.sy = 0.08f;
  }
  g.flock1 = Flock1Size;
}

// Flocks 2 and 3: two mirrored columns of doves come in from either side
// and cross in front of the cloud; flock 3 climbs with it.
static void placeColumn(double t, double from, float base, float rise, cityGroups& g) {
  for (int i = 0; i < FlockSize; ++i) {
    int image = doveImage(t, 1.1);
    float w = 1 + 0.2f * frandf();
    float move = float(2.6 * (0.6 + 0.4 * frand()) * 0.4 * (t - from) - 0.5);
    vec3 at(1.5f, base + 0.15f * float(i) + 0.8f + rise, 0.4f + move - ColumnStart);
    dovePlace& d = g.doves[g.doveCount++];
    d.at = at;
    d.image = image;
    d.angle = 16;
    d.sx = d.sy = 0.15f * w;
    dovePlace& m = g.doves[g.doveCount++];
    m.at = vec3(at.x, at.y, -at.z);
    m.image = image;
    m.angle = -16;
    m.sx = -0.15f * w;
    m.sy = 0.15f * w;
  }
}

void placeGroups(double t, cityGroups& g) {
  placeCrowd(t, g);
  placeLandmarks(t, g);
  placeTrees(t, g);
  g.doveCount = g.flock1 = g.flock2 = g.flock3 = 0;
  if (t < Flock1To) placeFlock1(t, g);
  if (t > Flock2From && t < Flock3From) {
    cSrand(32434);
    placeColumn(t, Flock2From, 0, 0, g);
    g.flock2 = FlockSize;
  }
  if (t > Flock3From && t < Flock3To) {
    cSrand(22434);
    placeColumn(t, Flock3From, 0.6f, cloudCentre(t).y - 1.0f, g);
    g.flock3 = FlockSize;
  }
}
