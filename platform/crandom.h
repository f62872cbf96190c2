// crandom.h -- the program's C-library-style random generator.
// The time scripts seed and draw "the C library generator" and divide by
// 32767, so they need a 15-bit generator on every platform. This is the
// classic linear congruential generator with a 15-bit result:
//   state <- state * 214013 + 2531011 (mod 2^32), result (state >> 16) & 0x7FFF.
// The initial seed is 1. Nothing in the program calls the C library's rand.
#pragma once
#include <cstdint>

constexpr int CRandMax = 32767;

void cSrand(uint32_t seed);  // restart the sequence
int cRand();                 // next value, 0 ... CRandMax
