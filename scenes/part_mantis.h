// part_mantis.h -- section 4 of the chain. A recorded line drawing of a
// praying mantis plays back at 18 frames a second: every frame reads one
// stroke frame from disk and draws its strokes as brush ribbons, while a
// sparse procedural cloud of motes drifts around them. The camera sits close
// to the drawing, pans and moves in on keyed curves; hands over to the end
// at 97.7 s without the flag, so the end section draws in the same frame.
// Shared slots: makes the 1-D float texture anew; samples FirstTitleSlot as
// "Swirl_Texture".
#pragma once
#include <string>
#include <vector>

#include "scenes/scene.h"

// The values of one frame of the scene's time script (GL free).
struct mantisValues {
  double glow = 0;           // g(t): the glow quad's grey, drawn twice
  float dx = 0, dz = 0;      // pan of eye and look-at point; dolly of the eye
  int strokeFrame = 0;       // the stroke frame shown
  long shakeSide = -1;       // shake records of the two tracks; -1: no shake
  long shakeUp = -1;
  float megaRotateRate = 0;  // MegaRotate gained per second
  // The look of the strokes.
  float width = 1;           // ribbon width multiplier
  float tint = 0;            // 0: chalk white, 1: the full colour-by-length palette
  float settle = 1;          // brightness of the strokes behind the newest one
  float pen = 0;             // extra light on the newest stroke
};

// The time script at section time t, reading records of the shake track.
mantisValues mantisScript(double t, const route& shakeTrack);

// The camera at section time t: eye (0, pointerY, 2) on the origin, both
// moved sideways and up by the two shake tracks, panned by dx (the look-at
// point, and the eye as the lens sees it: lookShift) and moved in by dz;
// lens 51.4 degrees.
camera mantisCamera(const mantisValues& v, const route& shakeTrack, double pointerY);

// ---- stroke ribbons (GL free) -------------------------------------------------------------

// The drawing's x is stretched by this on screen (the drawing is authored
// for a 4:3 sheet, the frame is 16:10).
constexpr float DrawingStretch = 1.3f;

// Stroke 0 of every frame is a placeholder; strokes of 15 points or fewer
// are still under the pen's first touch.
bool strokeDrawn(const route& stroke, size_t index);

// Sum of the segment lengths in the drawing's plane.
float strokeLength(const route& stroke);
vec3 strokeMean(const route& stroke);

// The colour rule: the length palette (0.5 sin 4L + 0.5, 0.5 sin 1.04L +
// 0.75, 0.5 sin 2.8L + 0.75) mixed into chalk white by `tint`, each channel
// nudged by one of the three random draws r; clamped to 0 ... 1.
vec3 strokeColour(float length, const vec3& r, float tint);

// One cross-section of a ribbon: its two edge points in the drawing's
// plane, where along the brush texture it lies and the pen pressure there.
struct ribbonEdge {
  float lx, ly, rx, ry;
  float along;
  float pressure;
};

// The ribbon of a stroke: at every point a cross-section halfWidth x
// (0.12 + pressure) to either side, square to the stroke as it appears on
// screen (x stretched by `stretch`). A point that repeats its neighbours has
// no direction of its own and keeps the previous side; non-finite points are
// dropped. `along` counts texture repeats from the stroke's start.
void buildRibbon(const route& stroke, float halfWidth, float stretch, std::vector<ribbonEdge>& out);

class part_mantis : public scene {
public:
  route cameraRoute;                     // "Part_mantis//camroutes.rt": read, kept, not used
  std::vector<std::string> strokeFiles;  // the listed stroke frames
  std::vector<route> strokes;            // the frame drawn last
  int strokeFrame = 0;
  bool missingLogged = false;            // a missing stroke frame is logged once
  mantisValues now;                      // the script of this frame
  GLuint depthTexture = 0, splineTexture = 0;  // the section's own float textures

  explicit part_mantis(const sectionRow& r);

  // Reads the stroke frame for section time t into a fresh list; a frame
  // that cannot be read keeps the last list (and is logged once). GL free.
  void readStrokes(double t);

protected:
  void ownLoadStep(int step) override;
  void script(double step) override;
  void render(double* step) override;

private:
  void particlePass(double step, const mantisValues& v);
  void drawStrokes(const mantisValues& v);
  void simulate(double step);
};
