// part_reallife.h -- section 2 of the chain. A flapping bird, drawn every
// frame as a black silhouette into colour A, shapes a gold particle cloud;
// the lens widens, the camera swings out along +x, and from 48 s marble
// statues and black birds fly past. Hands over to the city at 69 s.
// Shared slots: draws the bird's silhouette into colour A (ColourASlot) and
// samples it as "Swirl_Texture"; the 1-D texture in the blur pass.
#pragma once
#include <vector>

#include "scenes/scene.h"

// ---- the time script (GL free) -------------------------------------------------------

// The frame step while the scene plays, before its clock moves (the 1.07 of
// every call, current or not, is its row's passing scale).
double reallifeStep(double t, double step);

// How far the eye backs away from the look-at point before the keyed moves.
float reallifeRadius(double t);
// The vertical lens angle: 15 degrees, widening to 45 between 16 and 36 s.
double reallifeFovy(double t);
// The camera without its shake: the base pose and the two keyed moves (the
// swing out to x = 5 from 28 s, the glide to (3.4, 0, 0) from 44 s). The
// compute program follows the same path to keep the cloud in view.
camera reallifePath(double t);
// The frame's camera: the path, the shake (swelling from 30.2 s) moving the
// look-at point, and the roll from the shake track.
camera reallifeCamera(double t, const route& shakeTrack);
// The camera of the silhouette pre-pass: 7 units out on +x, its own shake.
camera silhouetteCamera(double t, const route& shakeTrack);

// One statue of the flight (drawn when t > 48): where it sits after the
// common shift to x = 12.8, its spin about y (degrees, signed), the x part of
// its tilt axis (0.2 r, 1, 0.3), its uniform scale.
struct statuePose {
  vec3 offset;
  float spin = 0, tiltX = 0, scale = 1;
};
// One bird of the flight (drawn when t > 49): its place after the shift to
// x = 12.8, its own flapping clock, its uniform scale.
struct birdPose {
  vec3 offset;
  float clock = 0, scale = 1;
};
// The flights at t, drawn from the 15-bit generator exactly as the frame
// draws them (it reseeds, so every frame repeats its placements); empty
// before their start.
std::vector<statuePose> statuesAt(double t);
std::vector<birdPose> birdsAt(double t);

class part_reallife : public scene {
public:
  explicit part_reallife(const sectionRow& r);
  // The flapping bird from its side, black on white, into colour A (also
  // drawn alone by the tests).
  void silhouettePass();
  // A seek: the cloud is born anew, and its wake is played in before the
  // next frame (see playWake).
  void restartClouds() override;

protected:
  void script(double step) override;
  void render(double* step) override;

private:
  void particlePass(double step);
  void simulate(double step);
  void playWake();
  bool wakeDue = false;
  void statueFlight();
  void birdFlight();
};
