// part_mantis.cpp -- the line drawing: a mantis on a twig appears stroke by
// stroke as brush ribbons, a drift of motes around it, the camera close to
// the sheet.
#include "scenes/part_mantis.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <iterator>

#include "gfx/frametimer.h"
#include "gfx/particlesim.h"
#include "gfx/rendercontext.h"
#include "gfx/slots.h"
#include "platform/crandom.h"
#include "scenes/timing.h"

// ---- time script (section seconds) ---------------------------------------------------
static const int GridSize = 1536;          // particle grid, 2 359 296 points simulated
static const int DrawnPoints = 65535;      // of which the first 65 535 are drawn
static const float ShakeScale = 0.0002f;   // shake track units to scene units
static const float RibbonHalfWidth = 0.0085f;
static const float BrushRepeat = 7.0f;     // brush texture repeats per unit of stroke
static const int StrokeSeed = 42342;
static const int DepthMaterialSlot = 198;  // loaded, never drawn with

// ---- load ---------------------------------------------------------------------------------
static const int NoiseSlot = 29, BrushSlot = 66;  // above the texture base
// The scene's own load steps.
static const int CameraRoute = 0, StrokeFrames = 1, FloatTextures = 2, NoiseTexture = 3, BrushTexture = 4;
// The camera route and the stroke frames come before the shake track here;
// the programs are loaded one by one between the progress lines of the log.
static const loadRow MantisLoad[] = {
    own(CameraRoute), banner(), own(StrokeFrames), own(FloatTextures), shakeTrack(), floatTexture1D(),
    logLine("tp1 "), simulatorGrid(GridSize), logLine("tp2 "), logLine("tp3 "),
    fragment(SsaoProgram, "f_combineSSAO.cpp"), logLine("tp4 "), fragment(BlurProgram, "f_blurpass.cpp"),
    fragment(SmoothProgram, "f_smoothpass.cpp"), program(ParticleProgram, "v_particles.cpp", "f_particles.cpp"),
    program(DepthMaterialSlot, "v_material_depth.cpp", "f_material_depth.cpp"), logLine("tp5 "),
    fragment(BackgroundProgram, "f_backgroundeffect.cpp"), own(NoiseTexture), targets(),
    jpeg(BlobSprite, "textures/blob41b.jpg"), jpeg(CloudSprite, "textures/cloudt1.jpg"), own(BrushTexture),
    postOptions(SsaoNoResolution | BlurNoResolution | GlowTwice | BackgroundDrawn),
};

mantisValues mantisScript(double t, const route& shakeTrack) {
  mantisValues v;
  v.glow = ease(0.3 * (t - 3)) - ease(0.3 * (t - 82.5)) + ease(0.3 * (t - 86.5));
  // The camera drifts left while the head and neck are drawn, back right
  // for the body, then moves in twice as the drawing fills the sheet.
  v.dx = float(0.3 - 1.1 * ease(0.1 * (t - 4.6)) + 0.7 * ease(0.13 * (t - 13.6)) +
               0.24 * ease(0.45 * (t - 66.5)) - 0.096 * ease(0.2 * (t - 78.5)));
  v.dz = float(-0.18 * ease(0.2 * (t - 64)) - 0.176 * ease(0.2 * (t - 78.5)));
  v.strokeFrame = strokeFrameIndex(t);
  v.shakeSide = shakeIndex(shakeTrack, shakeClock(t));
  v.shakeUp = shakeIndex(shakeTrack, ShakeRate * t + 5);  // 81 records ahead of the side shake
  v.megaRotateRate = float(megaRotateRate(t));
  // The pen: fine for the head, bolder once the body starts (13 ... 16.5),
  // finer again for the legs and hatching (47 ... 52), bold for the last
  // accents (75 ... 82).
  v.width = float(1 + 0.3 * ease((t - 13) / 3.5) - 0.25 * ease((t - 47) / 5) + 0.2 * ease((t - 75) / 7));
  // Chalk white at first; the colours by length come in with the body
  // (21 ... 23.5) and in full with the hatching (56 ... 60).
  v.tint = float(0.25 + 0.3 * ease((t - 21) / 2.5) + 0.45 * ease((t - 56) / 4));
  // The lines already drawn step back while the wings are laid in
  // (27 ... 32) and come forward again when the twig is drawn (60 ... 63).
  v.settle = float(1 - 0.22 * ease((t - 27) / 5) + 0.22 * ease((t - 60) / 3));
  // The stroke under the pen is lit from 16.5 s until the drawing is done.
  v.pen = float(0.5 * ease((t - 16.5) / 4.5) * (1 - ease((t - 82) / 3)));
  return v;
}

