// part_intro.cpp -- the long opening: the cloud morphs obelisk -> DNA ->
// fish -> birds (the choreography lives in the compute program), the keyed
// camera orbits, sinks and dives with it, a swing swarm hangs beside the
// strand and the logo flickers in near 50 s.
#include "scenes/part_intro.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "gfx/frametimer.h"
#include "gfx/quads.h"
#include "gfx/rendercontext.h"
#include "gfx/textures.h"
#include "platform/crandom.h"
#include "scenes/timing.h"

// ---- time script (section seconds) ---------------------------------------------------
static const double BurstAt = 18.2;      // the shake burst rises here, fades from 19
static const double SwingFrom = 35.5;    // the swing swarm is simulated and drawn ...
static const double SwingTo = 60.0;      // ... until here
static const double DescentFrom = 58.0;  // the look-at point sinks 0.1 units a second
static const int GridSize = 1536;        // main cloud, 2 359 296 points
static const int SwingSize = 512;        // swing swarm, 262 144 points
static const int SwingSlot = 113;        // the swing's point program

// The frame step: the opening runs slower, then catches up; a brief
// near-stop at 51 ... 53 s; the last seconds speed up the sections after it.
static const double SlowTo = 18.0;        // x 0.84 before here
static const double CatchUpTo = 36.0;     // x 1.1785714285714286 from SlowTo to here
static const double NearStopFrom = 51.0, NearStopTo = 52.0;
static const double FasterTo = 40.0;      // x 1.12 before here
static const double FastestTo = 5.0;      // and x 1.05 before here
static const double PassOnFrom = 164.0;   // the step handed on x 1.1 from here
static const double PassOnMoreFrom = 168.0;  // and x 1.2 more from here

// ---- load ---------------------------------------------------------------------------------
static const int Obelisk = 0, Swing = 1, Logo = 2, Dna = 3, Fish = 4, Birds = 5;  // point sets
static const int MaterialSlot = SpareProgram;  // made current and released, never drawn with
static const int LogoTexture = 413;            // above the texture base
static const int SwingSimulator = 0;           // the own load step: the swing swarm's simulator
static const pointSetRequest ObeliskSet{"newobjects//obelisk.obj", GridSize, GridSize, 450, 450, 1, 1, 1};
static const pointSetRequest SwingSet{"newobjects//swing.obj", SwingSize, SwingSize, 30, 6, 1, 1, 1};
static const pointSetRequest LogoSet{"newobjects//logo.obj", SwingSize, SwingSize, 30, 30, 1, 1, 1};
static const pointSetRequest DnaSet{"newobjects//DNA.obj", GridSize, GridSize, 100, 40, 1, 1, 1};
static const pointSetRequest FishSet{"newobjects//fish.obj", GridSize, GridSize, 80, 40, 1, 1, 1};
static const pointSetRequest BirdSet{"newobjects//bird.obj", GridSize, GridSize, 80, 50, 1, 1, 1};
static const loadRow IntroLoad[] = {
    shakeTrack(), banner(),
    simulatorGrid(GridSize), points(Obelisk, ObeliskSet), own(SwingSimulator),
    points(Swing, SwingSet), points(Logo, LogoSet),
    postOptions(SsaoAspect | SsaoNoResolution | BlurNoResolution | ShakeMove | BackgroundDrawn),
    scenePrograms(), program(SwingSlot, "v_particles_Swing.cpp", "f_particles.cpp"),
    program(MaterialSlot, "v_material1.cpp", "f_material1.cpp"), fragment(BackgroundProgram, "f_backgroundeffect.cpp"),
    targets(), points(Dna, DnaSet),
    jpeg(BlobSprite, "textures/blob41b.jpg"), jpeg(LogoTexture, "textures/obelisk_logo2.jpg"),
    points(Fish, FishSet), points(Birds, BirdSet),
};

double introStep(double t, double step) {
  if (t < SlowTo) step *= 0.84;
  if (t > SlowTo && t < CatchUpTo) step *= 1.1785714285714286;
  step *= 1 - 0.9 * (ease(0.9 * (t - NearStopFrom)) - ease(0.9 * (t - NearStopTo)));
  if (t < FasterTo) step *= 1.12;
  if (t < FastestTo) step *= 1.05;
  return step;
}

