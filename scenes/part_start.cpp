// part_start.cpp -- the title scene. Every scene section repeats this
// anatomy: load once; per frame a prologue (record in, own clock, hand-over),
// the camera, the particle pass into render target 0, the post passes to the
// window, and an epilogue (record back).
#include "scenes/part_start.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <iostream>

#include "app/app.h"
#include "driver/frametimer.h"
#include "gfx/quads.h"
#include "gfx/rendercontext.h"
#include "gfx/textures.h"
#include "platform/crandom.h"
#include "scenes/timing.h"

// ---- time script (section seconds) ---------------------------------------------------
static const double StartClock = -13.5;   // the section starts with the obelisk forming
static const double StretchFrom = 14.0;   // frame step stretched up to 18 % from here
static const double StretchGain = 0.18;
static const double TitleIn = 5.0;        // first card fades in over 4 s
static const double TitleSwitch = 15.3;   // second card replaces the first
static const double TitleOut = 18.0;      // cards fade out over 4 s
static const double HandOver = 27.0;      // hands over to the intro
static const int FirstTitle = 30, SecondTitle = 31;
static const int GridSize = 1536;         // particle grid, 2 359 296 points
static const char* ShaderDir = "Part_start//shaders//";

startValues startScript(double t, const route& shakeTrack) {
  startValues v;
  v.stepFactor = t > StretchFrom ? 1 + StretchGain * ease(t - StretchFrom) : 1.0;
  v.fade = ease(0.25 * (t - TitleIn)) - ease(0.25 * (t - TitleOut));
  v.titleSlot = t > TitleSwitch ? SecondTitle : FirstTitle;
  // The shake swells after 30 s and calms after 36 s; the scene hands over
  // before, so only the base amplitude is ever seen.
  float s1 = float(ease(2 * (t - 30.2)) * (1 - ease(0.75 * (t - 49))));
  float s2 = float(1 - 0.7 * ease(0.5 * (t - 36)));
  float s3 = float(ease(2 * (t - 45))) + s2;
  v.shakeAmplitude = float((s1 * 5 + 1) * 0.0002262 * 1.5 * s3);
  v.shakeIndex = shakeIndex(shakeTrack, 35 * t - 76);  // -1 without a usable track
  v.megaRotateRate = float((ease(t - 27) - ease(0.5 * (t - 52))) * 1.5);
  return v;
}

// ---- load ---------------------------------------------------------------------------------

void part_start::load(rendercontext* context) {
  loaded = true;
  megaRotate = 0;
  readShakeTrack(shake, "try1.sav");
  std::cout << "\n\n================= PART_START ============== " << std::endl;
  texture1D = 1001;
  context->create1DFloatTexture(texture1D, 4096);
  particlesim& sim = context->sims[simStart];
  sim.width = sim.height = GridSize;
  sim.load(std::string(ShaderDir) + "ComputeShader1.cpp");
  rc = context;
  obelisk.context = context;
  obelisk.load("newobjects//obelisk.obj", GridSize, GridSize, 450, 450, 1, 1, 1);
  loadPrograms();
  colorA = textureBase + 0;
  colorB = textureBase + 11;
  depthSlot = textureBase + 26;
  randomSlot = textureBase + 27;
  smoothTexture = textureBase + 28;
  context->attachColor(0, 0, colorA);
  context->attachColor(0, 1, colorB);
  context->attachDepth(0, depthSlot);
  context->attachColor(2, 0, smoothTexture);
  context->loadJpg("textures/blob41b.jpg", textureBase + 10);
  context->loadJpg("textures/cloudt1.jpg", textureBase + 20);
  context->loadJpg("textures/Intro1a.jpg", textureBase + FirstTitle);
  context->loadJpg("textures/Intro2a.jpg", textureBase + SecondTitle);
  t = StartClock;
}

void part_start::loadPrograms() {
  backgroundSlot = 201;
  textureBase = 0;
  blurSlot = 204;
  particleSlot = 200;
  ssaoSlot = 202;
  smoothSlot = 203;
  spareSlot = 199;  // reserved, nothing loads it
  std::string dir = ShaderDir;
  shaders.loadFragmentProgram(dir + "f_combineSSAO.cpp", ssaoSlot);
  shaders.loadFragmentProgram(dir + "f_blurpass.cpp", blurSlot);
  shaders.loadFragmentProgram(dir + "f_smoothpass.cpp", smoothSlot);
  shaders.loadProgram(dir + "v_particles.cpp", dir + "f_particles.cpp", particleSlot);
  shaders.loadFragmentProgram(dir + "f_backgroundeffect.cpp", backgroundSlot);
}

