// timeline.cpp -- section creation order and the timeline simulation.
#include "driver/timeline.h"

#include "driver/production.h"
#include "scenes/chain.h"
#include "scenes/sections.h"

// Every section is made first, so that their point sets can be sampled
// ahead while the loads run.
void loadSections(scene* sections[], rendercontext* rc) {
  std::vector<pointSetRequest> ahead;
  for (int k = 0; k < SectionCount; ++k) {
    int part = sectionLoadedAt(k);
    sections[part] = createSection(part);
    sections[part]->listPointSets(ahead);
  }
  pointSetsBegin(ahead);
  for (int k = 0; k < SectionCount; ++k) sections[sectionLoadedAt(k)]->load(rc);
  pointSetsEnd();
}

FrameState playTimeline(scene* const chain[], double step, double to, double* reached) {
  FrameState record;
  double demo = 0.0;
  while (demo + step <= to + step * 0.5 && record.partNumber < SectionCount) {
    double frameStep = step;
    demo += step;
    runChain(chain, frameDepth::script, demo, &frameStep, &record);
  }
  // after the last section there is nothing left to play: the time itself is reached
  *reached = record.partNumber >= SectionCount && demo < to ? to : demo;
  return record;
}

std::vector<double> simulateTimeline(double step, int stopPart, double stopClock, double* demoAt) {
  scene* chain[MaxSections] = {};
  for (int part = 0; part < SectionCount; ++part) chain[part] = createSection(part);
  FrameState record;
  std::vector<double> handOvers;
  double demo = 0.0;
  while (record.partNumber < SectionCount && demo < DemoEnd + 60) {
    double frameStep = step;
    demo += step;
    int atStart = record.partNumber;
    runChain(chain, frameDepth::clock, demo, &frameStep, &record);
    // the mantis hands over without its flag: the end may take over in the same frame
    for (int part = atStart; part < record.partNumber; ++part) handOvers.push_back(demo);
    // values[0] is the clock of the section that drew last
    if (stopPart >= 0 && atStart == stopPart && record.values[0] >= stopClock) {
      if (demoAt) *demoAt = demo;
      break;
    }
  }
  for (scene* s : chain) delete s;
  return handOvers;
}
