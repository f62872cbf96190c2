// faults.h -- what went wrong while loading, kept for the shell to judge.
// The loaders say what failed themselves (standard error and the log) and
// record it here; the shell decides what it costs. A live production plays
// on over a fault that only takes something away (a program that does not
// build, walkers without motion); an offline run (capture, video, benchmark,
// check, --frames) must not report success over it. A damaged data file
// ends every run: its numbers would otherwise reach the GPU.
#pragma once
#include <string>
#include <vector>

enum class faultKind {
  playsOn,     // the live production goes on without what failed
  cannotPlay,  // a required file is missing or damaged: no run goes on
};

struct fault {
  faultKind kind;
  std::string what;  // one line naming the cause and the file, without a prefix
};

void recordFault(faultKind kind, const std::string& what);
const std::vector<fault>& recordedFaults();
void clearFaults();
