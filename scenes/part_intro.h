// part_intro.h -- section 1 of the chain, the long opening: a particle cloud
// that morphs from the obelisk to a DNA strand, a fish school and a bird
// flock while a keyed camera orbits, sinks and dives with it; a swinging
// second swarm between 35.5 and 60 s and a flickering logo near 50 s. Hands
// over at its 171st second.
// Shared slots: only the kit's (the frame's colours, depth, smoothing and
// random textures, the 1-D texture in the blur pass).
#pragma once
#include "gfx/particlesim.h"
#include "gfx/tgobject.h"
#include "scenes/scene.h"

// The values of one frame of the scene's time script (GL free).
struct introValues {
  double fovy = 45;          // lens, degrees: zooms at 75 and 90.8 s
  float shakeAmplitude = 0;  // camera shake scale, with the burst at 18.2 s
  shakeSample shake;         // the shake track's record for this frame
  bool swing = false;        // the swing swarm is simulated and drawn
  double logoFade = 0;       // logo brightness, 49.5 ... 55 s
  bool logoShown = false;    // this frame's coin: fade beats a reseeded draw
  mat4 turn, tumble, lateTurn;  // "RotationMatrix", "RotationMatrix3", "RotationMatrix4"
  mat4 swing1, swing2;          // the swing's two rotations
};

// The frame step while the intro plays, before its clock moves (at t).
double introStep(double t, double step);
// The step handed on to the later sections after the intro's frame is drawn
// (at its clock t, already moved): its own simulators never see these two
// factors.
double introPassOn(double t, double step);

// The time script at section time t, reading the shake track. Draws from
// the program's generator (the logo's coin) and leaves it reseeded.
introValues introScript(double t, const route& shakeTrack);

// The keyed pose before the shake: base orbit, then the 25 moves of the
// table in order, and the roll dip after 40 s.
camera introKeyedCamera(double t);

// The frame's camera: the keyed pose, shaken. `record` is the shake of this
// frame, (p.x amp, p.y amp, 0), for the shake record.
camera introCamera(double t, const introValues& v, vec3& record);

// The logo's coin at t: the generator reseeded from 424 t + 424, 1000 draws
// discarded, then one more; shown when fade beats it.
bool logoCoin(double t, double fade);

class part_intro : public scene {
public:
  particlesim swingSim;  // the 512 x 512 swing swarm, owned here
  introValues now;       // the script of this frame

  explicit part_intro(const sectionRow& r);

protected:
  void ownLoadStep(int step) override;
  void script(double step) override;
  void restartClouds() override;
  void render(double* step) override;

private:
  void particlePass(double step, const introValues& v);
  void particleWork(double step, const introValues& v);
  void simulateCloud(double step, const introValues& v);
  void simulateSwing(double step, const introValues& v);
  void materialStub();
  void logoFlicker(const introValues& v);
};