double introPassOn(double t, double step) {
  if (t > PassOnFrom) step *= 1.1;
  if (t > PassOnMoreFrom) step *= 1.2;
  return step;
}

introValues introScript(double t, const route& shakeTrack) {
  introValues v;
  float zoom = float(ease(2.5 * (t - 90.8)) - ease(0.5 * (t - 93)) + 0.8 * ease(2.5 * (t - 75)) -
                     0.8 * ease(0.35 * (t - 76.5)));
  v.fovy = 45 - 30 * double(zoom);
  const float base = float(ShakeBase);
  double b = base;
  if (t > 18) b = base * (50 * (1 - ease(0.75 * (t - 19))) * ease(5 * (t - BurstAt)) + 1);
  v.shakeAmplitude = float((8 * ease(t - DescentFrom) + 1) * b);
  v.shake = shakeAt(shakeTrack, shakeClock(t));
  v.swing = t > SwingFrom && t < SwingTo;
  v.logoFade = ease(0.5 * (t - 49.5)) - ease(0.5 * (t - 53));
  v.logoShown = logoCoin(t, v.logoFade);

  v.turn = rot(0, 1.5, 0);
  if (t > 18) v.turn = rot(0, 1.5 + 0.2 * (t - 18) + 7.853975 * ease(0.3 * (t - 18)), 0);
  if (t > 30) v.turn = rot(0, -0.1, 0);
  if (t > 57) v.turn = rot(0.3 * rampIn(t - 57), 1.2 * rampIn(t - 78) - 1.4 * rampIn(t - 57) - 0.1, 0);
  v.tumble = rot(-0.3 * t, -0.7 * t, 0.1 * t);
  v.lateTurn = rot(0, 4 * M_PI * ease(0.077 * (t - 138)), 0);
  double swingAmplitude = 2 - ease(0.2 * (t - 34));
  v.swing1 = rot(std::sin(t) * swingAmplitude, 0, 0);
  v.swing2 = rot(std::sin(t + 0.5) * swingAmplitude, 0, 0);
  return v;
}

bool logoCoin(double t, double fade) {
  // the seed is clamped before it becomes an integer: 424 t + 424 is
  // negative for t < -1 and overflows 32 bits for very large t
  double seed = std::min(std::max(424.0 * t + 424.0, 0.0), 4294967295.0);
  cSrand(uint32_t(seed));
  for (int k = 0; k < 1000; ++k) cRand();
  double r = frand();
  return fade > r;
}

// One keyed move of the table: which vector, toward what, with what weight.
struct keyedRow {
  vec3 camera::*v;
  vec3 target;
  double k;
};