// ---- frame --------------------------------------------------------------------------------

bool part_start::prologue(double* step, rendercontext* context, FrameState* state) {
  copyIn(context, state);
  if (frame.partNumber != 0) return false;
  if (t > StretchFrom) *step *= startScript(t, shake).stepFactor;
  t += *step;
  if (t > HandOver) {  // the driver sees it after the write-back
    frame.partNumber = 1;
    frame.switched = true;
  }
  return true;
}

void part_start::epilogue(FrameState* state) { writeBack(state); }

void part_start::draw(double* step, rendercontext* context, FrameState* state) {
  if (!prologue(step, context, state)) return;
  if (loaded) {
    startValues v = startScript(t, shake);
    setCamera(context, v);
    particlePass(step, context, v);
    postPasses(context);
    ++framesDrawn;
  }
  epilogue(state);
}

// ---- camera -------------------------------------------------------------------------------

static vec3 cross(const vec3& a, const vec3& b) {
  return vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

static vec3 normalised(const vec3& a) {
  float length = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
  return length > 0 ? a / length : vec3();
}

// The camera looks at the origin from z = 7; the shake moves the look-at point
// sideways and up by a record of the shake track.
void part_start::setCamera(rendercontext* context, const startValues& v) {
  context->eye = vec3(0, 0, 7);
  context->centre = vec3(0, 0, 0);
  context->up = vec3(0, 1, 0);
  context->attachColor(0, 0, colorA);
  context->attachColor(0, 1, colorB);
  context->attachDepth(0, depthSlot);
  context->bindRenderTarget(0, 2);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(55.0, 1.6, 0.1, 100.0);  // the aspect is fixed whatever the window
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  vec3 d = normalised(context->centre - context->eye), side = cross(d, context->up);
  vec3 p;
  if (v.shakeIndex >= 0) p = shake.points[size_t(v.shakeIndex)];
  titleShift = (side * p.x + context->up * p.y) * v.shakeAmplitude;
  context->centre = context->centre + titleShift;
  const vec3 &e = context->eye, &c = context->centre, &u = context->up;
  gluLookAt(e.x, e.y, e.z, c.x, c.y, c.z, u.x, u.y, u.z);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// ---- particle pass ------------------------------------------------------------------------

static GLuint textureName(rendercontext* context, int slot) {
  return context->textures[context->textureBase + slot];
}

static void setMatrix(GLuint program, const char* name, const mat4& m) {
  glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, m.m);
}

void part_start::simulate(double step, rendercontext* context, const startValues& v) {
  particlesim& sim = context->sims[simStart];
  mat4 r = rot(0, 0.5 * t, 0);  // a slow turn about the vertical axis
  megaRotate += float(v.megaRotateRate * step);
  sim.beginStep(float(t), float(step));
  glUniform1f(glGetUniformLocation(sim.program, "PosY"), float(frame.pointerY));
  glUniform1f(glGetUniformLocation(sim.program, "MegaRotate"), megaRotate);
  setMatrix(sim.program, "RotationMatrix", r);
  setMatrix(sim.program, "RotationMatrix3", r);
  glUniform1f(glGetUniformLocation(sim.program, "alltime"), float(frame.demoTime));
  sim.bindSampler(GL_TEXTURE_2D, 7, "OriginalPositionTexture", obelisk.positionTexture);
  sim.bindSampler(GL_TEXTURE_2D, 15, "Swirl_Texture", textureName(context, textureBase + FirstTitle));
  sim.bindSampler(GL_TEXTURE_2D, 16, "OriginalPositionTexture_Bird", obelisk.positionTexture);
  sim.bindSampler(GL_TEXTURE_2D, 8, "OriginalColorTexture", obelisk.colorTexture);
  sim.bindSampler(GL_TEXTURE_1D, 17, "Original1DTexture", textureName(context, texture1D));
  benchPassBegin(passCompute);
  sim.dispatch();
  benchPassEnd(passCompute);
  // The point draw reads the step's buffer as vertices and its images as textures.
  glMemoryBarrier(GL_VERTEX_ATTRIB_ARRAY_BARRIER_BIT | GL_TEXTURE_FETCH_BARRIER_BIT);
  glActiveTexture(GL_TEXTURE0);
}

// 2 359 296 soft points straight from the simulator's position buffer, added
// up so that dense parts of the cloud glow; depth is kept for the SSAO.
void part_start::drawParticles(rendercontext* context) {
  particlesim& sim = context->sims[simStart];
  shaders.useProgram(particleSlot);
  glBindBuffer(GL_ARRAY_BUFFER, sim.buffer0);
  shaders.bindTextureUniform(GL_TEXTURE_2D, particleSlot, 0, "PositionTexture", sim.image0);
  shaders.bindTextureUniform(GL_TEXTURE_2D, particleSlot, 1, "ColorTexture", sim.image2);
  shaders.bindTextureUniform(GL_TEXTURE_2D, particleSlot, 13, "OriginalColorTexture", obelisk.colorTexture);
  shaders.setFloat(particleSlot, "ttime", float(t));
  shaders.setFloat(particleSlot, "alltime", float(frame.demoTime));
  shaders.setFloat(particleSlot, "ResolutionMultiplier", float(screenWidth) / 1280.0f);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_POINT_SPRITE);  // gl_PointCoord shapes the soft disc
  glEnable(GL_PROGRAM_POINT_SIZE);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(4, GL_FLOAT, 0, nullptr);
  benchPassBegin(passPoints);
  glDrawArrays(GL_POINTS, 0, GridSize * GridSize);
  benchPassEnd(passPoints);
  glDisable(GL_POINT_SPRITE);
  glLineWidth(1);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glDisableClientState(GL_VERTEX_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glAlphaFunc(GL_GREATER, 0.05f);
  shaders.useNoProgram();
}

// The title card floats 1.15 units in front of the eye and drifts with a
// fifth of the camera shake.
void part_start::drawTitle(rendercontext* context, const startValues& v) {
  benchPassBegin(passOverlay);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glBlendFunc(GL_ONE, GL_ONE);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  float fade = float(v.fade);
  glColor4f(fade, fade, fade, fade);
  context->bindTexture(textureBase + v.titleSlot);
  glPushMatrix();
  glScalef(0.9777778f, 0.55f, 1);  // a 16:9 card 1.1 units high
  vec3 g = titleShift * -0.2f;
  glTranslatef(-g.x, -g.y, 5.85f);
  double one = 1.0;
  drawScaledQuad(&one, &one);
  glPopMatrix();
  benchPassEnd(passOverlay);
}

static void identityMatrices() {
  for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
    glMatrixMode(mode);
    glLoadIdentity();
  }
}

