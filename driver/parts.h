// parts.h -- the section interface and the registry of sections.
// The driver knows sections only through parts: it creates them at start-up,
// loads each once and asks them to draw every frame, in chain order.
#pragma once
#include "driver/framestate.h"

class rendercontext;

class parts {
public:
  bool loaded = false;  // set by load as its first step

  // Draws the frame when the section is the current one. step points at the
  // frame step, which the section may scale in place for every later section.
  virtual void draw(double* step, rendercontext* rc, FrameState* state) = 0;
  virtual ~parts() {}
  virtual void load(rendercontext* rc) = 0;
  // Authoring: start the section's own clock at t (scene jump).
  virtual void setClock(double t) { (void)t; }
};

constexpr int SectionCount = 6;
extern parts* sections[SectionCount];  // by part number: start, intro, reallife, thecity, mantis, theend
extern parts* loaderSection;           // the loading screen

// Creates the six scene sections (without loading them) into table.
void createSections(parts* table[SectionCount]);
