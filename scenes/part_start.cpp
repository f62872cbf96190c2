// part_start.cpp -- the title scene: the obelisk forms from a disc of sparks,
// the two title cards fade in and out in front of it.
#include "scenes/part_start.h"

#include <GL/glew.h>

#include <iterator>

#include "gfx/frametimer.h"
#include "gfx/particlesim.h"
#include "gfx/quads.h"
#include "gfx/rendercontext.h"
#include "gfx/slots.h"
#include "platform/crandom.h"
#include "scenes/timing.h"

// ---- time script (section seconds) ---------------------------------------------------
static const double StretchFrom = 14.0;   // frame step stretched up to 18 % from here
static const double StretchGain = 0.18;
static const double TitleIn = 5.0;        // first card fades in over 4 s
static const double TitleSwitch = 15.3;   // second card replaces the first
static const double TitleOut = 18.0;      // cards fade out over 4 s
static const int FirstTitle = FirstTitleSlot, SecondTitle = 31;
static const int GridSize = 1536;         // particle grid, 2 359 296 points

// ---- load ---------------------------------------------------------------------------------
static const int Obelisk = 0;  // the shape the particles are drawn to
static const pointSetRequest ObeliskSet{"newobjects//obelisk.obj", GridSize, GridSize, 450, 450, 1, 1, 1};
static const loadRow StartLoad[] = {
    shakeTrack(), banner(), floatTexture1D(),
    simulatorGrid(GridSize), points(Obelisk, ObeliskSet),
    scenePrograms(), fragment(BackgroundProgram, "f_backgroundeffect.cpp"), targets(),
    jpeg(BlobSprite, "textures/blob41b.jpg"), jpeg(CloudSprite, "textures/cloudt1.jpg"),
    jpeg(FirstTitle, "textures/Intro1a.jpg"), jpeg(SecondTitle, "textures/Intro2a.jpg"),
};

double startStep(double t, double step) {
  if (t > StretchFrom) step *= 1 + StretchGain * ease(t - StretchFrom);
  return step;
}

startValues startScript(double t, const route& shakeTrack) {
  startValues v;
  v.fade = ease(0.25 * (t - TitleIn)) - ease(0.25 * (t - TitleOut));
  v.titleSlot = t > TitleSwitch ? SecondTitle : FirstTitle;
  // The shake swells after 30 s and calms after 36 s; the scene hands over
  // before, so only the base amplitude is ever seen.
  float calm = float(1 - 0.7 * ease(0.5 * (t - 36)));
  float rise = float(ease(2 * (t - 45))) + calm;
  v.shakeAmplitude = shakeAmplitude(t, 1.5 * rise);
  v.shakeIndex = shakeIndex(shakeTrack, shakeClock(t));  // -1 without a usable track
  v.megaRotateRate = float(megaRotateRate(t));
  return v;
}

camera startCamera(const startValues& v, const route& shakeTrack, vec3& moved) {
  camera c;
  c.eye = vec3(0, 0, 7);
  c.centre = vec3(0, 0, 0);
  c.up = vec3(0, 1, 0);
  c.fovy = 55;
  vec3 p;
  if (v.shakeIndex >= 0) p = shakeTrack.points[size_t(v.shakeIndex)];
  moved = shakeOffset(c, p, v.shakeAmplitude);
  c.centre = c.centre + moved;
  return c;
}

part_start::part_start(const sectionRow& r) : scene(r, StartLoad, std::size(StartLoad)) {
  cloudAllTime = true;
}

// ---- frame --------------------------------------------------------------------------------

// The frame's script values are evaluated once, after the clock moved.
void part_start::script(double step) {
  now = startScript(t, shake);
  cam = startCamera(now, shake, titleShift);
  megaRotate += float(now.megaRotateRate * step);
}

void part_start::render(double* step) {
  openFrame(cam);
  particlePass(*step, now);
  postPasses();
}

// ---- particle pass ------------------------------------------------------------------------

void part_start::simulate(double step) {
  stepCloud(step, {
      {"OriginalPositionTexture", 7, sets[Obelisk].positionTexture},
      {"Swirl_Texture", 15, textureName(textureBase + FirstTitle)},
      {"OriginalPositionTexture_Bird", 16, sets[Obelisk].positionTexture},
      {"OriginalColorTexture", 8, sets[Obelisk].colorTexture},
      {"Original1DTexture", 17, textureName(texture1D), GL_TEXTURE_1D},
  });
}

// The title card floats 1.15 units in front of the eye and drifts with a
// fifth of the camera shake.
void part_start::drawTitle(const startValues& v) {
  benchPassBegin(passOverlay);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glBlendFunc(GL_ONE, GL_ONE);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  float fade = float(v.fade);
  glColor4f(fade, fade, fade, fade);
  rc->bindTexture(textureBase + v.titleSlot);
  glPushMatrix();
  glScalef(0.9777778f, 0.55f, 1);  // a 16:9 card 1.1 units high
  vec3 g = titleShift * -0.2f;
  glTranslatef(-g.x, -g.y, 5.85f);
  double one = 1.0;
  drawScaledQuad(&one, &one);
  glPopMatrix();
  benchPassEnd(passOverlay);
}

void part_start::particlePass(double step, const startValues& v) {
  openParticlePass();
  simulate(step);
  beginPoints(simulator(), sets[Obelisk].colorTexture, 13);
  drawPointCount(GridSize * GridSize);
  endPoints();
  beginOverlays();
  drawTitle(v);
  glColor3f(0, 0.7f, 0.6f);  // the colour the title scene's pass leaves behind
  closeParticlePass();
}
