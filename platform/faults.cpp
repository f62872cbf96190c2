// faults.cpp -- the list of faults met while loading (see faults.h).
#include "platform/faults.h"

static std::vector<fault> faults;

void recordFault(faultKind kind, const std::string& what) { faults.push_back({kind, what}); }

const std::vector<fault>& recordedFaults() { return faults; }

void clearFaults() { faults.clear(); }
