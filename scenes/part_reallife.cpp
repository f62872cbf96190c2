// part_reallife.cpp -- the bird scene: a flapping bird's silhouette shapes
// the particle cloud, the lens widens, marble statues and black birds fly
// through at the end.
#include "scenes/part_reallife.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>
#include <iterator>

#include "gfx/frametimer.h"
#include "gfx/particlesim.h"
#include "gfx/rendercontext.h"
#include "gfx/textures.h"
#include "platform/crandom.h"
#include "scenes/timing.h"

// ---- time script (section seconds) ---------------------------------------------------
static const double SwingFrom = 28.0;    // the camera swings out to x = 5 over 5 s
static const double GlideFrom = 44.0;    // then glides to (3.4, 0, 0) over 10 s
static const double StatuesFrom = 48.0;  // five statues fly through from here
static const double BirdsFrom = 49.0;    // eleven birds from here
static const int GridSize = 1536;        // particle grid, 2 359 296 points
static const int StatueCount = 5, BirdCount = 11;
static const double WakeSeconds = 1.6;   // an ember cools out of sight in this time
static const double WakeStep = 0.1;      // section seconds per step of the wake played in after a seek
static const int MaterialSlot = 199;     // flaps the bird mesh, writes black

// ---- load ---------------------------------------------------------------------------------
static const int Obelisk = 0, Sphere = 1;  // point sets the compute program samples
static const int Bird = 0, Statue = 1;     // meshes: the silhouette and the flights
static const pointSetRequest ObeliskSet{"newobjects//obelisk.obj", GridSize, GridSize, 450, 450, 1, 1, 1};
static const pointSetRequest SphereSet{"newobjects//sphere2.obj", GridSize, GridSize, 15, 38, 1, 1, 1};
static const loadRow ReallifeLoad[] = {
    shakeTrack(), banner(), simulatorGrid(GridSize), points(Obelisk, ObeliskSet),
    mesh(Bird, "newobjects//bird_good.obj", 0.08), mesh(Statue, "newobjects//cronus.obj", 0.08),
    points(Sphere, SphereSet),
    scenePrograms(), program(MaterialSlot, "v_material1.cpp", "f_material1.cpp"),
    fragment(BackgroundProgram, "f_backgroundeffect.cpp"), targets(),
    // the blur pass paints the sky wherever colour A stayed open: the
    // background effect is only made current
    jpeg(BlobSprite, "textures/blob41b.jpg"), postOptions(SsaoAspect | SsaoNoResolution),
};

double reallifeStep(double, double step) { return step * 1.05; }

float reallifeRadius(double t) { return float(0.4 + 4 * ease(0.2 * t) + rampIn(0.4 * (t - 20))); }

double reallifeFovy(double t) { return 15 + 30 * ease(0.05 * (t - 16)); }

camera reallifePath(double t) {
  camera c;
  float r = reallifeRadius(t);
  c.eye = vec3(r * std::sin(float(M_PI / 2)), 0, r * std::cos(float(M_PI / 2)));
  c.centre = vec3(0, 0, 0);
  c.up = vec3(0, 1, 0);
  c.fovy = reallifeFovy(t);
  double a = 1 - 0.2 * t, k1 = ease(0.2 * (t - SwingFrom));
  keyedMove(c.eye, vec3(float(5 + 5 * std::sin(a)), -1, float(2 * std::cos(a))), k1);
  keyedMove(c.centre, vec3(5, 0, 0), k1);
  double k2 = ease(0.1 * (t - GlideFrom));
  keyedMove(c.eye, vec3(3.4f, 0, 0), k2);
  keyedMove(c.centre, vec3(6, 0, 0), k2);
  return c;
}

camera reallifeCamera(double t, const route& shakeTrack) {
  camera c = reallifePath(t);
  shakeSample s = shakeAt(shakeTrack, shakeClock(t));
  float amp = float(shakeSwell(t)) * float(ShakeBase);
  c.centre = c.centre + shakeOffset(c, s.p, amp);
  c.up.x = shakeRoll(s.a, amp);
  return c;
}