// The frame's script values v are evaluated once, after the clock moved.
void part_start::particlePass(double* step, rendercontext* context, const startValues& v) {
  glDisable(GL_DEPTH_TEST);
  shaders.useNoProgram();
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glEnable(GL_TEXTURE_2D);
  cSrand(4234);  // every frame repeats the previous frame's random draws
  glDisable(GL_BLEND);
  simulate(*step, context, v);
  drawParticles(context);
  drawTitle(context, v);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_BLEND);
  glColor3f(0, 0.7f, 0.6f);
  glDisable(GL_CULL_FACE);
  glEnable(GL_DEPTH_TEST);
  identityMatrices();
  shaders.useNoProgram();
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
}

// ---- post passes --------------------------------------------------------------------------

// One full-screen quad after the fixed-function reset; `added` blends it
// onto what is there.
static void screenQuad(rendercontext* context, bool added = false) {
  glMatrixMode(GL_TEXTURE);
  glActiveTexture(GL_TEXTURE0);
  context->resetOverlayState();
  glColor3f(1, 1, 1);
  glEnable(GL_TEXTURE_2D);
  glLoadIdentity();
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  if (added) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
  }
  double angle = 0, scale = 1;
  drawScreenQuad(&angle, &scale, &scale, false, 1);
}

void part_start::postPasses(rendercontext* context) {
  int w = screenWidth, h = screenHeight;
  benchPassBegin(passPost);
  context->resolveRenderTarget(0, w, h, 2, true);
  glMatrixMode(GL_MODELVIEW);
  context->bindWindowFramebuffer();
  glViewport(0, 0, w, h);
  glActiveTexture(GL_TEXTURE0);
  identityMatrices();
  glDisable(GL_DEPTH_TEST);
  ssaoPass(context, w, h);
  smoothPass(context, w, h);
  blurAndGlow(context, w, h);
  finishPasses(context, w, h);
  benchPassEnd(passPost);
}