camera introKeyedCamera(double t) {
  camera c;
  c.eye = vec3(float(5.5 * std::sin(0.05 * t - 3)), 1.3f, float(5.5 * std::cos(0.05 * t - 3)));
  c.centre = vec3(0, 0.3f, 0);
  c.up = vec3(0, 1, 0);
  const float y = float(-0.1 * (t - DescentFrom));
  const double r = 3 + ease(0.2 * (t - 100));
  const double push = 0.01 * (t - 117), slide = 0.2 * rampIn(0.5 * (t - 120));
  const double dive = 2 * (t - 152) + 1 - 1.3 * rampIn(t - 167);
  const vec3 tilt(0, 0.2f, -0.7f), level(0, 1, 0);
  auto f = [](double x) { return float(x); };
  const keyedRow rows[] = {
      {&camera::eye, vec3(4, 2, 1), ease(0.15 * (t - 40))},
      {&camera::centre, vec3(0, 1, 0), ease(0.15 * (t - 40))},
      {&camera::eye, vec3(4, y, 0), ease(0.3 * (t - 58))},
      {&camera::centre, vec3(0, y, 0), ease(0.3 * (t - 58))},
      {&camera::eye, vec3(f(4 * std::sin(0.5 * (t - 81))), y, f(4 * std::cos(0.5 * (t - 81)))), ease(0.2 * (t - 82))},
      {&camera::centre, vec3(0, y, 0), ease(0.2 * (t - 82))},
      {&camera::eye, vec3(f(r * std::sin(0.3 * (t - 97))), 1.5f + y, f(r * std::cos(0.3 * (t - 97)))),
       ease(0.25 * (t - 93.4))},
      {&camera::centre, vec3(0, 1 + y, 0), ease(0.25 * (t - 93.4))},
      {&camera::up, tilt, ease(0.4 * (t - 86)) - ease(t - 98)},
      {&camera::up, tilt, ease(0.5 * (t - 103))},
      {&camera::eye, vec3(-5, 1.5f + y, 0), ease(0.25 * (t - 111))},
      {&camera::centre, vec3(0, 1 + y, 0), ease(0.25 * (t - 111))},
      {&camera::up, vec3(0, 1, 0.3f), ease(0.25 * (t - 111))},
      {&camera::eye, vec3(-5, 2 + y, f(0.5 + push + slide)), ease(0.25 * (t - 117))},
      {&camera::centre, vec3(0, 1.5f + y, f(0.5 + slide)), ease(0.25 * (t - 117))},
      {&camera::up, level, ease(0.25 * (t - 117))},
      {&camera::eye, vec3(-4, 3 + y, f(3.9 + push)), ease(0.4 * (t - 132))},
      {&camera::centre, vec3(0, 1.5f + y, 3.9f), ease(0.4 * (t - 132))},
      {&camera::up, level, ease(0.4 * (t - 132))},
      {&camera::eye, vec3(-4, 3 + y, f(0.5 + push)), ease(0.3 * (t - 139))},
      {&camera::centre, vec3(0, 1.5f + y, 0.5f), ease(0.3 * (t - 139))},
      {&camera::up, level, ease(0.3 * (t - 139))},
      {&camera::eye, vec3(-5, -6.9f, f(0.5 + push + dive)), ease(0.3 * (t - 151))},
      {&camera::centre, vec3(0, -6.9f, f(dive + 0.5)), ease(0.3 * (t - 151))},
      {&camera::up, level, ease(0.3 * (t - 151))},
  };
  for (const keyedRow& row : rows) keyedMove(c.*row.v, row.target, row.k);
  if (t > 40) {  // the roll dip of the move to (4, 2, 1)
    double u = std::min(std::max(0.15 * (t - 40), 0.0), 1.0);
    double s = std::sin(M_PI * u);
    c.up.z -= float(0.3 * s * s);
  }
  return c;
}

camera introCamera(double t, const introValues& v, vec3& record) {
  camera c = introKeyedCamera(t);
  c.fovy = v.fovy;
  vec3 p = v.shake.index >= 0 ? v.shake.p : vec3();
  float amp = v.shakeAmplitude;
  c.centre = c.centre + shakeOffset(c, p, amp);
  record = vec3(p.x * amp, p.y * amp, 0);
  c.up.x += shakeRoll(v.shake.a, amp);
  return c;
}

part_intro::part_intro(const sectionRow& r) : scene(r, IntroLoad, std::size(IntroLoad)) { blurSlot = LegacyBlurSlot; }

void part_intro::ownLoadStep(int step) {
  if (step != SwingSimulator) return;
  swingSim.width = swingSim.height = SwingSize;
  swingSim.load(std::string(row.shaderDir) + "ComputeShaderSwing.cpp");
  swingSim.curlTexture = simulator().curlTexture;  // copied once the main cloud has its own
}

void part_intro::restartClouds() {
  scene::restartClouds();
  swingSim.stored = false;
}

// ---- frame --------------------------------------------------------------------------------

// The frame's script values are evaluated once, after the clock moved.
void part_intro::script(double) {
  now = introScript(t, shake);
  vec3 record;
  cam = introCamera(t, now, record);
  shakeRec.push(record);
}

void part_intro::render(double* step) {
  openFrame(cam);
  particlePass(*step, now);
  postPasses();
}

// ---- particle pass ------------------------------------------------------------------------

