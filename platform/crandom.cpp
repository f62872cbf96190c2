// crandom.cpp -- the C-library-style generator (see crandom.h).
#include "platform/crandom.h"

static uint32_t randState = 1;

void cSrand(uint32_t seed) { randState = seed; }

int cRand() {
  randState = randState * 214013u + 2531011u;
  return int((randState >> 16) & 0x7FFF);
}