camera silhouetteCamera(double t, const route& shakeTrack) {
  camera c;
  float lift = float(0.7 * ease(t));
  c.eye = vec3(7, lift, 0);
  c.centre = vec3(0, lift, 0);
  c.up = vec3(0, 1, 0);
  c.fovy = 45;
  shakeSample s = shakeAt(shakeTrack, 47 * t - 32);
  float amp = float(0.0047931 * ease(1.5 * t));
  c.centre = c.centre + shakeOffset(c, s.p, amp);
  c.up.x += shakeRoll(s.a, amp);
  return c;
}

// Each draw is its own statement: the order of the generator's draws is the
// order the placements were authored in.
static float draw01() { return float(frand()); }

std::vector<statuePose> statuesAt(double t) {
  std::vector<statuePose> out;
  cSrand(2382);
  for (int k = 0; k < 1000; ++k) frand();
  if (!(t > StatuesFrom)) return out;
  for (int k = 0; k < StatueCount; ++k) {
    statuePose s;
    float r1 = draw01();
    float r2 = draw01();
    vec3 q = vec3(0, 2 * r2 - 1, 2 * r1 - 1) * 6.0f;
    float r3 = draw01();
    s.offset = vec3(0, float((0.5 * r3 + 0.5) * (t - 55) * 1.1 - 0.6 - 1.6 + q.y), q.z);
    float r4 = draw01();
    float r5 = draw01();
    s.spin = float((0.5 * r5 + 1) * 20 * t) * (r4 >= 0.5f ? -1.0f : 1.0f);
    s.tiltX = 0.2f * draw01();
    float r7 = draw01();
    float size = 1.4f * (r7 + 1);
    s.scale = 0.3f * size;
    out.push_back(s);
  }
  return out;
}

std::vector<birdPose> birdsAt(double t) {
  std::vector<birdPose> out;
  cSrand(4242);
  if (!(t > BirdsFrom)) return out;
  for (int k = 0; k < BirdCount; ++k) {
    birdPose b;
    float r1 = draw01();
    float r2 = draw01();
    vec3 q = vec3(0, 2 * r2 - 1, 4 * r1 - 2) * 6.0f;  // its x, from the third control value, is never used
    float r3 = draw01();
    float r4 = draw01();
    b.offset = vec3(2 * r4 + 14.2f, q.y, float((0.5 * r3 + 0.5) * (t - 55) * 3.4 - 0.6 - 1.6 + q.z));
    float r5 = draw01();
    b.clock = float((0.2 * r5 + 1) * t);
    float r6 = draw01();
    b.scale = 0.3f * (r6 + 0.5f);
    out.push_back(b);
  }
  return out;
}

part_reallife::part_reallife(const sectionRow& r) : scene(r, ReallifeLoad, std::size(ReallifeLoad)) {
  blurSlot = LegacyBlurSlot;
  cloudAllTime = true;
}

// ---- frame --------------------------------------------------------------------------------

void part_reallife::script(double step) {
  cam = reallifeCamera(t, shake);
  shakeRec.push(cam.centre - reallifePath(t).centre);
  megaRotate += float(megaRotateRate(t) * step);
}

void part_reallife::render(double* step) {
  if (wakeDue) playWake();
  silhouettePass();
  openFrame(cam);
  particlePass(*step);
  postPasses();
}

