// part_start.h -- section 0 of the chain. The title scene: a particle cloud
// drawn to the obelisk, seen through a slowly shaking camera, with two title
// cards fading in and out in front of it; hands over at 27 s.
// Shared slots: makes the 1-D float texture (FloatTexture1DSlot); its first
// title (FirstTitleSlot) is what later scenes sample as "Swirl_Texture".
#pragma once
#include "gfx/tgobject.h"
#include "scenes/scene.h"

// The values of one frame of the scene's time script (GL free).
struct startValues {
  double fade = 0;           // title brightness
  int titleSlot = 30;        // texture slot (above the base) of the title card
  float shakeAmplitude = 0;  // camera shake scale
  long shakeIndex = -1;      // shake track record; -1: no shake
  float megaRotateRate = 0;  // MegaRotate gained per second
};

// The frame step while the title scene plays, before its clock moves (at t).
double startStep(double t, double step);

// The time script at section time t, reading records of the shake track.
startValues startScript(double t, const route& shakeTrack);

// The camera at section time t: eye (0, 0, 7) on the origin, the look-at
// point shaken; `moved` is how far the shake moved it (the title drifts by it).
camera startCamera(const startValues& v, const route& shakeTrack, vec3& moved);

class part_start : public scene {
public:
  vec3 titleShift;   // shake offset of this frame, drifts the title card
  startValues now;   // the script of this frame

  explicit part_start(const sectionRow& r);

protected:
  void script(double step) override;
  void render(double* step) override;

private:
  void particlePass(double step, const startValues& v);
  void simulate(double step);
  void drawTitle(const startValues& v);
};
