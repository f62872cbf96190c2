// clock.h -- accumulated seconds of the high-resolution counter: the frame
// step is measured with it.
#pragma once

double clockSeconds();  // seconds since the last reset
void clockReset();
