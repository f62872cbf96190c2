// sections.h -- the table of scene sections: one row per section, in chain
// (part-number) order. Everything that needs a section's number, its start
// clock, its simulator or its place in the load order reads it here.
#pragma once

class scene;
struct sectionRow;

constexpr int MaxSections = 8;  // room in the driver's tables; the table has SectionCount rows

struct sectionRow {
  scene* (*make)(const sectionRow& row);  // a new, unloaded section
  const char* banner;      // logged when the section loads: "================= PART_START ============== "
  const char* shaderDir;   // where its programs are read from
  int partNumber;          // the record's part number while the section plays
  double startClock;       // its own clock when it starts
  int simulator;           // its particle simulator in rendercontext::sims
  int loadOrder;           // its place in the start-up load sequence
  double endClock;         // its clock when it hands over to the next
};

extern const sectionRow sectionTable[];
extern const int SectionCount;  // the rows of sectionTable

// A new, unloaded section for part number `part` (0 ... SectionCount - 1).
scene* createSection(int part);
// The part number loaded at position k of the start-up sequence.
int sectionLoadedAt(int k);
