// scene.cpp -- the frame every scene repeats (see scene.h).
#include "scenes/scene.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <iostream>

#include "gfx/frametimer.h"
#include "gfx/particlesim.h"
#include "gfx/quads.h"
#include "gfx/rendercontext.h"
#include "gfx/slots.h"
#include "platform/crandom.h"
#include "scenes/timing.h"

void scene::runFrame(frameDepth depth, double* step, FrameState* state) {
  frame = *state;
  if (!advance(step)) return;
  if (depth != frameDepth::clock) script(*step);
  if (depth == frameDepth::draw && loaded) {
    resetSceneState(rc->width, rc->height);
    render(step);
    ++framesDrawn;
  }
  if (row.passOn) *step = row.passOn(t, *step);
  frame.values[0] = t;
  *state = frame;
}

bool scene::advance(double* step) {
  *step *= row.passingScale;
  if (!current()) return false;
  if (row.ownSteps) *step = row.ownSteps(t, *step);
  if (row.test == handOverTest::beforeClock && t > row.endClock) handOver();
  t += *step;
  if (row.test == handOverTest::afterClock && t > row.endClock) handOver();
  return true;
}

void scene::takeTimeline(const scene& played) {
  t = played.t;
  megaRotate = played.megaRotate;
  shakeRec = played.shakeRec;
}

void scene::restartClouds() {
  if (rc) simulator().stored = false;
}

void scene::handOver() {
  frame.partNumber = row.partNumber + 1;
  if (row.flag == handOverFlag::stopsChain) frame.switched = true;
}

void scene::attachTargets() {
  colorA = textureBase + ColourASlot;
  colorB = textureBase + ColourBSlot;
  depthSlot = textureBase + DepthSlot;
  randomSlot = textureBase + RandomSlot;
  smoothTexture = textureBase + SmoothSlot;
  rc->attachColor(FrameTarget, 0, colorA);
  rc->attachColor(FrameTarget, 1, colorB);
  rc->attachDepth(FrameTarget, depthSlot);
  rc->attachColor(QuarterTarget, 0, smoothTexture);
}

// ---- frame --------------------------------------------------------------------------------

void identityMatrices() {
  for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
    glMatrixMode(mode);
    glLoadIdentity();
  }
}

void resetSceneState(int width, int height) {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glViewport(0, 0, width, height);
  glUseProgram(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ZERO);
  glDisable(GL_CULL_FACE);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_POINT_SMOOTH);
  glDisable(GL_POINT_SPRITE);
  glDisable(GL_PROGRAM_POINT_SIZE);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glLineWidth(1);
  for (int unit = 7; unit >= 0; --unit) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_3D);
  }
  glColor4f(1, 1, 1, 1);
  identityMatrices();
}

void scene::bindSceneTarget() {
  rc->attachColor(FrameTarget, 0, colorA);
  rc->attachColor(FrameTarget, 1, colorB);
  rc->attachDepth(FrameTarget, depthSlot);
  rc->bindRenderTarget(FrameTarget, 2);
}

void scene::lookThrough(const camera& c) {
  rc->eye = c.eye;
  rc->centre = c.centre;
  rc->up = c.up;
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(c.fovy, 1.6, 0.1, 100.0);  // the aspect is fixed whatever the window
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const vec3 e = c.eye + c.lookShift, &m = c.centre, &u = c.up;
  gluLookAt(e.x, e.y, e.z, m.x, m.y, m.z, u.x, u.y, u.z);
}

void scene::openFrame(const camera& c) {
  bindSceneTarget();
  lookThrough(c);
  clearTarget();
}

void scene::clearTarget() {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

GLuint scene::textureName(int slot) const { return rc->textures[rc->textureBase + slot]; }

particlesim& scene::simulator() const { return rc->sims[row.simulator]; }

void scene::setMatrix(GLuint program, const char* name, const mat4& m) {
  glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, m.m);
}

