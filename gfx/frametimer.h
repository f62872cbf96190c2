// frametimer.h -- the frame-time benchmark: CPU time of every frame and GPU
// time of every marked pass, from GL timestamp queries. Off unless enabled;
// then the marks cost one query each.
#pragma once

// The passes a scene marks. The particle work is compute plus points.
enum benchPass { passCompute, passPoints, passPost, passOverlay, passCount };

extern bool benchEnabled;

void benchFrameBegin();
void benchFrameEnd();            // waits for the frame's queries and records them
// A pass marked more than once in a frame counts the sum of its spans.
void benchPassBegin(benchPass pass);
void benchPassEnd(benchPass pass);
// Prints the GL renderer, vendor and version, then the table (mean, median,
// 95th and 99th percentile) to standard output; the
// last line is "total/particles: R".
void benchReport();
