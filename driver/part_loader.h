// part_loader.h -- the loading screen: a ring that grows clockwise from the
// top and the loader picture, both fading in. Its clock advances with the
// loading progress, not with real time.
#pragma once
#include "scenes/section.h"

class part_loader : public parts {
public:
  double t = 0;            // loader clock
  int textureBase = 5000;  // the picture is slot base + 910

  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;

  // Brightness of ring and picture at clock t (not clamped: it goes negative
  // late, which a load that long never reaches).
  static double brightness(double t);
  // The fraction of a full turn the ring covers at clock t.
  static double ringTurn(double t) { return t * 0.02; }
};

// One step of the scene loaders' progress: advances the loader's clock by
// amount * 0.567 * 3.05 (times the loader's own 0.792), draws and swaps.
// The loaders report about five hundred steps: start-up turns off the wait
// for the display's refresh while they run (see startDemo).
void showLoadingStep(part_loader& loader, rendercontext* rc, double amount);
