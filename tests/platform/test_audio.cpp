// Music playback: decoding, the silent clock and the SDL output, on short
// tracks encoded here (the LAME tag frame lets the decoder trim the
// encoder's delay and padding, so lengths are exact).
#include <gtest/gtest.h>
#include <lame/lame.h>

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "platform/audio.h"
#include "platform/audio_decode.h"
#include "platform/platform.h"

static const int Amplitude = 10000;

// A file in the temporary folder, unique to this process, removed at the end.
struct tempFile {
  std::string path;
  explicit tempFile(const char* name)
      : path(::testing::TempDir() + "obelisk" + std::to_string(getpid()) + "_" + name) {}
  ~tempFile() { std::remove(path.c_str()); }
};

// A 440 Hz tone of the given length, written as an MP3 with its tag frame.
static void encodeTone(const tempFile& file, int rate, int channels, int frames) {
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
  std::ofstream(file.path, std::ios::binary).write(reinterpret_cast<const char*>(mp3.data()), n);
}

TEST(audioDecode, lengthIsWhatWasEncoded) {
  tempFile stereo("stereo.mp3"), mono("mono.mp3");
  encodeTone(stereo, 44100, 2, 66150);
  encodeTone(mono, 22050, 1, 30000);
  decodedTrack track;
  ASSERT_TRUE(decodeMp3(stereo.path, track, true));
  EXPECT_EQ(track.frequency, 44100);
  EXPECT_EQ(track.frames, 66150u);
  EXPECT_EQ(track.samples.size(), 2 * 66150u);
  // Mono at another rate comes out as stereo at the file's own rate.
  ASSERT_TRUE(decodeMp3(mono.path, track, false));
  EXPECT_EQ(track.frequency, 22050);
  EXPECT_EQ(track.frames, 30000u);
  EXPECT_TRUE(track.samples.empty());
}

TEST(audioDecode, missingOrForeignFilesFail) {
  decodedTrack track;
  EXPECT_FALSE(decodeMp3(tempFile("no such track.mp3").path, track, true));
  tempFile text("notes.mp3");
  std::ofstream(text.path) << "not a track at all\n";
  EXPECT_FALSE(decodeMp3(text.path, track, true));
  EXPECT_EQ(track.frames, 0u);
  EXPECT_FALSE(silentAudioBackend()->loadSample(text.path));
  EXPECT_FALSE(sdlAudioBackend()->loadSample(tempFile("missing.mp3").path));
}

// A decode started ahead hands over what decoding at load time would give,
// failures and their reasons included; one of another kind is not taken.
TEST(audioDecode, aDecodeAheadGivesWhatALoadWouldDecode) {
  tempFile file("ahead.mp3");
  encodeTone(file, 44100, 2, 30000);
  decodedTrack direct, ahead;
  ASSERT_TRUE(decodeMp3(file.path, direct, true));
  decodeAhead(file.path, true);
  ASSERT_TRUE(decodeMp3(file.path, ahead, true));
  EXPECT_EQ(ahead.frequency, direct.frequency);
  EXPECT_EQ(ahead.frames, direct.frames);
  EXPECT_TRUE(ahead.samples == direct.samples);

  decodeAhead(file.path, false);  // counts only: a load that keeps samples decodes itself
  ASSERT_TRUE(decodeMp3(file.path, ahead, true));
  EXPECT_EQ(ahead.samples.size(), 2 * 30000u);

  std::string missing = tempFile("no such ahead.mp3").path;
  audioSetFailure("");
  EXPECT_FALSE(decodeMp3(missing, direct, true));
  std::string reason = audioFailure();
  EXPECT_FALSE(reason.empty());
  decodeAhead(missing, true);
  audioSetFailure("");
  EXPECT_FALSE(decodeMp3(missing, ahead, true));
  EXPECT_EQ(audioFailure(), reason);
  EXPECT_EQ(ahead.frames, 0u);

  // Through a back end, as the start-up does it.
  audioBackend* silent = silentAudioBackend();
  silent->prefetch(file.path);
  ASSERT_TRUE(silent->loadSample(file.path));
  EXPECT_EQ(silent->sampleLength(), 30000u);
  decodeAhead(file.path, true);  // never taken: waited for when the program ends
}

