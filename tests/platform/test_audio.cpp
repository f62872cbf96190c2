// Music playback: decoding, the silent clock and the SDL output, on short
// tracks encoded here (the LAME tag frame lets the decoder trim the
// encoder's delay and padding, so lengths are exact).
#include <gtest/gtest.h>
#include <lame/lame.h>

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/audio.h"
#include "platform/audio_decode.h"
#include "platform/platform.h"
#include "tests/support/testfiles.h"

namespace {

const int Amplitude = 10000;

// A 440 Hz tone of the given length, written as an MP3 with its tag frame.
std::string encodeTone(const scratchDir& dir, const char* name, int rate, int channels, int frames) {
  lame_t lame = lame_init();
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_num_channels(lame, channels);
  lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_brate(lame, 128);
  lame_set_quality(lame, 7);
  lame_set_bWriteVbrTag(lame, 1);
  EXPECT_GE(lame_init_params(lame), 0);
  std::vector<short> pcm(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) pcm[size_t(i)] = short(Amplitude * std::sin(2 * M_PI * 440.0 * i / rate));
  std::vector<unsigned char> mp3(size_t(frames) * 5 / 4 + 7200 * 2);
  int n = lame_encode_buffer(lame, pcm.data(), pcm.data(), frames, mp3.data(), int(mp3.size()));
  n += lame_encode_flush(lame, mp3.data() + n, int(mp3.size()) - n);
  unsigned char tag[4096];
  size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
  EXPECT_GT(tagSize, 0u);
  std::copy(tag, tag + tagSize, mp3.begin());  // replaces the placeholder frame
  lame_close(lame);
  return dir.write(name, std::string(reinterpret_cast<const char*>(mp3.data()), size_t(n)));
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

TEST(audioDecode, lengthIsWhatWasEncodedAndForeignFilesFail) {
  scratchDir dir;
  decodedTrack track;
  ASSERT_TRUE(decodeMp3(encodeTone(dir, "stereo.mp3", 44100, 2, 66150), track, true));
  EXPECT_EQ(track.frequency, 44100);
  EXPECT_EQ(track.frames, 66150u);
  EXPECT_EQ(track.samples.size(), 2 * 66150u);
  // Mono at another rate comes out as stereo at the file's own rate.
  ASSERT_TRUE(decodeMp3(encodeTone(dir, "mono.mp3", 22050, 1, 30000), track, false));
  EXPECT_EQ(track.frequency, 22050);
  EXPECT_EQ(track.frames, 30000u);
  EXPECT_TRUE(track.samples.empty());
  std::string text = dir.write("notes.mp3", "not a track at all\n");
  EXPECT_FALSE(decodeMp3(dir.path("absent.mp3"), track, true));
  EXPECT_FALSE(decodeMp3(text, track, true));
  EXPECT_EQ(track.frames, 0u);
  EXPECT_FALSE(silentAudioBackend()->loadSample(text));
  EXPECT_FALSE(sdlAudioBackend()->loadSample(dir.path("absent.mp3")));
}

// A decode started ahead hands over what decoding at load time would give,
// failures and their reasons included; one of another kind is not taken.
TEST(audioDecode, aDecodeAheadGivesWhatALoadWouldDecode) {
  scratchDir dir;
  std::string file = encodeTone(dir, "ahead.mp3", 44100, 2, 30000), missing = dir.path("absent.mp3");
  decodedTrack direct, ahead;
  ASSERT_TRUE(decodeMp3(file, direct, true));
  decodeAhead(file, true);
  ASSERT_TRUE(decodeMp3(file, ahead, true));
  EXPECT_EQ(ahead.frequency, direct.frequency);
  EXPECT_EQ(ahead.frames, direct.frames);
  EXPECT_TRUE(ahead.samples == direct.samples);
  decodeAhead(file, false);  // counts only: a load that keeps samples decodes itself
  ASSERT_TRUE(decodeMp3(file, ahead, true));
  EXPECT_EQ(ahead.samples.size(), 2 * 30000u);
  audioSetFailure("");
  EXPECT_FALSE(decodeMp3(missing, direct, true));
  std::string reason = audioFailure();
  EXPECT_FALSE(reason.empty());
  decodeAhead(missing, true);
  audioSetFailure("");
  EXPECT_FALSE(decodeMp3(missing, ahead, true));
  EXPECT_EQ(audioFailure(), reason);
  // Through a back end, as the start-up does it.
  silentAudioBackend()->prefetch(file);
  ASSERT_TRUE(silentAudioBackend()->loadSample(file));
  EXPECT_EQ(silentAudioBackend()->sampleLength(), 30000u);
  decodeAhead(file, true);  // never taken: waited for when the program ends
}

// The silent clock through the driver's own calls: time before play does
// not count; polled across the loop point the position only increases but
// for wrapping exactly to the start, so that the time it adds up to is the
// time the counter moved, to a sample; a new position counts from there.
TEST(audioSilent, positionFollowsTheCounterAndWrapsExactlyAtTheLoop) {
  scratchDir dir;
  std::string file = encodeTone(dir, "silent.mp3", 44100, 2, 22050);
  platformCounterManual(true);
  audioUseBackend(silentAudioBackend());
  ASSERT_TRUE(audioInit(44100, 32));
  ASSERT_TRUE(audioLoadSample(file));
  audioLoop();
  platformCounterAdvance(3.0);
  audioPlay(MusicChannel);
  EXPECT_EQ(audioFrequency(MusicChannel), 44100);
  ASSERT_EQ(audioSampleLength(), 22050u);
  for (uint32_t from : {0u, 20000u}) {
    if (from) audioSetPosition(MusicChannel, from);
    uint32_t last = audioPosition(MusicChannel);
    EXPECT_EQ(last, from);
    uint64_t played = 0;
    int wraps = 0;
    for (int i = 1; i <= 200; ++i) {  // 1.4 s: two loops and more
      platformCounterAdvance(0.007);
      uint32_t now = audioPosition(MusicChannel);
      ASSERT_LT(now, 22050u);
      wraps += now < last;
      played += now < last ? 22050 - last + now : now - last;
      last = now;
      ASSERT_NEAR(double(played), i * 0.007 * 44100, 2.0) << "poll " << i << " from " << from;
    }
    EXPECT_EQ(wraps, from ? 3 : 2);
  }
  audioClose();
  audioClose();
  platformCounterManual(false);
  audioUseBackend(nullptr);
}

// ---- SDL output: the test chooses SDL's audio driver; the program itself never does.
class sdlAudioTest : public ::testing::Test {
protected:
  audioBackend* out = sdlAudioBackend();
  scratchDir dir;
  bool useDriver(const char* name) {
    setenv("SDL_AUDIODRIVER", name, 1);
    return out->init(44100);
  }
  void TearDown() override {
    out->close();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }
};

TEST_F(sdlAudioTest, initFailsWithoutADevice) {
  EXPECT_FALSE(useDriver("no-such-driver"));
  out->close();
  out->close();
}

// The position counts what the listener has heard: never ahead of the real
// time since play, and polled across the loop point it only moves on; a
// wrap is a step forward over the loop point, never a jump back.
TEST_F(sdlAudioTest, positionNeverRunsBackwardsAcrossTheLoop) {
  std::string file = encodeTone(dir, "half-rate.mp3", 22050, 1, 11025);  // half a second
  if (!useDriver("dummy")) GTEST_SKIP() << "no \"dummy\" audio driver: " << SDL_GetError();
  ASSERT_TRUE(out->loadSample(file));
  EXPECT_EQ(out->frequency(), 44100);  // converted to the device's rate
  EXPECT_NEAR(double(out->sampleLength()), 22050.0, 64.0);
  const uint32_t length = out->sampleLength();
  out->play();
  auto start = std::chrono::steady_clock::now(), before = start;
  uint32_t last = out->position();
  uint64_t played = 0;
  int wraps = 0;
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(1600)) {
    sleepMs(2);
    auto now = std::chrono::steady_clock::now();
    uint32_t at = out->position();
    ASSERT_LT(at, length);
    uint64_t step = at < last ? length - last + at : at - last;
    wraps += at < last;
    ASSERT_LE(double(step), std::chrono::duration<double>(now - before).count() * 44100 + 1024) << "from " << last << " to " << at;
    played += step;
    last = at, before = now;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LE(double(played), seconds * 44100.0 + 2048.0);  // never ahead of what was handed out
  EXPECT_GE(wraps, 1);
  EXPECT_GT(played, uint64_t(length));
  out->setPosition(length - 2205);  // 50 ms before the end
  sleepMs(300);
  EXPECT_LT(out->position(), length / 2);
}

// The disk driver writes what the callback produced: the volume scales it
// and is clamped to 0 ... 255.
TEST_F(sdlAudioTest, volumeScalesTheOutputAndIsClamped) {
  std::string file = encodeTone(dir, "volume.mp3", 44100, 2, 44100), raw = dir.path("output.raw");
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  auto peakOfRun = [&](int volume) {
    if (!out->init(44100)) return -1;
    EXPECT_TRUE(out->loadSample(file));
    out->setVolume(volume);
    out->play();
    sleepMs(150);
    out->close();
    std::ifstream in(raw, std::ios::binary);
    int peak = 0;
    for (int16_t s; in.read(reinterpret_cast<char*>(&s), 2);) peak = std::max(peak, std::abs(int(s)));
    return peak;
  };
  int full = peakOfRun(300);
  if (full < 0) GTEST_SKIP() << "no \"disk\" audio driver";
  EXPECT_NEAR(full, Amplitude, Amplitude / 10);
  EXPECT_NEAR(peakOfRun(128), full * 128 / 255, Amplitude / 50);
  EXPECT_EQ(peakOfRun(-40), 0);
}
