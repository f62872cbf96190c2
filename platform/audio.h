// audio.h -- music playback: one track played looping on channel 1.
// The driver follows the channel's position, so the position must count the
// samples the listener has actually heard. Back ends: SDL2 output with
// libmpg123 decoding (audio_sdl.cpp), a silent one that follows the manual
// clock for offline capture and benchmarks (audio_silent.cpp); tests add fakes.
#pragma once
#include <cstdint>
#include <string>

constexpr int MusicChannel = 1;

class audioBackend {
public:
  virtual ~audioBackend() {}
  virtual bool init(int mixRate) = 0;                      // false: no output device
  virtual bool loadSample(const std::string& fileName) = 0;  // false: missing or unreadable track
  // May start reading the track in the background for a later loadSample of
  // the same file; nothing else changes. Back ends without it ignore it.
  virtual void prefetch(const std::string& /*fileName*/) {}
  virtual void play() = 0;                   // starts the sample looping on the channel, from 0
  virtual void setVolume(int volume) = 0;    // 0 ... 255
  virtual void setPosition(uint32_t samples) = 0;  // the output fades in again over a few ms
  // Paused, the output fades out over a few ms and the position stands
  // still; back ends without it ignore it.
  virtual void pause(bool /*paused*/) {}
  virtual uint32_t position() = 0;           // samples played, wrapping with the loop
  virtual int frequency() = 0;               // Hz
  virtual uint32_t sampleLength() = 0;       // samples in the whole track
  virtual void close() = 0;                  // stops output; safe to repeat
};

// The back end the calls below go to (the SDL one unless another is chosen).
void audioUseBackend(audioBackend* backend);
audioBackend* sdlAudioBackend();
audioBackend* silentAudioBackend();

// The calls the driver makes; channel is always MusicChannel.
bool audioInit(int mixRate, int channels);
bool audioLoadSample(const std::string& fileName);
// Lets the back end decode the track while the start-up does other work;
// audioLoadSample then takes what it decoded. Failures show there.
void audioPrefetchSample(const std::string& fileName);
void audioLoop();                                  // the loaded sample loops
void audioPlay(int channel);
void audioSetVolume(int channel, int volume);
void audioSetPosition(int channel, uint32_t samples);
uint32_t audioPosition(int channel);
void audioPause(bool paused);  // the channel stops where it is, or goes on
int audioFrequency(int channel);
uint32_t audioSampleLength();
void audioClose();
// Why the last audioInit or audioLoadSample failed, in words (the system's or
// the decoder's); empty when it did not.
std::string audioFailure();
void audioSetFailure(const std::string& reason);  // for the back ends