void part_intro::simulateCloud(double step, const introValues& v) {
  particlesim& sim = simulator();
  sim.beginStep(float(t), float(step));
  setFloat(sim.program, "PosY", float(frame.pointerY));
  setFloat(sim.program, "alltime", float(frame.demoTime));
  setMatrix(sim.program, "RotationMatrix", v.turn);
  setMatrix(sim.program, "RotationMatrix3", v.tumble);
  setMatrix(sim.program, "RotationMatrix4", v.lateTurn);
  sim.bindSamplers({
      {"OriginalPositionTexture", 7, sets[Obelisk].positionTexture},
      {"OriginalPositionTexture_Obelisk", 14, sets[Dna].positionTexture},
      {"OriginalPositionTexture_Fish", 15, sets[Fish].positionTexture},
      {"OriginalPositionTexture_Bird", 16, sets[Birds].positionTexture},
      {"OriginalColorTexture", 8, sets[Obelisk].colorTexture},
  });
  sim.dispatch();
}

void part_intro::simulateSwing(double step, const introValues& v) {
  swingSim.beginStep(float(t), float(step));
  setFloat(swingSim.program, "PosY", float(frame.pointerY));
  setMatrix(swingSim.program, "RotationMatrix", v.swing1);
  setMatrix(swingSim.program, "RotationMatrix2", v.swing2);
  swingSim.bindSamplers({
      {"OriginalPositionTexture", 7, sets[Swing].positionTexture},
      {"OriginalColorTexture", 8, sets[Swing].colorTexture},
      {"OriginalPositionTextureLogo", 12, sets[Logo].positionTexture},
  });
  swingSim.dispatch();
}

// The main cloud is stepped and drawn, added (one, one) over what is there
// and depth tested: the nearest point keeps its pixel's depth and a point
// behind it adds nothing. Then the swing swarm, with blending already off.
void part_intro::particleWork(double step, const introValues& v) {
  // the swing swarm's storage is made with the main cloud's, so that memory
  // steps once, on the scene's first frame, and not again at 35.5 s
  if (!swingSim.stored) swingSim.makeStorage();
  benchPassBegin(passCompute);
  simulateCloud(step, v);
  benchPassEnd(passCompute);
  glActiveTexture(GL_TEXTURE0);
  beginPoints(simulator(), sets[Obelisk].colorTexture, 8);
  drawPointCount(GridSize * GridSize);
  endPoints();
  if (!v.swing) return;
  benchPassBegin(passCompute);
  simulateSwing(step, v);
  benchPassEnd(passCompute);
  glActiveTexture(GL_TEXTURE0);
  beginPoints(swingSim, sets[Swing].colorTexture, 8, SwingSlot);
  drawPointCount(SwingSize * SwingSize);
  endPoints();
}

// The material program is made current and released; nothing is drawn with it.
void part_intro::materialStub() {
  shaders.useProgram(MaterialSlot);
  shaders.setFloat(MaterialSlot, "ttime", float(t));
  shaders.useNoProgram();
  warmColour();
}

// The logo in the upper right, shown in a frame when its fade beats that
// frame's coin. The quad reaches from y = 0.2 to 1.2, past the top of the
// window; the image keeps its emblem in the lower four fifths.
void part_intro::logoFlicker(const introValues& v) {
  benchPassBegin(passOverlay);
  identityMatrices();
  glEnable(GL_BLEND);  // added: the image's black margins leave the frame as it is
  glBlendFunc(GL_ONE, GL_ONE);
  glEnable(GL_TEXTURE_2D);
  rc->bindTexture(textureBase + LogoTexture);
  glColor3f(1, 1, 1);
  glPushMatrix();
  glTranslatef(0.7f, 0.7f, 0);
  float fade = float(v.logoFade);
  glColor3f(fade, fade, fade);
  if (v.logoShown) {
    double sx = 0.28125, sy = 0.5;
    drawScaledQuad(&sx, &sy);
  }
  glPopMatrix();
  benchPassEnd(passOverlay);
}

void part_intro::particlePass(double step, const introValues& v) {
  openParticlePass(passOpening::added);  // the main cloud is added; the logo's coin drew from the generator
  particleWork(step, v);
  materialStub();
  logoFlicker(v);
  closeParticlePass();
}
