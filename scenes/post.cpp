// post.cpp -- the post passes every scene runs after its particle pass:
// occlusion combine into colour A, a quarter-size smoothing pass, the blur to
// the window with the smoothed glow added, and the background effect.
#include <GL/glew.h>

#include "gfx/frametimer.h"
#include "gfx/quads.h"
#include "gfx/rendercontext.h"
#include "gfx/textures.h"
#include "scenes/scene.h"

void scene::postPasses() {
  int w = rc->width, h = rc->height;
  benchPassBegin(passPost);
  rc->resolveRenderTarget(FrameTarget, w, h, 2, true);
  glMatrixMode(GL_MODELVIEW);
  rc->bindWindowFramebuffer();
  glViewport(0, 0, w, h);
  glActiveTexture(GL_TEXTURE0);
  identityMatrices();
  glDisable(GL_DEPTH_TEST);
  ssaoPass(w, h);
  smoothPass(w, h);
  blurPass(w, h);
  glowPass();
  backgroundEffect(w, h);
  benchPassEnd(passPost);
}

// Darkens creases of the cloud from the depth texture, back into colour A.
void scene::ssaoPass(int w, int h) {
  rc->attachColor(FrameTarget, 0, colorA);
  rc->bindRenderTarget(FrameTarget, 1);
  shaders.useProgram(ssaoSlot);
  shaders.setFloat(ssaoSlot, "Limit", float(frand()));
  shaders.setFloat(ssaoSlot, "time", float(t));
  if (post.relX) {
    vec3 moved = shakeRec.moved();
    shaders.setVec3(ssaoSlot, "RelX", moved.x, moved.y, 0);
  }
  shaders.bindTextureUniform(GL_TEXTURE_2D, ssaoSlot, 0, "texture2d_1", textureName(colorA));
  shaders.bindTextureUniform(GL_TEXTURE_2D, ssaoSlot, 1, "texture2d_2", textureName(depthSlot));
  shaders.bindTextureUniform(GL_TEXTURE_2D, ssaoSlot, 2, "texture2d_3", textureName(colorB));
  shaders.bindTextureUniform(GL_TEXTURE_2D, ssaoSlot, 3, "texture2d_random", textureName(randomSlot));
  if (post.ssaoResolution) shaders.setVec3(ssaoSlot, "resolution", float(w), float(h), 0);
  if (post.aspect) shaders.setFloat(ssaoSlot, "aspect", float(w) / float(h));
  screenQuad(rc);
  rc->resolveRenderTarget(FrameTarget, w, h, 1, false);
  rc->bindWindowFramebuffer();
}

// A blurred quarter-size copy of colour A: the glow.
void scene::smoothPass(int w, int h) {
  rc->attachColor(QuarterTarget, 0, smoothTexture);
  rc->bindRenderTarget(QuarterTarget, 1);
  glViewport(0, 0, w / 4, h / 4);
  shaders.useProgram(smoothSlot);
  shaders.bindTextureUniform(GL_TEXTURE_2D, smoothSlot, 0, "texture2d_1", textureName(colorA));
  shaders.setFloat(smoothSlot, "PosY", float(frame.pointerY));
  shaders.setFloat(smoothSlot, "time", float(t));
  screenQuad(rc);
  rc->resolveRenderTarget(QuarterTarget, w / 4, h / 4, 1, false);
  rc->bindWindowFramebuffer();
  glViewport(0, 0, w, h);
}

// The depth blur draws the frame into the window.
void scene::blurPass(int w, int h) {
  shaders.useProgram(blurSlot);
  shaders.bindTextureUniform(GL_TEXTURE_2D, blurSlot, 0, "texture2d_1", textureName(colorA));
  shaders.bindTextureUniform(GL_TEXTURE_2D, blurSlot, 2, "texture2d_random", textureName(randomSlot));
  shaders.bindTextureUniform(GL_TEXTURE_2D, blurSlot, 3, "texture2d_2", textureName(depthSlot));
  shaders.bindTextureUniform(GL_TEXTURE_1D, blurSlot, 4, "texture1d_dsp", textureName(texture1D));
  if (post.blurResolution) shaders.setVec3(blurSlot, "resolution", float(w), float(h), 0);
  shaders.setFloat(blurSlot, "Limit", float(frame.limit));
  shaders.setFloat(blurSlot, "time", float(t));
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  screenQuad(rc);
  shaders.useNoProgram();
}

// The quarter-size smoothed image added on top of the blurred frame.
void scene::glowPass() {
  for (int k = 0; k < post.glowCount; ++k) {
    glActiveTexture(GL_TEXTURE0);
    rc->bindTexture(smoothTexture);
    screenQuad(rc, true, post.glow);
  }
}

// The background-effect program with its uniforms; some scenes draw it over
// the frame (it paints where the scene left the frame empty), others only
// make it current.
void scene::backgroundEffect(int w, int h) {
  if (post.background == backgroundPass::none) return;
  bool drawn = post.background == backgroundPass::drawn;
  shaders.useProgram(backgroundSlot);
  shaders.setFloat(backgroundSlot, "time", float(t));
  shaders.setFloat(backgroundSlot, "alltime", float(frame.demoTime));
  shaders.setVec3(backgroundSlot, "mouse", float(frame.pointerX), float(frame.pointerY), float(frame.wheel));
  const vec3 &e = rc->eye, &c = rc->centre;
  shaders.setVec3(backgroundSlot, "CamPos", e.x, e.y, e.z);
  shaders.setVec3(backgroundSlot, "CamDir", c.x, c.y, c.z);
  shaders.setFloat(backgroundSlot, "PosY", float(frame.pointerY));
  shaders.setVec3(backgroundSlot, "CamShake", shakeRec.current.x, shakeRec.current.y, 0);
  if (post.backgroundResolution) shaders.setVec3(backgroundSlot, "resolution", float(w), float(h), 0);
  if (drawn) {
    shaders.bindTextureUniform(GL_TEXTURE_2D, backgroundSlot, 0, "texture2d_1", textureName(colorA));
    shaders.bindTextureUniform(GL_TEXTURE_2D, backgroundSlot, 1, "texture2d_2", textureName(depthSlot));
    glActiveTexture(GL_TEXTURE0);
    glMatrixMode(GL_TEXTURE);
    rc->resetOverlayState();
    glEnable(GL_TEXTURE_2D);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    double angle = 0, scale = 1;
    drawScreenQuad(&angle, &scale, &scale, false, 1);
  }
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  shaders.useNoProgram();
  glEnable(GL_TEXTURE_2D);
  rc->resetOverlayState();
}
