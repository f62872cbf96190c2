// The baked music track: it decodes to the full length, its levels suit
// every scene's stretch, and its form meets the scene changes.
#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "content/score.h"
#include "driver/timeline.h"

namespace {

const char* const trackName = "music//Nauvo and Kestrel - driftwork.mp3";

// The whole track decoded once: interleaved 16-bit stereo at 44.1 kHz.
struct decodedTrack {
  std::vector<short> pcm;
  long rate = 0;
  int channels = 0;
  bool ok = false;
  double seconds() const { return channels ? double(pcm.size()) / channels / rate : 0; }
};

decodedTrack decode(const std::string& path) {
  decodedTrack d;
  mpg123_handle* mh = mpg123_new(nullptr, nullptr);
  if (!mh) return d;
  mpg123_format_none(mh);
  mpg123_format(mh, 44100, MPG123_STEREO, MPG123_ENC_SIGNED_16);
  int enc = 0, err = MPG123_OK;
  if (mpg123_open(mh, path.c_str()) == MPG123_OK && mpg123_getformat(mh, &d.rate, &d.channels, &enc) == MPG123_OK) {
    unsigned char buf[65536];
    size_t got = 0;
    while (err == MPG123_OK || err == MPG123_NEW_FORMAT) {
      err = mpg123_read(mh, buf, sizeof buf, &got);
      const short* s = reinterpret_cast<const short*>(buf);
      d.pcm.insert(d.pcm.end(), s, s + got / sizeof(short));
    }
    d.ok = err == MPG123_DONE;
    mpg123_close(mh);
  }
  mpg123_delete(mh);
  return d;
}

const decodedTrack& track() {
  static const decodedTrack d = decode(std::string(OBELISK_DATA_DIR) + "/" + trackName);
  return d;
}

// Demo times of the five scene hand-overs at a steady 60 frames per second.
std::vector<double> sceneChanges() {
  std::vector<double> at = simulateTimeline(1.0 / 60);
  at.resize(std::min<size_t>(at.size(), 5));
  return at;
}

// Level of a stretch in dB of full scale: RMS, peak, the quietest 3 s window
// and the mean of each channel (DC offset).
struct stretchLevel {
  double rms, peak, quietest, mean[2];
};

stretchLevel measure(const decodedTrack& d, double from, double to) {
  size_t a = size_t(from * d.rate) * 2, b = std::min(d.pcm.size(), size_t(to * d.rate) * 2);
  size_t window = size_t(3 * d.rate) * 2;
  double sum = 0, winSum = 0, quietest = 1e30, peak = 0, mean[2] = {0, 0};
  for (size_t i = a; i < b; ++i) {
    double x = d.pcm[i] / 32768.0;
    sum += x * x, winSum += x * x, mean[i & 1] += x;
    peak = std::max(peak, std::fabs(x));
    if ((i - a + 1) % window == 0) quietest = std::min(quietest, winSum / window), winSum = 0;
  }
  auto db = [](double power) { return 10 * std::log10(std::max(power, 1e-20)); };
  double n = double(b - a);
  return {db(sum / n), 20 * std::log10(std::max(peak, 1e-10)), db(quietest), {mean[0] * 2 / n, mean[1] * 2 / n}};
}

TEST(musicTrack, decodesToTheFullLengthAtCdRate) {
  const decodedTrack& d = track();
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.rate, 44100);
  EXPECT_EQ(d.channels, 2);
  // The driver follows the music until 5 s before its end; the production ends at 455.5 s.
  EXPECT_GT(d.seconds(), 460.5);
  // The encoder's tag frame lets the decoder drop its delay and padding.
  EXPECT_NEAR(d.seconds(), scoreSeconds, 1.0 / 44100);
}

TEST(musicTrack, everySceneStretchIsAudibleAndUnclippedThenFades) {
  const decodedTrack& d = track();
  ASSERT_TRUE(d.ok);
  std::vector<double> cuts = sceneChanges();
  ASSERT_EQ(cuts.size(), 5u);
  cuts.insert(cuts.begin(), 2.0);  // the first pad swells in over the first seconds
  cuts.push_back(450.0);           // the fade-out follows
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    stretchLevel l = measure(d, cuts[i], cuts[i + 1]);
    SCOPED_TRACE("stretch " + std::to_string(cuts[i]) + " ... " + std::to_string(cuts[i + 1]) + " s");
    EXPECT_TRUE(l.rms > -32.0 && l.rms < -10.0) << l.rms;
    EXPECT_GT(l.quietest, -50.0);
    EXPECT_LT(l.peak, -0.5);  // below full scale with room for reconstruction
    EXPECT_LT(std::max(std::fabs(l.mean[0]), std::fabs(l.mean[1])), 2e-3);
  }
  EXPECT_GT(measure(d, 440, 448).rms, -30.0);
  EXPECT_LT(measure(d, d.seconds() - 1, d.seconds()).rms, -50.0);
}

TEST(musicScore, sceneChangesFallNearBarLinesOfSectionStarts) {
  for (double cut : sceneChanges()) {
    double best = 1e9;
    for (const scoreSection& s : scoreSections)
      if (s.scene) best = std::min(best, std::fabs(s.bar * scoreBarSeconds - cut));
    EXPECT_LT(best, 0.5 * scoreBarSeconds) << "scene change at " << cut << " s";
  }
}

}  // namespace
