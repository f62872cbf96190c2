// scene.h -- what every scene section has: a copy of the driver's record,
// taken when its draw starts and written back at the end of a drawn frame,
// the shared GPU object, and its own clock.
#pragma once
#include "driver/framestate.h"
#include "driver/parts.h"

class scene : public parts {
public:
  FrameState frame;            // copy of the driver's record
  rendercontext* rc = nullptr;
  double t;                    // the section's own clock, seconds

  explicit scene(double clockStart) : t(clockStart) {}
  void setClock(double clock) override { t = clock; }

protected:
  // Frame prologue, first step: the record pointer goes to the shared object
  // (code called later in the frame reaches it there) and the record is copied in.
  void copyIn(rendercontext* context, FrameState* state);
  // Frame epilogue: the clock goes to values[0] and the copy back to the driver.
  void writeBack(FrameState* state);
};

// What a scene that has no pictures yet does: the section's banner at load,
// a cleared window when it draws.
void loadStandIn(scene* s, rendercontext* context, const char* banner, double clockStart);
void drawClearedFrame(rendercontext* rc);