camera mantisCamera(const mantisValues& v, const route& shakeTrack, double pointerY) {
  camera c;
  c.eye = vec3(0, float(pointerY), 2);
  c.centre = vec3(0, 0, 0);
  c.up = vec3(0, 1, 0);
  c.fovy = 51.4;
  vec3 side = cross(normalise(c.centre - c.eye), c.up);
  // Moved, not turned: eye and look-at point shift together.
  vec3 p1, p2;
  if (v.shakeSide >= 0) p1 = shakeTrack.points[size_t(v.shakeSide)];
  if (v.shakeUp >= 0) p2 = shakeTrack.points[size_t(v.shakeUp)];
  vec3 sideways = side * (p1.x * ShakeScale), upward = c.up * (p2.x * ShakeScale);
  c.centre = c.centre + sideways + upward;
  c.eye = c.eye + sideways + upward;
  c.centre.x += v.dx;
  c.eye.z += v.dz;
  c.lookShift = vec3(v.dx, 0, 0);  // the eye pans with the look-at point, seen by the lens only
  return c;
}

// ---- stroke ribbons -----------------------------------------------------------------------

bool strokeDrawn(const route& stroke, size_t index) { return index >= 1 && stroke.points.size() > 15; }

float strokeLength(const route& stroke) {
  float sum = 0;
  for (size_t i = 1; i < stroke.points.size(); ++i) {
    float dx = stroke.points[i].x - stroke.points[i - 1].x, dy = stroke.points[i].y - stroke.points[i - 1].y;
    sum += std::sqrt(dx * dx + dy * dy);
  }
  return sum;
}

vec3 strokeMean(const route& stroke) {
  vec3 sum;
  for (const vec3& p : stroke.points) sum = sum + p;
  return stroke.points.empty() ? sum : sum / float(stroke.points.size());
}

vec3 strokeColour(float length, const vec3& r, float tint) {
  vec3 palette(0.5f * std::sin(4 * length) + 0.5f, 0.5f * std::sin(1.04f * length) + 0.75f,
               0.5f * std::sin(2.8f * length) + 0.75f);
  vec3 chalk(0.96f, 0.92f, 0.84f);
  vec3 c = chalk + (palette - chalk) * tint;
  vec3 nudge = (r - vec3(0.5f, 0.5f, 0.5f)) * 0.12f;
  c = c + nudge;
  auto clamp01 = [](float x) { return x < 0 ? 0.0f : (x > 1 ? 1.0f : x); };
  return vec3(clamp01(c.x), clamp01(c.y), clamp01(c.z));
}

void buildRibbon(const route& stroke, float halfWidth, float stretch, std::vector<ribbonEdge>& out) {
  out.clear();
  // Work on screen proportions: x stretched, so the ribbon is equally wide
  // whichever way it runs.
  std::vector<vec3> p;
  p.reserve(stroke.points.size());
  for (const vec3& q : stroke.points)
    if (std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z)) p.push_back(vec3(q.x * stretch, q.y, q.z));
  size_t n = p.size();
  if (n < 2) return;
  // A repeated point has no direction of its own: it keeps the side of the
  // point before it (the first points, the upright side).
  float sideX = 0, sideY = 1, along = 0;
  for (size_t i = 0; i < n; ++i) {
    const vec3& a = p[i ? i - 1 : 0];
    const vec3& b = p[i + 1 < n ? i + 1 : n - 1];
    float tx = b.x - a.x, ty = b.y - a.y, len = std::sqrt(tx * tx + ty * ty);
    if (len > 1e-7f) {
      sideX = -ty / len;
      sideY = tx / len;
    }
    if (i) {
      float dx = p[i].x - p[i - 1].x, dy = p[i].y - p[i - 1].y;
      along += std::sqrt(dx * dx + dy * dy) * BrushRepeat;
    }
    float pressure = std::min(std::max(p[i].z, 0.0f), 1.0f);
    float w = halfWidth * (0.12f + pressure);
    out.push_back({(p[i].x + sideX * w) / stretch, p[i].y + sideY * w, (p[i].x - sideX * w) / stretch,
                   p[i].y - sideY * w, along, pressure});
  }
}

// ---- load ---------------------------------------------------------------------------------

// A float texture of zeros with nearest filtering (the section's depth and
// spline textures; the spline texture keeps three channels of the four
// floats a source texel holds).
static GLuint zeroFloatTexture(int width, int height, GLint internalFormat, GLenum format, int channels) {
  std::vector<float> zeros(size_t(width) * height * channels, 0.0f);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_FLOAT, zeros.data());
  return name;
}

part_mantis::part_mantis(const sectionRow& r) : scene(r, MantisLoad, std::size(MantisLoad)) {}

