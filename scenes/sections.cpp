// sections.cpp -- the section table.
#include "scenes/sections.h"

#include <iterator>

#include "gfx/rendercontext.h"
#include "scenes/part_intro.h"
#include "scenes/part_mantis.h"
#include "scenes/part_reallife.h"
#include "scenes/part_start.h"
#include "scenes/part_thecity.h"
#include "scenes/part_theend.h"

template <class section>
static scene* make(const sectionRow& row) {
  return new section(row);
}

// The title scene starts 13.5 s before its titles so the obelisk has formed
// by then. The intro loads first: its point sets take longest. The real-life
// and mantis scenes scale the step even while another plays, so the end
// always runs at the mantis drawing's pace (1.05 x 0.915 x 0.968).
constexpr handOverTest After = handOverTest::afterClock, Before = handOverTest::beforeClock;
constexpr handOverFlag Stops = handOverFlag::stopsChain, GoesOn = handOverFlag::chainGoesOn;
constexpr sectionRow sectionTable[] = {
    {make<part_start>, "PART_START", "Part_start//shaders//", 0, -13.5, 0, 2, 27.0,
     1.0, startStep, nullptr, After, Stops},
    {make<part_intro>, "PART_INTRO", "Part_Intro//shaders//", 1, 0.0, 1, 0, 171.0,
     1.0, introStep, introPassOn, Before, Stops},
    {make<part_reallife>, "PART_REALLIFE", "Part_reallife//shaders//", 2, 0.0, 3, 1, 69.0,
     1.07, reallifeStep, nullptr, After, Stops},
    {make<part_thecity>, "PART_THECITY", "Part_city//shaders//", 3, 0.0, 2, 3, 76.0,
     1.0, cityStep, nullptr, After, Stops},
    {make<part_mantis>, "PART_MANTIS", "Part_mantis//shaders//", 4, 0.0, 4, 4, 97.7,
     1.05 * 0.915 * 0.968, nullptr, nullptr, After, GoesOn},
    {make<part_theend>, "PART_THEEND", "Part_theend//shaders//", 5, 0.0, 5, 5, 20.0,
     1.0, endStep, nullptr, After, GoesOn},
};

const int SectionCount = int(std::size(sectionTable));
static_assert(std::size(sectionTable) <= MaxSections, "the driver has room for every section");

// Row k is part number k, and the load order names every row once.
static constexpr bool rowsInPartOrder() {
  int k = 0;
  for (const sectionRow& row : sectionTable)
    if (row.partNumber != k++) return false;
  return true;
}
static_assert(rowsInPartOrder(), "each row's part number is its index");

static constexpr bool loadOrderIsPermutation() {
  bool seen[std::size(sectionTable)] = {};
  for (const sectionRow& row : sectionTable) {
    if (row.loadOrder < 0 || row.loadOrder >= int(std::size(sectionTable)) || seen[row.loadOrder]) return false;
    seen[row.loadOrder] = true;
  }
  return true;
}
static_assert(loadOrderIsPermutation(), "the load order names every section once");

static constexpr bool simulatorsFit() {
  for (const sectionRow& row : sectionTable)
    if (row.simulator < 0 || row.simulator >= MaxSimulators) return false;
  return true;
}
static_assert(simulatorsFit(), "every scene's simulator is one of the render context's pool");

scene* createSection(int part) {
  if (part < 0 || part >= SectionCount) return nullptr;
  return sectionTable[part].make(sectionTable[part]);
}

int sectionLoadedAt(int k) {
  for (const sectionRow& row : sectionTable)
    if (row.loadOrder == k) return row.partNumber;
  return -1;
}
