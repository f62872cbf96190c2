// timeline.h -- the sections in order, and the demo time at which each
// hands over, derived from the sections' own clocks and step scalings.
#pragma once
#include <vector>

#include "scenes/section.h"

class rendercontext;
class scene;

// Creates the scene sections into their slots of `sections` (by part number), then loads
// them in load order (intro, reallife, start, thecity, mantis, theend) with
// their point sets sampled ahead and shared (pointSetsBegin).
void loadSections(scene* sections[], rendercontext* rc);

// Runs fresh, unloaded sections through the frame chain at a fixed step, as
// the driver would with demo time exactly on the music, and records the demo
// time of every hand-over (part numbers 1 ... 6 in order). Stops at stopPart
// once its clock passes stopClock (then returns that demo time in *demoAt).
std::vector<double> simulateTimeline(double step, int stopPart = -1, double stopClock = 0,
                                     double* demoAt = nullptr);

// Plays a chain of sections (slots by part number; null slots are passed
// over) frame by frame at a fixed step, scripts included, as the driver
// would with demo time on the music, from demo time 0 until the next frame
// would pass demo time `to`. Returns the record; *reached is the demo time
// of the last frame played, or `to` itself once the last section is over.
FrameState playTimeline(scene* const chain[], double step, double to, double* reached);
