// part_start.h -- section 0 of the chain. The title scene: a particle cloud
// drawn to the obelisk, seen through a slowly shaking camera, with two title
// cards fading in and out in front of it; hands over at 27 s.
#pragma once
#include "geom/vec3.h"
#include "gfx/shaderset.h"
#include "gfx/tgobject.h"
#include "scenes/route.h"
#include "scenes/scene.h"

// The values of one frame of the scene's time script (GL free).
struct startValues {
  double stepFactor = 1;     // frame step multiplier, 1 + 0.18 ease(t - 14)
  double fade = 0;           // title brightness
  int titleSlot = 30;        // texture slot (above the base) of the title card
  float shakeAmplitude = 0;  // camera shake scale
  long shakeIndex = -1;      // shake track record; -1: no shake
  float megaRotateRate = 0;  // MegaRotate gained per second
};

// The time script at section time t, reading records of the shake track.
startValues startScript(double t, const route& shakeTrack);

class part_start : public scene {
public:
  float megaRotate = 0;
  route shake;       // camera shake track
  TGObject obelisk;  // the shape the particles are drawn to
  shaderset shaders;
  vec3 titleShift;   // shake offset of this frame, drifts the title card
  long framesDrawn = 0;  // frames rendered to the end of the post passes

  // Program and texture slots.
  int backgroundSlot = 201, blurSlot = 204, particleSlot = 200, ssaoSlot = 202, smoothSlot = 203,
      spareSlot = 199;
  int textureBase = 0, texture1D = 1001;
  int colorA = 0, colorB = 11, depthSlot = 26, randomSlot = 27, smoothTexture = 28;

  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
  part_start() : scene(-13.5) {}

  // Copies the record in and advances the clock; false when another section
  // is current (then nothing changes, not even the step).
  bool prologue(double* step, rendercontext* context, FrameState* state);
  void epilogue(FrameState* state);

private:
  void loadPrograms();
  void setCamera(rendercontext* context, const startValues& v);
  void particlePass(double* step, rendercontext* context, const startValues& v);
  void simulate(double step, rendercontext* context, const startValues& v);
  void drawParticles(rendercontext* context);
  void drawTitle(rendercontext* context, const startValues& v);
  void postPasses(rendercontext* context);
  void ssaoPass(rendercontext* context, int w, int h);
  void smoothPass(rendercontext* context, int w, int h);
  void blurAndGlow(rendercontext* context, int w, int h);
  void finishPasses(rendercontext* context, int w, int h);
};
