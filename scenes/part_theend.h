// part_theend.h -- section 5, the last of the chain. The maker's name as a
// particle cloud, gathered in the first second and held readable while the
// camera approaches, circles and rises; the cloud fades to black over the
// last second (its compute program dims every particle; the glow, made from
// the frame, fades with it). Hands over to part 6 at 20 s without the flag: from then on
// no section draws until the production ends.
// Shared slots: samples FirstTitleSlot as "Swirl_Texture" and the 1-D float
// texture the start scene made.
#pragma once
#include "gfx/tgobject.h"
#include "scenes/scene.h"

// The values of one frame of the scene's time script (GL free).
struct endValues {
  double distance = 12;      // D: the eye's distance from the word
  double angle = 0;          // a: how far the eye has circled, radians
  double height = 0;         // the eye's height
  double fovy = 55;          // lens, degrees
  float shakeAmplitude = 0;  // look-at shake scale
  long shakeIndex = -1;      // shake track record; -1: no shake
};

// The frame step while the end plays, before its clock moves (at t).
double endStep(double t, double step);

// The time script at section time t, reading records of the shake track.
endValues endScript(double t, const route& shakeTrack);

// The camera: eye (D sin a, height, D cos a) on the origin, the look-at
// point shaken along the side and up vectors.
camera endCamera(const endValues& v, const route& shakeTrack);

class part_theend : public scene {
public:
  explicit part_theend(const sectionRow& r);

protected:
  void script(double step) override;
  void render(double* step) override;

private:
  void particlePass(double step);
  void simulate(double step);
};
