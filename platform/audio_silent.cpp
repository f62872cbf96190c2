// audio_silent.cpp -- the silent back end of offline capture and benchmarks:
// nothing is played; the position follows the program's counter from play()
// (the manual one while capturing), at the file's rate, wrapping at the
// track's length, so a driver locked to the music runs unchanged.
#include <algorithm>

#include "platform/audio.h"
#include "platform/audio_decode.h"
#include "platform/platform.h"

class silentAudio : public audioBackend {
public:
  int rate = 44100;
  uint32_t frames = 0;
  bool playing = false;
  uint64_t startCounter = 0;  // counter reading at play() or setPosition()
  uint32_t origin = 0;        // track frame at that reading
  int volume = 255;           // kept for completeness; nothing is heard

  bool init(int) override { return true; }
  bool loadSample(const std::string& fileName) override {
    decodedTrack track;
    if (!decodeMp3(fileName, track, false)) return false;
    rate = track.frequency;
    frames = track.frames;
    playing = false;
    return true;
  }
  void prefetch(const std::string& fileName) override { decodeAhead(fileName, false); }
  void play() override { restart(0); playing = frames > 0; }
  void setVolume(int v) override { volume = std::clamp(v, 0, 255); }
  void setPosition(uint32_t samples) override { restart(samples); }
  uint32_t position() override;
  int frequency() override { return rate; }
  uint32_t sampleLength() override { return frames; }
  void close() override { playing = false; }

  void restart(uint32_t from) {
    startCounter = platformCounter();
    origin = frames ? from % frames : 0;
  }
};

// Elapsed ticks to frames in integers: whole seconds first, then the rest,
// so that long runs lose nothing to rounding.
uint32_t silentAudio::position() {
  if (!playing || frames == 0) return origin;
  uint64_t now = platformCounter();
  uint64_t ticks = now > startCounter ? now - startCounter : 0;  // the counter may have been reset
  uint64_t perSecond = platformCounterFrequency();
  uint64_t elapsed = ticks / perSecond * uint64_t(rate) + ticks % perSecond * uint64_t(rate) / perSecond;
  return uint32_t((uint64_t(origin) + elapsed) % frames);
}

audioBackend* silentAudioBackend() {
  static silentAudio instance;
  return &instance;
}