// The flapping bird from its side, black on white, into colour A: the
// compute program reads it as "Swirl_Texture".
void part_reallife::silhouettePass() {
  benchPassBegin(passSilhouette);
  rc->attachColor(FrameTarget, 0, colorA);
  rc->bindRenderTarget(FrameTarget, 1);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 1.6, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  camera c = silhouetteCamera(t, shake);
  gluLookAt(c.eye.x, c.eye.y, c.eye.z, c.centre.x, c.centre.y, c.centre.z, c.up.x, c.up.y, c.up.z);
  glClearColor(1, 1, 1, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  shaders.useProgram(MaterialSlot);
  shaders.setFloat(MaterialSlot, "ttime", float(t));
  glColor3f(0, 0, 0);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  meshes[Bird].draw(-1);
  shaders.useNoProgram();
  glColor3f(1, 1, 1);
  cSrand(42342);
  rc->resolveRenderTarget(FrameTarget, rc->width, rc->height, 1, false);
  rc->bindWindowFramebuffer();
  glClearColor(0, 0, 0, 0);
  benchPassEnd(passSilhouette);
}

// ---- particle pass ------------------------------------------------------------------------

void part_reallife::particlePass(double step) {
  openParticlePass();
  simulate(step);
  beginPoints(simulator(), sets[Sphere].colorTexture, 13);
  drawPointCount(GridSize * GridSize);
  endPoints();
  beginOverlays();  // the statues are drawn by the fixed pipeline
  benchPassBegin(passOverlay);
  glColor3f(1, 1, 1);
  statueFlight();
  birdFlight();
  glAlphaFunc(GL_ALWAYS, 0.05f);  // the flights leave the alpha reference passing everything
  warmColour();
  closeParticlePass();
  benchPassEnd(passOverlay);
}

void part_reallife::restartClouds() {
  scene::restartClouds();
  wakeDue = true;
}

// A cloud born anew holds the bird and the dust but none of the embers the
// wings let go in the last strokes, and those come from silhouettes that are
// gone. So after a seek the last WakeSeconds are stepped again, each step
// with the silhouette of its own moment, before the frame is drawn (only
// back to the section's start, where a played cloud has no wake either).
void part_reallife::playWake() {
  wakeDue = false;
  const double now = t, demoNow = frame.demoTime;
  for (double back = WakeSeconds; back > WakeStep * 0.5; back -= WakeStep) {
    if (now - back < row.startClock) continue;
    t = now - back;
    frame.demoTime = demoNow - back;
    silhouettePass();
    openParticlePass();
    simulate(WakeStep);
  }
  t = now;
  frame.demoTime = demoNow;
}

// The shell of sparks turns about the vertical; the bird's silhouette of
// this frame is the swirl texture.
void part_reallife::simulate(double step) {
  stepCloud(step, {
      {"OriginalPositionTexture", 7, sets[Obelisk].positionTexture},
      {"Swirl_Texture", 15, textureName(colorA)},
      {"OriginalPositionTexture_Bird", 16, sets[Sphere].positionTexture},
      {"OriginalColorTexture", 8, sets[Sphere].colorTexture},
  });
}

// Five statues drift up through the far side of the view: unlit white, with
// no program; the occlusion pass shades their folds from the depth.
void part_reallife::statueFlight() {
  std::vector<statuePose> poses = statuesAt(t);  // reseeds and discards even when none fly
  glDisable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 0);
  for (const statuePose& s : poses) {
    glPushMatrix();
    glTranslatef(12.8f, 0, 0);
    glTranslatef(s.offset.x, s.offset.y, s.offset.z);
    glRotatef(s.spin, 0, 1, 0);
    glRotatef(45, s.tiltX, 1, 0.3f);
    glScalef(s.scale, s.scale, s.scale);
    meshes[Statue].draw(-1);
    glPopMatrix();
  }
}

// Eleven black birds cross the view to the right, each flapping on its own
// clock.
void part_reallife::birdFlight() {
  std::vector<birdPose> poses = birdsAt(t);
  shaders.useProgram(MaterialSlot);
  for (const birdPose& b : poses) {
    glPushMatrix();
    glTranslatef(12.8f, 0, 0);
    glTranslatef(b.offset.x, b.offset.y, b.offset.z);
    glColor3f(0, 0, 0);
    glScalef(b.scale, b.scale, b.scale);
    shaders.useProgram(MaterialSlot);
    shaders.setFloat(MaterialSlot, "ttime", b.clock);
    glColor3f(0, 0, 0);
    meshes[Bird].draw(-1);
    glPopMatrix();
  }
}
