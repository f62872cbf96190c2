// audio.cpp -- the music calls the driver makes, forwarded to the chosen back
// end.
#include "platform/audio.h"

#include <algorithm>

// ---- the driver's calls ----------------------------------------------------------------
static audioBackend* chosen = nullptr;

void audioUseBackend(audioBackend* backend) { chosen = backend; }

static audioBackend& backend() {
  if (!chosen) chosen = sdlAudioBackend();
  return *chosen;
}

// The channel count is the mixer's; one track on one channel needs no more.
bool audioInit(int mixRate, int /*channels*/) {
  audioSetFailure("");
  return backend().init(mixRate);
}
bool audioLoadSample(const std::string& fileName) {
  audioSetFailure("");
  return backend().loadSample(fileName);
}
void audioPrefetchSample(const std::string& fileName) { backend().prefetch(fileName); }
void audioLoop() {}  // every back end plays the track looping
void audioPlay(int channel) {
  if (channel == MusicChannel) backend().play();
}
void audioSetVolume(int channel, int volume) {
  if (channel == MusicChannel) backend().setVolume(std::clamp(volume, 0, 255));
}
void audioSetPosition(int channel, uint32_t samples) {
  if (channel == MusicChannel) backend().setPosition(samples);
}
void audioPause(bool paused) { backend().pause(paused); }
uint32_t audioPosition(int channel) { return channel == MusicChannel ? backend().position() : 0; }
int audioFrequency(int channel) { return channel == MusicChannel ? backend().frequency() : 0; }
uint32_t audioSampleLength() { return backend().sampleLength(); }
void audioClose() { backend().close(); }
