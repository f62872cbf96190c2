// part_theend.cpp -- the close: the maker's name gathers out of a swirl of
// sparks, holds while the camera comes in and turns, and fades to black.
#include "scenes/part_theend.h"

#include <GL/glew.h>

#include <cmath>
#include <iterator>

#include "gfx/frametimer.h"
#include "gfx/particlesim.h"
#include "gfx/rendercontext.h"
#include "gfx/slots.h"
#include "platform/crandom.h"
#include "scenes/timing.h"

// ---- time script (section seconds) ---------------------------------------------------
static const double Pace = 0.91;          // the whole section runs at this pace
static const double StretchFrom = 14.0;   // and stretched up to 18 % from here
static const double StretchGain = 0.18;
static const int GridSize = 1536;      // particle grid, 2 359 296 points

// ---- load ---------------------------------------------------------------------------------
static const int Logo = 0;  // the word the particles are drawn to
static const pointSetRequest LogoSet{"newobjects//veltra.obj", GridSize, GridSize, 33, 33, 1, 1, 1};
// No 1-D texture of its own: the blur reads the one the start section made.
static const loadRow EndLoad[] = {
    shakeTrack(), banner(), simulatorGrid(GridSize), points(Logo, LogoSet),
    scenePrograms(), targets(), jpeg(BlobSprite, "textures/blob41b.jpg"), postOptions(NoBackground),
};

double endStep(double t, double step) {
  step *= Pace;
  if (t > StretchFrom) step *= 1 + StretchGain * ease(t - StretchFrom);
  return step;
}

endValues endScript(double t, const route& shakeTrack) {
  endValues v;
  // The eye closes in from about 12 units to 7 in the first 3 s, starts to
  // circle from 4 s and to rise from 8 s; the lens opens a little from 1 s
  // and narrows by 20 degrees between 9 and 12.3 s.
  v.distance = 7 + 6 * (1 - ease(0.25 * (t + 1)));
  v.angle = 0.6 * rampIn(0.2 * (t - 4));
  v.height = 1.3 * rampIn(0.5 * (t - 8));
  v.fovy = 55 + 2.2 * rampIn(0.5 * (t - 1)) - 20 * ease(0.3 * (t - 9));
  // The shake swells only after 30 s, which this section never reaches.
  v.shakeAmplitude = shakeAmplitude(t, 4.5);
  v.shakeIndex = shakeIndex(shakeTrack, shakeClock(t));
  return v;
}

camera endCamera(const endValues& v, const route& shakeTrack) {
  camera c;
  c.centre = vec3(0, 0, 0);
  c.up = vec3(0, 1, 0);
  c.eye = vec3(float(v.distance * std::sin(v.angle)), float(v.height), float(v.distance * std::cos(v.angle)));
  c.fovy = v.fovy;
  vec3 p;
  if (v.shakeIndex >= 0) p = shakeTrack.points[size_t(v.shakeIndex)];
  c.centre = c.centre + shakeOffset(c, p, v.shakeAmplitude);
  return c;
}

part_theend::part_theend(const sectionRow& r) : scene(r, EndLoad, std::size(EndLoad)) {}

// ---- frame --------------------------------------------------------------------------------

// The mantis draws in this frame too when it hands over; draw() has reset
// every piece of state before this runs, so nothing of its frame carries over.
void part_theend::script(double step) {
  endValues v = endScript(t, shake);
  cam = endCamera(v, shake);
  megaRotate += float(megaRotateRate(t) * step);  // stays 0 before 27 s
}

void part_theend::render(double* step) {
  openFrame(cam);
  particlePass(*step);
  postPasses();
}

// ---- particle pass ------------------------------------------------------------------------

void part_theend::simulate(double step) {
  stepCloud(step, {
      {"OriginalPositionTexture", 7, sets[Logo].positionTexture},
      {"Swirl_Texture", 15, textureName(textureBase + FirstTitleSlot)},
      {"OriginalPositionTexture_Bird", 16, sets[Logo].positionTexture},
      {"OriginalColorTexture", 8, sets[Logo].colorTexture},
  });
}

void part_theend::particlePass(double step) {
  openParticlePass();
  simulate(step);
  beginPoints(simulator(), sets[Logo].colorTexture, 13);
  drawPointCount(GridSize * GridSize);
  endPoints();
  beginOverlays();
  closeParticlePass();
}
