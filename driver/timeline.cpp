// timeline.cpp -- section creation order and the timeline simulation.
#include "driver/timeline.h"

#include "driver/driver.h"
#include "driver/parts.h"
#include "scenes/part_intro.h"
#include "scenes/part_mantis.h"
#include "scenes/part_reallife.h"
#include "scenes/part_start.h"
#include "scenes/part_thecity.h"
#include "scenes/part_theend.h"

void createSections(parts* table[SectionCount]) {
  table[0] = new part_start();
  table[1] = new part_intro();
  table[2] = new part_reallife();
  table[3] = new part_thecity();
  table[4] = new part_mantis();
  table[5] = new part_theend();
}

void loadSections(rendercontext* rc) {
  const int loadOrder[SectionCount] = {1, 2, 0, 3, 4, 5};
  parts* made[SectionCount];
  createSections(made);
  for (int k : loadOrder) {
    sections[k] = made[k];
    sections[k]->load(rc);
  }
}

std::vector<double> simulateTimeline(double step, int stopPart, double stopClock, double* demoAt) {
  parts* chain[SectionCount];
  createSections(chain);
  FrameState record;
  std::vector<double> handOvers;
  double demo = 0.0;
  while (record.partNumber < SectionCount && demo < DemoEnd + 60) {
    double frameStep = step;
    demo += step;
    record.switched = false;
    record.demoTime = demo;
    int atStart = record.partNumber, before = atStart;
    for (parts* s : chain) {
      s->draw(&frameStep, nullptr, &record);
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
  for (parts* s : chain) delete s;
  return handOvers;
}