// The silent clock through the driver's own calls.
TEST(audioSilent, positionFollowsTheManualCounterAndLoops) {
  tempFile file("silent.mp3");
  encodeTone(file, 44100, 2, 44100);
  platformCounterManual(true);
  audioUseBackend(silentAudioBackend());
  ASSERT_TRUE(audioInit(44100, 32));
  ASSERT_TRUE(audioLoadSample(file.path));
  audioLoop();
  platformCounterAdvance(3.0);  // time before play does not count
  audioPlay(MusicChannel);
  EXPECT_EQ(audioPosition(MusicChannel), 0u);
  EXPECT_EQ(audioFrequency(MusicChannel), 44100);
  EXPECT_EQ(audioSampleLength(), 44100u);
  for (int frame = 1; frame <= 29; ++frame) platformCounterAdvance(1.0 / 30);
  EXPECT_NEAR(double(audioPosition(MusicChannel)), 44100.0 * 29 / 30, 1.0);
  platformCounterAdvance(1.0 / 30 + 0.25);  // past the end: the track loops
  EXPECT_NEAR(double(audioPosition(MusicChannel)), 11025.0, 2.0);
  audioSetPosition(MusicChannel, 40000);
  EXPECT_EQ(audioPosition(MusicChannel), 40000u);
  platformCounterAdvance(0.1);
  EXPECT_EQ(audioPosition(MusicChannel), (40000u + 4410u) % 44100u);
  audioClose();
  audioClose();
  platformCounterManual(false);
  audioUseBackend(nullptr);
}

// ---- SDL output -------------------------------------------------------------------------
// Chooses SDL's audio driver for one test; the program itself never does.
class sdlAudioTest : public ::testing::Test {
protected:
  audioBackend* out = sdlAudioBackend();
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

static void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TEST_F(sdlAudioTest, initFailsWithoutADevice) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_FALSE(out->init(44100));
  out->close();
  out->close();
}

TEST_F(sdlAudioTest, positionAdvancesMonotonicallyAndLoops) {
  tempFile file("half-rate.mp3");
  encodeTone(file, 22050, 1, 22050);
  if (!useDriver("dummy")) GTEST_SKIP() << "no \"dummy\" audio driver: " << SDL_GetError();
  ASSERT_TRUE(out->loadSample(file.path));
  EXPECT_EQ(out->frequency(), 44100);  // converted to the device's rate
  EXPECT_NEAR(double(out->sampleLength()), 44100.0, 64.0);
  out->play();
  uint32_t last = out->position();
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 40; ++i) {
    sleepMs(5);
    uint32_t now = out->position();
    ASSERT_GE(now, last);
    last = now;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GT(last, 0u);
  EXPECT_LE(double(last), seconds * 44100.0 + 2048.0);  // never ahead of what was handed out
  out->setPosition(out->sampleLength() - 2205);  // 50 ms before the end
  sleepMs(400);
  EXPECT_LT(out->position(), out->sampleLength() / 2);
}

// The disk driver writes what the callback produced: the volume scales it
// and is clamped to 0 ... 255.
static int peakOfRun(audioBackend* out, const tempFile& file, int volume) {
  tempFile raw("output.raw");
  setenv("SDL_DISKAUDIOFILE", raw.path.c_str(), 1);
  if (!out->init(44100)) return -1;
  EXPECT_TRUE(out->loadSample(file.path));
  out->setVolume(volume);
  out->play();
  sleepMs(150);
  out->close();
  std::ifstream in(raw.path, std::ios::binary);
  int peak = 0;
  int16_t s;
  while (in.read(reinterpret_cast<char*>(&s), 2)) peak = std::max(peak, std::abs(int(s)));
  return peak;
}

TEST_F(sdlAudioTest, volumeScalesTheOutputAndIsClamped) {
  tempFile file("volume.mp3");
  encodeTone(file, 44100, 2, 44100);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  int full = peakOfRun(out, file, 300);
  if (full < 0) GTEST_SKIP() << "no \"disk\" audio driver";
  EXPECT_NEAR(full, Amplitude, Amplitude / 10);
  EXPECT_NEAR(peakOfRun(out, file, 128), full * 128 / 255, Amplitude / 50);
  EXPECT_EQ(peakOfRun(out, file, -40), 0);
}