void part_mantis::ownLoadStep(int step) {
  switch (step) {
    case CameraRoute: readTextRoute(cameraRoute, "Part_mantis//camroutes.rt"); break;
    case StrokeFrames: listStrokeFrames(strokeFiles, "Routes//prs_*.rt", "Routes//", true); break;
    case FloatTextures:
      if (!depthTexture) depthTexture = zeroFloatTexture(640, 480, GL_R32F, GL_RED, 1);
      if (!splineTexture) splineTexture = zeroFloatTexture(500, 300, GL_RGB32F, GL_RGBA, 4);
      break;
    case NoiseTexture: rc->createNoiseTexture(textureBase + NoiseSlot, 640, 480); break;
    case BrushTexture:
      rc->loadJpgRgba("textures/tex1.jpg", "textures/tex1.jpg", textureBase + BrushSlot);
      rc->bindTexture(textureBase + BrushSlot);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
      break;
  }
}

// ---- frame --------------------------------------------------------------------------------

void part_mantis::script(double step) {
  now = mantisScript(t, shake);
  cam = mantisCamera(now, shake, frame.pointerY);
  post.glow = float(now.glow);
  megaRotate += float(now.megaRotateRate * step);
}

void part_mantis::render(double* step) {
  openFrame(cam);
  particlePass(*step, now);
  postPasses();
}

void part_mantis::readStrokes(double clock) {
  strokeFrame = strokeFrameIndex(clock);
  std::string name = strokeFrameName(strokeFiles, strokeFrame);
  std::vector<route> fresh(1);
  fresh[0].count = -1;  // stays only when the file cannot be read
  readStrokeFrame(name.c_str(), fresh);
  if (fresh.size() == 1 && fresh[0].count == -1) {
    if (!missingLogged) std::cout << "Stroke frame missing: '" << name << "'" << std::endl;
    missingLogged = true;
    return;  // the last frame's strokes stay
  }
  strokes.swap(fresh);
}

// ---- particle pass ------------------------------------------------------------------------

void part_mantis::drawStrokes(const mantisValues& v) {
  benchPassBegin(passOverlay);
  cSrand(StrokeSeed);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glActiveTexture(GL_TEXTURE0);
  rc->bindTexture(textureBase + BrushSlot);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  std::vector<ribbonEdge> ribbon;
  float halfWidth = RibbonHalfWidth * v.width;
  for (size_t s = 1; s < strokes.size(); ++s) {
    const route& stroke = strokes[s];
    float length = strokeLength(stroke);
    vec3 mean = strokeMean(stroke);
    float r1 = float(frand()), r2 = float(frand()), r3 = float(frand());
    if (!strokeDrawn(stroke, s)) continue;
    vec3 colour = strokeColour(length, vec3(r1, r2, r3), v.tint);
    float light = s + 1 == strokes.size() ? 1 + v.pen : v.settle;
    buildRibbon(stroke, halfWidth, DrawingStretch, ribbon);
    // every strip starts from the same draws, so a stroke looks the same in every frame
    cSrand(StrokeSeed);
    float shift = std::fmod(std::fabs(mean.x * 7.31f + mean.y * 3.17f), 1.0f);  // each stroke its own bristles
    glBegin(GL_QUAD_STRIP);
    for (const ribbonEdge& e : ribbon) {
      float alpha = std::min(1.0f, 0.6f + 0.6f * e.pressure);
      glColor4f(colour.x * light, colour.y * light, colour.z * light, alpha);
      glTexCoord2f(e.along + shift, 0.02f);
      glVertex3f(e.lx, e.ly, 0);
      glTexCoord2f(e.along + shift, 0.98f);
      glVertex3f(e.rx, e.ry, 0);
    }
    glEnd();
  }
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  benchPassEnd(passOverlay);
}

// No point set is loaded: the position and colour samplers read texture 0
// and the cloud is made from the particle index and the curl volume.
void part_mantis::simulate(double step) {
  stepCloud(step, {
      {"OriginalPositionTexture", 7, 0},
      {"Swirl_Texture", 15, textureName(textureBase + FirstTitleSlot)},
      {"OriginalPositionTexture_Fish", 15, 0},
      {"OriginalPositionTexture_Bird", 16, 0},
      {"OriginalColorTexture", 8, 0},
      {"Original1DTexture", 17, textureName(texture1D), GL_TEXTURE_1D},
      {"DepthTexture", 14, depthTexture},
      {"SplineTexture", 13, splineTexture},
  });
}

void part_mantis::particlePass(double step, const mantisValues& v) {
  openParticlePass();

  // The drawing: this frame's strokes, read from disk.
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glMatrixMode(GL_MODELVIEW);
  glScalef(DrawingStretch, 1, 1);
  readStrokes(t);
  glEnable(GL_DEPTH_TEST);
  drawStrokes(v);

  simulate(step);
  // The motes are added over the drawing; they test against its depth but
  // write none, so a mote behind a line is hidden and none hides another.
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glBlendFunc(GL_ONE, GL_ONE);
  glDepthMask(GL_FALSE);
  beginPoints(simulator(), 0, 13);
  glPushMatrix();
  drawPointCount(DrawnPoints);
  glPopMatrix();
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  endPoints();

  glScalef(DrawingStretch, 1, 1);  // the drawing's stretch once more, then the matrices reset
  closeParticlePass();
}
