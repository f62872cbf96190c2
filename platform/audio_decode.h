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

// False when the file is missing, unreadable or holds no audio (the reason
// then goes to audioSetFailure). Mono files come out as stereo. keepSamples
// false only counts. A decode of the same file with the same keepSamples
// started by decodeAhead is waited for and its result taken instead.
bool decodeMp3(const std::string& fileName, decodedTrack& track, bool keepSamples);

// Starts decoding the file on a thread of its own, so that the start-up's
// other work runs meanwhile; replaces a decode ahead nobody took. One that
// is never taken is waited for when the process ends.
void decodeAhead(const std::string& fileName, bool keepSamples);
