// clock.cpp -- seconds from the high-resolution counter.
#include "driver/clock.h"

#include "platform/platform.h"

static uint64_t lastCounter = 0;
static double accumulated = 0.0;

double clockSeconds() {
  uint64_t c = platformCounter();
  accumulated += double(int64_t(c - lastCounter)) / double(platformCounterFrequency());
  lastCounter = c;
  return accumulated;
}

void clockReset() {
  accumulated = 0.0;
  lastCounter = platformCounter();
}
