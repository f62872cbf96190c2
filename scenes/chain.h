// chain.h -- the one walker of the section chain. The frame driver, the seek,
// the timeline simulation and the hand-over checks all run frames through it,
// so they agree on the rule: every section in part-number order gets the
// step and the record, until one hands over with its flag set.
#pragma once
#include "scenes/scene.h"

// One frame of `chain` (slots by part number; null slots are passed over) at
// demo time `demoTime` and to `depth`. Clears the record's flag first;
// returns true when a section handed over with it (the rest of the chain was
// not called).
bool runChain(scene* const chain[], frameDepth depth, double demoTime, double* step, FrameState* record);