// Darkens creases of the cloud from the depth texture, back into colour A.
void part_start::ssaoPass(rendercontext* context, int w, int h) {
  context->attachColor(0, 0, colorA);
  context->bindRenderTarget(0, 1);
  shaders.useProgram(ssaoSlot);
  shaders.setFloat(ssaoSlot, "Limit", float(frand()));
  shaders.setFloat(ssaoSlot, "time", float(t));
  shaders.bindTextureUniform(GL_TEXTURE_2D, ssaoSlot, 0, "texture2d_1", textureName(context, colorA));
  shaders.bindTextureUniform(GL_TEXTURE_2D, ssaoSlot, 1, "texture2d_2", textureName(context, depthSlot));
  shaders.bindTextureUniform(GL_TEXTURE_2D, ssaoSlot, 2, "texture2d_3", textureName(context, colorB));
  shaders.bindTextureUniform(GL_TEXTURE_2D, ssaoSlot, 3, "texture2d_random", textureName(context, randomSlot));
  shaders.setVec3(ssaoSlot, "resolution", float(w), float(h), 0);
  screenQuad(context);
  context->resolveRenderTarget(0, w, h, 1, false);
  context->bindWindowFramebuffer();
}

// A blurred quarter-size copy of colour A: the glow.
void part_start::smoothPass(rendercontext* context, int w, int h) {
  context->attachColor(2, 0, smoothTexture);
  context->bindRenderTarget(2, 1);
  glViewport(0, 0, w / 4, h / 4);
  shaders.useProgram(smoothSlot);
  shaders.bindTextureUniform(GL_TEXTURE_2D, smoothSlot, 0, "texture2d_1", textureName(context, colorA));
  shaders.setFloat(smoothSlot, "PosY", float(frame.pointerY));
  shaders.setFloat(smoothSlot, "time", float(t));
  screenQuad(context);
  context->resolveRenderTarget(2, w / 4, h / 4, 1, false);
  context->bindWindowFramebuffer();
  glViewport(0, 0, w, h);
}

// The depth blur draws the frame into the window; the glow is added on top.
void part_start::blurAndGlow(rendercontext* context, int w, int h) {
  shaders.useProgram(blurSlot);
  shaders.bindTextureUniform(GL_TEXTURE_2D, blurSlot, 0, "texture2d_1", textureName(context, colorA));
  shaders.bindTextureUniform(GL_TEXTURE_2D, blurSlot, 2, "texture2d_random", textureName(context, randomSlot));
  shaders.bindTextureUniform(GL_TEXTURE_2D, blurSlot, 3, "texture2d_2", textureName(context, depthSlot));
  shaders.bindTextureUniform(GL_TEXTURE_1D, blurSlot, 4, "texture1d_dsp", textureName(context, texture1D));
  shaders.setVec3(blurSlot, "resolution", float(w), float(h), 0);
  shaders.setFloat(blurSlot, "Limit", float(frame.limit));
  shaders.setFloat(blurSlot, "time", float(t));
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  screenQuad(context);
  shaders.useNoProgram();
  glActiveTexture(GL_TEXTURE0);
  context->bindTexture(smoothTexture);
  screenQuad(context, true);
}

// The background-effect program is made current with its uniforms, though
// this scene draws nothing with it; then the state later sections expect.
void part_start::finishPasses(rendercontext* context, int w, int h) {
  shaders.useProgram(backgroundSlot);
  shaders.setFloat(backgroundSlot, "time", float(t));
  shaders.setVec3(backgroundSlot, "mouse", float(frame.pointerX), float(frame.pointerY), float(frame.wheel));
  const vec3 &e = context->eye, &c = context->centre;
  shaders.setVec3(backgroundSlot, "CamPos", e.x, e.y, e.z);
  shaders.setVec3(backgroundSlot, "CamDir", c.x, c.y, c.z);
  shaders.setFloat(backgroundSlot, "PosY", float(frame.pointerY));
  shaders.setVec3(backgroundSlot, "resolution", float(w), float(h), 0);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  shaders.useNoProgram();
  glEnable(GL_TEXTURE_2D);
  context->resetOverlayState();
}
