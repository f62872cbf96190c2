// counter.cpp -- the counter the clock reads: the system's, or the silent
// clock of offline runs, which stands still until it is advanced.
#include "platform/platform.h"

static bool counterManual = false;
static uint64_t manualCounter = 0;

void platformCounterManual(bool manual) {
  if (manual && !counterManual) manualCounter = 0;
  counterManual = manual;
}

void platformCounterAdvance(double seconds) {
  manualCounter += uint64_t(seconds * double(platformCounterFrequency()) + 0.5);
}

uint64_t platformCounter() { return counterManual ? manualCounter : platformSystemCounter(); }
