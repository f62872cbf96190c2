// audio_decode.h -- the track decoded whole at load time, shared by the back
// ends. Its length is counted from the decoded samples, never estimated, and
// the encoder's delay and padding are trimmed when the file says how much.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct decodedTrack {
  int frequency = 0;              // Hz, the file's own rate
  uint32_t frames = 0;            // stereo sample pairs in the whole track
  std::vector<int16_t> samples;   // interleaved left/right; empty unless kept
};

// False when the file is missing, unreadable or holds no audio. Mono files
// come out as stereo. keepSamples false only counts.
bool decodeMp3(const std::string& fileName, decodedTrack& track, bool keepSamples);
