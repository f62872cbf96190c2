// audio_sdl.cpp -- music output through SDL2: the track decoded whole at load
// time, played looping from the device callback. The position counts what
// the listener has heard: frames handed to the callback, less the buffer the
// device is still playing, advanced between callbacks by the real clock.
#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/audio.h"
#include "platform/audio_decode.h"

class sdlAudio : public audioBackend {
public:
  SDL_AudioDeviceID device = 0;
  bool subsystemUp = false;
  int mixRate = 44100;       // the device's rate; the track is converted to it
  int bufferFrames = 0;      // frames per callback, the device's own backlog
  decodedTrack track;
  // Shared with the callback; changed only under the device lock.
  bool playing = false;
  uint32_t cursor = 0;          // the next track frame to hand out
  uint32_t origin = 0;          // track frame where counting began (play, setPosition)
  uint64_t delivered = 0;       // frames handed out since then
  uint64_t deliveredBefore = 0; // delivered when the latest callback began
  uint64_t callbackTicks = 0;   // real clock at that callback; 0: none yet
  float gain = 1.0f, targetGain = 1.0f;
  bool held = false;            // paused: fade out, then silence with the cursor standing
  uint32_t leaving = 0;         // after a jump: the old place, played out under a fade
  int leaveLeft = 0;            // frames of that fade still to play
  // Main thread only: the position never runs backwards except at the wrap.
  uint64_t lastHeard = 0;

  bool init(int rate) override;
  bool loadSample(const std::string& fileName) override;
  void prefetch(const std::string& fileName) override { decodeAhead(fileName, true); }
  void play() override;
  void setVolume(int volume) override;
  void setPosition(uint32_t samples) override;
  void pause(bool paused) override;
  uint32_t position() override;
  int frequency() override { return mixRate; }
  uint32_t sampleLength() override { return track.frames; }
  void close() override;

  void mix(int16_t* out, int frames);
  void restartCount(uint32_t from);
  void lock() { if (device) SDL_LockAudioDevice(device); }
  void unlock() { if (device) SDL_UnlockAudioDevice(device); }
};

static void SDLCALL fillCallback(void* user, Uint8* stream, int len) {
  static_cast<sdlAudio*>(user)->mix(reinterpret_cast<int16_t*>(stream), len / 4);
}

// Volume changes ramp over 10 ms so that the fade never clicks.
void sdlAudio::mix(int16_t* out, int frames) {
  callbackTicks = SDL_GetPerformanceCounter();
  deliveredBefore = delivered;
  if (!playing || track.frames == 0) {
    std::memset(out, 0, size_t(frames) * 4);
    return;
  }
  const float ramp = 1.0f / (0.01f * float(mixRate));
  const int16_t* in = track.samples.data();
  float target = held ? 0.0f : targetGain;
  if (held && gain == 0.0f) {  // faded out: silence, and nothing more is heard
    std::memset(out, 0, size_t(frames) * 4);
    return;
  }
  const int leaveFrames = mixRate / 250;  // 4 ms
  for (int i = 0; i < frames; ++i) {
    if (leaveLeft > 0) {  // the old place fades out before the new one fades in
      float g = gain * float(leaveLeft) / float(leaveFrames);
      out[2 * i] = int16_t(float(in[2 * size_t(leaving)]) * g);
      out[2 * i + 1] = int16_t(float(in[2 * size_t(leaving) + 1]) * g);
      if (++leaving == track.frames) leaving = 0;
      if (--leaveLeft == 0) gain = 0.0f;
      continue;
    }
    if (gain < target) gain = std::min(target, gain + ramp);
    else if (gain > target) gain = std::max(target, gain - ramp);
    out[2 * i] = int16_t(float(in[2 * size_t(cursor)]) * gain);
    out[2 * i + 1] = int16_t(float(in[2 * size_t(cursor) + 1]) * gain);
    if (++cursor == track.frames) cursor = 0;
  }
  delivered += uint64_t(frames);
}

