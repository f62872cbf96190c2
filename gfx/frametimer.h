// frametimer.h -- the frame-time benchmark: CPU time of every frame and GPU
// time of every marked pass, from GL timestamp queries. Off unless enabled;
// then the marks cost one query each. The queries of a frame are read
// FrameLag frames later, when the GPU has long finished them, so timing
// never waits for the GPU inside a frame.
#pragma once
#include <vector>

// The passes a scene marks. The particle work is compute plus points; the
// silhouette is the real-life scene's bird drawn for its compute program.
enum benchPass { passCompute, passPoints, passPost, passOverlay, passSilhouette, passCount };

constexpr int FrameLag = 3;        // frames between a frame's queries and their reading
constexpr int MaxPassSpans = 4;    // spans of one pass in a frame that are timed

// One frame's times, milliseconds. gpuMs spans the whole frame; what its
// passes leave is the rest of the frame's work (state set-up, clears,
// resolves between passes, the overlay's own draws).
struct benchFrame {
  double cpuMs = 0, gpuMs = 0;
  double passMs[passCount] = {};
  double otherMs() const;          // gpuMs less every pass (the timers' rounding may take it below 0)
};

extern bool benchEnabled;
extern const char* const benchPassNames[passCount];

void benchFrameBegin();
void benchFrameEnd();              // records the CPU time; reads the frame FrameLag back
// A pass marked more than once in a frame counts the sum of its spans.
void benchPassBegin(benchPass pass);
void benchPassEnd(benchPass pass);
// Reads every frame still waiting for its queries (waits for the GPU).
void benchFlush();
// The frames read so far, oldest first; benchClear forgets them (after a
// flush, so that no frame of before is read into the next set).
const std::vector<benchFrame>& benchFrames();
void benchClear();
// The median and a percentile (0 ... 100) of a list, 0 when empty.
double benchMedian(std::vector<double> v);
double benchPercentile(std::vector<double> v, double percent);
// Flushes, then prints the GL renderer, vendor and version and the table
// (mean, median, 95th and 99th percentile) to standard output; the last
// line is "total/particles: R".
void benchReport();
