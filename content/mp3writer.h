// mp3writer.h -- streams stereo float samples into an MP3 file with libmp3lame.
// The encoder's tag frame (exact length, encoder delay and padding) replaces
// the placeholder first frame once the stream is flushed, so that decoders
// trim the delay and know the exact sample count.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

struct lame_global_struct;

struct mp3Writer {
  lame_global_struct* lame = nullptr;
  FILE* file = nullptr;
  std::vector<unsigned char> buffer;
  bool ok = false;

  // 44.1 kHz stereo at the given constant bit rate (kbit/s).
  bool open(const std::string& path, int kbps);
  // Samples are at full scale +-1.
  bool write(const float* left, const float* right, int n);
  // Flushes, writes the tag frame over the first frame and closes the file.
  bool finish();
  ~mp3Writer();
};
