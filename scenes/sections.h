// sections.h -- the table of scene sections: one row per section, in chain
// (part-number) order. Everything that needs a section's number, its start
// clock, its simulator or its place in the load order reads it here.
#pragma once

#include "scenes/section.h"

class scene;

extern const sectionRow sectionTable[];
extern const int SectionCount;  // the rows of sectionTable

// A new, unloaded section for part number `part` (0 ... SectionCount - 1).
scene* createSection(int part);
// The part number loaded at position k of the start-up sequence.
int sectionLoadedAt(int k);
