// timeline.cpp -- section creation order and the timeline simulation.
#include "driver/timeline.h"

#include "driver/driver.h"
#include "scenes/scene.h"

// Every section is made first, so that their point sets can be sampled
// ahead while the loads run.
void loadSections(rendercontext* rc) {
  std::vector<pointSetRequest> ahead;
  for (int k = 0; k < SectionCount; ++k) {
    int part = sectionLoadedAt(k);
    demo.sections[part] = createSection(part);
    demo.sections[part]->listPointSets(ahead);
  }
  pointSetsBegin(ahead);
  for (int k = 0; k < SectionCount; ++k) demo.sections[sectionLoadedAt(k)]->load(rc);
  pointSetsEnd();
}

FrameState playTimeline(scene* const chain[], double step, double to, double* reached) {
  FrameState record;
  double demo = 0.0;
  while (demo + step <= to + step * 0.5 && record.partNumber < SectionCount) {
    double frameStep = step;
    demo += step;
    record.switched = false;
    record.demoTime = demo;
    for (int part = 0; part < SectionCount; ++part) {
      if (!chain[part]) continue;
      chain[part]->playOnly(&frameStep, &record);
      if (record.switched) break;
    }
  }
  *reached = demo;
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
    record.switched = false;
    record.demoTime = demo;
    int atStart = record.partNumber, before = atStart;
    for (scene* s : chain) {
      if (!s) continue;  // the slots past the table
      s->advanceOnly(&frameStep, &record);
      if (record.partNumber != before) {
        handOvers.push_back(demo);
        before = record.partNumber;
      }
      if (record.switched) break;
    }
    // values[0] is the clock of the section that drew last
    if (stopPart >= 0 && atStart == stopPart && record.values[0] >= stopClock) {
      if (demoAt) *demoAt = demo;
      break;
    }
  }
  for (scene* s : chain) delete s;
  return handOvers;
}