void scene::setFloat(GLuint program, const char* name, float value) {
  glUniform1f(glGetUniformLocation(program, name), value);
}

void scene::openParticlePass(passOpening how) {
  glDisable(GL_DEPTH_TEST);
  shaders.useNoProgram();
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glEnable(GL_TEXTURE_2D);
  if (how == passOpening::added) return;
  cSrand(4234);  // every frame repeats the random draws of the last
  glDisable(GL_BLEND);
}

void scene::stepCloud(double step, std::initializer_list<samplerBinding> samplers) {
  particlesim& sim = simulator();
  mat4 r = rot(0, 0.5 * t, 0);
  sim.beginStep(float(t), float(step));
  setFloat(sim.program, "PosY", float(frame.pointerY));
  setFloat(sim.program, "MegaRotate", megaRotate);
  setMatrix(sim.program, "RotationMatrix", r);
  setMatrix(sim.program, "RotationMatrix3", r);
  if (cloudAllTime) setFloat(sim.program, "alltime", float(frame.demoTime));
  sim.bindSamplers(samplers);
  benchPassBegin(passCompute);
  sim.dispatch();
  benchPassEnd(passCompute);
  glActiveTexture(GL_TEXTURE0);
}

void scene::beginPoints(particlesim& sim, GLuint originalColor, int colorUnit, int program) {
  int slot = program >= 0 ? program : particleSlot;
  // the point draw reads the step's buffer as vertices and its images as textures
  glMemoryBarrier(GL_VERTEX_ATTRIB_ARRAY_BARRIER_BIT | GL_TEXTURE_FETCH_BARRIER_BIT);
  shaders.useProgram(slot);
  glBindBuffer(GL_ARRAY_BUFFER, sim.buffer0);
  shaders.bindTextureUniform(GL_TEXTURE_2D, slot, 0, "PositionTexture", sim.image0);
  shaders.bindTextureUniform(GL_TEXTURE_2D, slot, 1, "ColorTexture", sim.image2);
  shaders.bindTextureUniform(GL_TEXTURE_2D, slot, colorUnit, "OriginalColorTexture", originalColor);
  shaders.setFloat(slot, "ttime", float(t));
  shaders.setFloat(slot, "alltime", float(frame.demoTime));
  shaders.setFloat(slot, "ResolutionMultiplier", float(rc->width) / 1280.0f);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_POINT_SPRITE);  // gl_PointCoord shapes the point
  glEnable(GL_PROGRAM_POINT_SIZE);
  glEnable(GL_DEPTH_TEST);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(4, GL_FLOAT, 0, nullptr);
}

void scene::drawPointCount(int count) {
  // Points take the single-sample rule on every target: a fragment for each
  // pixel whose centre the point covers, written to all of the pixel's
  // samples. How much light a point leaves on its pixels is then the point
  // programs' (pointCover in point_vertex), not the multisampled point
  // rasterizer's, which drivers carry out differently.
  glDisable(GL_MULTISAMPLE);
  benchPassBegin(passPoints);
  glDrawArrays(GL_POINTS, 0, count);
  benchPassEnd(passPoints);
  glEnable(GL_MULTISAMPLE);  // the rest of the scene stays antialiased
}

void scene::endPoints() {
  glDisable(GL_POINT_SPRITE);
  glLineWidth(1);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glDisableClientState(GL_VERTEX_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void scene::beginOverlays() {
  glAlphaFunc(GL_GREATER, 0.05f);
  shaders.useNoProgram();
}

void scene::warmColour() { glColor3f(1, 0.7f, 0.6f); }

void scene::closeParticlePass() {
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glEnable(GL_DEPTH_TEST);
  identityMatrices();
  glDisable(GL_TEXTURE_2D);
  shaders.useNoProgram();
}

void screenQuad(rendercontext* rc, bool added, float colour) {
  glMatrixMode(GL_TEXTURE);
  glActiveTexture(GL_TEXTURE0);
  rc->resetOverlayState();
  glColor3f(colour, colour, colour);
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
