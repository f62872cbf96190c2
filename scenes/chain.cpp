// chain.cpp -- the walker of the section chain (see chain.h).
#include "scenes/chain.h"

#include "gfx/gldebug.h"
#include "scenes/sections.h"

bool runChain(scene* const chain[], frameDepth depth, double demoTime, double* step, FrameState* record) {
  record->switched = false;
  record->demoTime = demoTime;
  for (int part = 0; part < SectionCount; ++part) {
    scene* s = chain[part];
    if (!s) continue;
    if (depth == frameDepth::draw && s->row.partNumber == record->partNumber) glDebugSection(s->row.banner);
    s->runFrame(depth, step, record);
    if (record->switched) return true;
  }
  return false;
}
