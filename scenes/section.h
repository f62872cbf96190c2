// section.h -- the contract between the frame driver and the sections: the
// record handed to every section each frame, and the section interface.
// Sections copy the record in whole at the start of their draw and copy it
// back whole at the end; the field order is fixed.
#pragma once
#include <cstdint>

struct FrameState {
  double pointerX = 0, pointerY = 0;  // cleared by the driver every frame
  double wheel = 0;                   // cleared by the driver every frame
  bool switched = false;              // set by a section when it hands over
  double limit = 0;                   // authoring value moved by "A" and "Q"
  int32_t buttonLeft = 0;             // cleared by the driver every frame
  double pointX = 0, pointY = 0, pointZ = 0;  // only printed into the debug text
  int32_t partNumber = 0;             // the number of the current section
  double demoTime = 0;                // copy of the driver's demo time
  double values[32] = {};             // values[0]: the current section's own clock
  int32_t keys[256] = {};             // the key table after the driver's clearing, 0 or 1
};

class rendercontext;

// A stretch of the production. The driver knows sections only through this:
// it creates them at start-up, loads each once and asks them to draw every
// frame, in chain order.
class parts {
public:
  bool loaded = false;  // set by load as its first step

  // Draws the frame when the section is the current one. step points at the
  // frame step, which the section may scale in place for every later section.
  virtual void draw(double* step, rendercontext* rc, FrameState* state) = 0;
  virtual ~parts() {}
  virtual void load(rendercontext* rc) = 0;
};

class scene;

// Where a section's hand-over test stands in its prologue.
enum class handOverTest {
  afterClock,  // the first frame whose clock ends past the end
  beforeClock  // the first frame whose clock starts past it
};
// What the hand-over does to the rest of the frame's chain.
enum class handOverFlag {
  stopsChain,  // sets the record's flag: the driver ends the frame there
  chainGoesOn  // the next section already draws in the same frame
};

// A section's factors on the frame step: the step in, the scaled step out,
// each factor multiplied in its own turn (so the doubles round as one
// after the other, never as their product).
using stepScaling = double (*)(double t, double step);

constexpr int MaxSections = 8;  // room in the driver's tables; the table (sections.h) has SectionCount rows

// A scene section's row of the section table: what the driver and the kit
// read of it without knowing its class.
struct sectionRow {
  scene* (*make)(const sectionRow& row);  // a new, unloaded section
  const char* banner;      // logged when the section loads: "================= PART_START ============== "
  const char* shaderDir;   // where its programs are read from
  int partNumber;          // the record's part number while the section plays
  double startClock;       // its own clock when it starts
  int simulator;           // its particle simulator in rendercontext::sims
  int loadOrder;           // its place in the start-up load sequence
  double endClock;         // its clock when it hands over to the next
  // The frame step, in this order: `passingScale` on every call, current or
  // not (every later section of the frame sees it); the rest only while the
  // section is current: `ownSteps` before the clock moves (null: none), and
  // `passOn` after the frame is drawn, for the later sections only (null: none).
  double passingScale;
  stepScaling ownSteps;
  stepScaling passOn;
  handOverTest test;
  handOverFlag flag;
};
