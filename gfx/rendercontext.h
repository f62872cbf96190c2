// rendercontext.h -- the one shared GPU object handed to every section: the
// loading callback, the texture table, the render targets, the particle
// simulators and the camera. GPU objects live in
// fixed slot tables and are never deleted; filling a slot again makes new
// objects and leaves the old ones allocated.
#pragma once
#include "geom/vec3.h"
#include "gfx/glnames.h"
#include "gfx/particlesim.h"
#include "gfx/textures.h"

constexpr int MaxTextures = 10000;
constexpr int MaxRenderTargets = 16;
constexpr int MaxSimulators = 8;  // the section table gives each scene its own

class rendercontext {
public:
  int width = 0, height = 0;  // the window's size: every viewport and full-size target

  // ---- loading ------------------------------------------------------------------
  void (*progress)(double amount) = nullptr;  // may be null; draws a loading frame
  void reportProgress(double amount) {        // the loaders' steps: nothing without a callback
    if (progress) progress(amount);
  }

  // ---- textures: slot -> GL name; every operation adds textureBase to the slot --
  GLuint textures[MaxTextures] = {};
  int textureBase = 0;

  // ---- render targets 0 ... 15: a drawing framebuffer on (multisampled)
  // renderbuffers and a resolve framebuffer on textures of the table --------------
  GLuint colorBuffer0[MaxRenderTargets] = {};
  GLuint colorBuffer1[MaxRenderTargets] = {};
  GLuint depthBuffer[MaxRenderTargets] = {};
  GLuint drawFramebuffer[MaxRenderTargets] = {};
  GLuint resolveFramebuffer[MaxRenderTargets] = {};
  GLuint windowFramebuffer = 0;  // what bindWindowFramebuffer binds: the window's, or a check's stand-in

  // ---- particle simulators; the first holds the curl volume the others share ------
  particlesim sims[MaxSimulators];

  // ---- camera, set by the current scene every frame ---------------------------------
  vec3 eye, centre, up;

  // ---- textures (the slot's new name replaces the old one) --------------------------
  // JPEG failures show a message box naming the file and call textureFailure (code 1).
  void loadJpg(const char* fileName, int slot);
  void loadJpgRgba(const char* colourFile, const char* alphaFile, int slot);
  void createNoiseTexture(int slot, int width, int height);
  void createRandomTexture(int slot, int width, int height);
  void createDepthTexture(int slot, int width, int height);
  void create1DFloatTexture(int slot, int width);
  void bindTexture(int slot);
  void setLinearFiltering();  // on the 2-D texture currently bound

  // ---- render targets (target numbers and buffer counts are clamped) ----------------
  void createRenderTarget(int target, int width, int height, int samples);
  void deleteRenderTarget(int target);  // its buffers and framebuffers; a new one may follow
  void attachColor(int target, int attachment, int slot);
  void attachDepth(int target, int slot);
  void bindRenderTarget(int target, int buffers);
  void resolveRenderTarget(int target, int width, int height, int buffers, bool withDepth);
  void bindWindowFramebuffer();
  void resetOverlayState();  // fixed-function reset before textured full-screen quads
};