// Stereo 16-bit, opened at the asked rate (SDL converts if the hardware
// differs); the device runs from here on and stays silent until play.
bool sdlAudio::init(int rate) {
  close();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    audioSetFailure(SDL_GetError());
    return false;
  }
  subsystemUp = true;
  SDL_AudioSpec want, have;
  SDL_zero(want);
  SDL_zero(have);
  want.freq = rate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = fillCallback;
  want.userdata = this;
  device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device == 0) {
    audioSetFailure(SDL_GetError());
    close();
    return false;
  }
  mixRate = have.freq;
  bufferFrames = have.samples;
  SDL_PauseAudioDevice(device, 0);
  return true;
}

// One conversion at load time when the file's rate is not the device's.
static bool convertRate(decodedTrack& track, int to) {
  if (track.frequency == to) return true;
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, AUDIO_S16SYS, 2, track.frequency, AUDIO_S16SYS, 2, to) < 0) return false;
  size_t bytes = track.samples.size() * 2;
  if (bytes * size_t(cvt.len_mult) > size_t(INT32_MAX)) return false;
  std::vector<int16_t> work(bytes * size_t(cvt.len_mult) / 2 + 2);
  std::memcpy(work.data(), track.samples.data(), bytes);
  cvt.buf = reinterpret_cast<Uint8*>(work.data());
  cvt.len = int(bytes);
  if (SDL_ConvertAudio(&cvt) != 0 || cvt.len_cvt < 4) return false;
  work.resize(size_t(cvt.len_cvt) / 2);
  track.samples.swap(work);
  track.frames = uint32_t(track.samples.size() / 2);
  track.frequency = to;
  return true;
}

bool sdlAudio::loadSample(const std::string& fileName) {
  decodedTrack loaded;
  if (!decodeMp3(fileName, loaded, true)) return false;
  if (!convertRate(loaded, mixRate)) {
    audioSetFailure("the track cannot be converted to the output rate");
    return false;
  }
  lock();
  playing = false;
  track.samples.swap(loaded.samples);
  track.frames = loaded.frames;
  track.frequency = loaded.frequency;
  unlock();
  return true;
}

// Called under the device lock: counting starts again at the given frame.
void sdlAudio::restartCount(uint32_t from) {
  cursor = track.frames ? from % track.frames : 0;
  origin = cursor;
  leaveLeft = 0;
  delivered = deliveredBefore = 0;
  callbackTicks = 0;
  lastHeard = 0;
}

void sdlAudio::play() {
  lock();
  restartCount(0);
  gain = targetGain;
  playing = track.frames > 0;
  unlock();
}

void sdlAudio::setVolume(int volume) {
  lock();
  targetGain = float(std::clamp(volume, 0, 255)) / 255.0f;
  unlock();
}

// The old place fades out over 4 ms and the new one fades in over the
// volume ramp, so the jump does not click. The position counts from the new
// place at once.
void sdlAudio::setPosition(uint32_t samples) {
  lock();
  uint32_t old = cursor;
  bool sounding = playing && !held && gain > 0.0f && track.frames > 0;
  restartCount(samples);
  if (sounding) {
    leaving = old;
    leaveLeft = mixRate / 250;
  } else {
    gain = 0.0f;
  }
  unlock();
}

void sdlAudio::pause(bool paused) {
  lock();
  held = paused;
  unlock();
}

// Heard = delivered before the latest callback, less the one buffer the
// device was playing then, plus the real time since; never beyond what had
// been delivered before that callback.
uint32_t sdlAudio::position() {
  if (track.frames == 0) return 0;
  lock();
  uint64_t before = deliveredBefore, ticks = callbackTicks;
  uint32_t from = origin;
  bool on = playing;
  unlock();
  uint64_t heard = 0;
  if (on && ticks != 0) {
    double since = double(SDL_GetPerformanceCounter() - ticks) / double(SDL_GetPerformanceFrequency());
    double h = double(before) - double(bufferFrames) + since * double(mixRate);
    heard = uint64_t(std::clamp(h, 0.0, double(before)));
  }
  lastHeard = std::max(lastHeard, heard);
  return uint32_t((uint64_t(from) + lastHeard) % track.frames);
}

void sdlAudio::close() {
  if (device) SDL_CloseAudioDevice(device);
  device = 0;
  if (subsystemUp) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  subsystemUp = false;
  playing = false;
  track = decodedTrack();
  restartCount(0);
}

// Never destroyed: the device thread may still be running when the process
// ends without closing the audio.
audioBackend* sdlAudioBackend() {
  static sdlAudio* instance = new sdlAudio;
  return instance;
}
