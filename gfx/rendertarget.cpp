// rendertarget.cpp -- off-screen targets: a drawing framebuffer on
// (optionally multisampled) renderbuffers and a resolve framebuffer on
// textures of the table; a blit copies the first into the second.
#include <GL/glew.h>

#include <algorithm>

#include "gfx/rendercontext.h"

// Target numbers outside the table are clamped, never used to index past it.
static int clampTarget(int i) { return std::clamp(i, 0, MaxRenderTargets - 1); }
static int clampBuffers(int n) { return std::clamp(n, 1, 3); }

static GLuint createRenderbuffer(int samples, GLenum format, int width, int height) {
  GLuint name = 0;
  glGenRenderbuffersEXT(1, &name);
  glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, name);
  glRenderbufferStorageMultisampleEXT(GL_RENDERBUFFER_EXT, samples, format, width, height);
  return name;
}

void rendercontext::createRenderTarget(int target, int width, int height, int samples) {
  int i = clampTarget(target);
  colorBuffer0[i] = createRenderbuffer(samples, GL_RGBA8, width, height);
  colorBuffer1[i] = createRenderbuffer(samples, GL_RGBA8, width, height);
  depthBuffer[i] = createRenderbuffer(samples, GL_DEPTH_COMPONENT24, width, height);
  glGenFramebuffersEXT(1, &drawFramebuffer[i]);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, drawFramebuffer[i]);
  glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT,
                               colorBuffer0[i]);
  glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT1_EXT, GL_RENDERBUFFER_EXT,
                               colorBuffer1[i]);
  glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                               depthBuffer[i]);
  // The resolve side gets its textures from the sections; it stays bound.
  glGenFramebuffersEXT(1, &resolveFramebuffer[i]);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, resolveFramebuffer[i]);
}

void rendercontext::deleteRenderTarget(int target) {
  int i = clampTarget(target);
  GLuint buffers[3] = {colorBuffer0[i], colorBuffer1[i], depthBuffer[i]};
  glDeleteRenderbuffersEXT(3, buffers);
  glDeleteFramebuffersEXT(1, &drawFramebuffer[i]);
  glDeleteFramebuffersEXT(1, &resolveFramebuffer[i]);
  colorBuffer0[i] = colorBuffer1[i] = depthBuffer[i] = drawFramebuffer[i] = resolveFramebuffer[i] = 0;
}

// The status is queried but not acted on: an incomplete target only shows
// as wrong output.
void rendercontext::attachColor(int target, int attachment, int slot) {
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, resolveFramebuffer[clampTarget(target)]);
  glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT + std::clamp(attachment, 0, 2),
                            GL_TEXTURE_2D, textures[textureBase + slot], 0);
  glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
}

void rendercontext::attachDepth(int target, int slot) {
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, resolveFramebuffer[clampTarget(target)]);
  glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D,
                            textures[textureBase + slot], 0);
  glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
}

static const GLenum colorAttachments[3] = {GL_COLOR_ATTACHMENT0_EXT, GL_COLOR_ATTACHMENT1_EXT,
                                           GL_COLOR_ATTACHMENT2_EXT};

void rendercontext::bindRenderTarget(int target, int buffers) {
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, drawFramebuffer[clampTarget(target)]);
  glDrawBuffers(clampBuffers(buffers), colorAttachments);
}

// Copies colour buffer 0 ... n-1 (and depth) of the drawing framebuffer into
// the resolve framebuffer's textures, resolving multisampling on the way.
void rendercontext::resolveRenderTarget(int target, int width, int height, int buffers, bool withDepth) {
  int n = clampBuffers(buffers);
  glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, drawFramebuffer[clampTarget(target)]);
  glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, resolveFramebuffer[clampTarget(target)]);
  for (int c = 0; c < n; c++) {
    glDrawBuffer(colorAttachments[c]);
    glReadBuffer(colorAttachments[c]);
    glBlitFramebufferEXT(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  }
  if (withDepth)
    glBlitFramebufferEXT(0, 0, width, height, 0, 0, width, height, GL_DEPTH_BUFFER_BIT, GL_NEAREST);
  glCheckFramebufferStatusEXT(GL_DRAW_FRAMEBUFFER_EXT);
}

void rendercontext::bindWindowFramebuffer() { glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, windowFramebuffer); }

void rendercontext::resetOverlayState() {
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
  glDisable(GL_LIGHT0);
  glDisable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  glDisable(GL_FOG);
  glActiveTexture(GL_TEXTURE0);
}
