// The baked music track, read back with the program's own decoder: it
// decodes to the full length, its levels suit every scene's stretch, and its
// form meets the scene changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "content/score.h"
#include "driver/timeline.h"
#include "platform/audio_decode.h"

namespace {

const decodedTrack& track() {
  static decodedTrack d;
  static bool ok = decodeMp3(std::string(OBELISK_DATA_DIR) + "/music//Nauvo and Kestrel - driftwork.mp3", d, true);
  EXPECT_TRUE(ok);
  return d;
}

double seconds(const decodedTrack& d) { return double(d.frames) / 44100; }

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
  size_t a = size_t(from * 44100) * 2, b = std::min(d.samples.size(), size_t(to * 44100) * 2), window = 3 * 44100 * 2;
  double sum = 0, winSum = 0, quietest = 1e30, peak = 0, mean[2] = {0, 0};
  for (size_t i = a; i < b; ++i) {
    double x = d.samples[i] / 32768.0;
    sum += x * x, winSum += x * x, mean[i & 1] += x;
    peak = std::max(peak, std::fabs(x));
    if ((i - a + 1) % window == 0) quietest = std::min(quietest, winSum / window), winSum = 0;
  }
  auto db = [](double power) { return 10 * std::log10(std::max(power, 1e-20)); };
  double n = double(b - a);
  return {db(sum / n), 20 * std::log10(std::max(peak, 1e-10)), db(quietest), {mean[0] * 2 / n, mean[1] * 2 / n}};
}

}  // namespace

// The driver follows the music until 5 s before its end; the production
// ends at 455.5 s. The encoder's tag frame lets the decoder drop its delay
// and padding, so the length is the score's to a sample.
TEST(musicTrack, decodesToTheFullLengthAtCdRate) {
  const decodedTrack& d = track();
  EXPECT_EQ(d.frequency, 44100);
  EXPECT_EQ(d.samples.size(), 2 * size_t(d.frames));
  EXPECT_GT(seconds(d), 460.5);
  EXPECT_NEAR(seconds(d), scoreSeconds, 1.0 / 44100);
}

TEST(musicTrack, everySceneStretchIsAudibleAndUnclippedThenFades) {
  const decodedTrack& d = track();
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
  EXPECT_LT(measure(d, seconds(d) - 1, seconds(d)).rms, -50.0);
}

TEST(musicScore, sceneChangesFallNearBarLinesOfSectionStarts) {
  for (double cut : sceneChanges()) {
    double best = 1e9;
    for (const scoreSection& s : scoreSections)
      if (s.scene) best = std::min(best, std::fabs(s.bar * scoreBarSeconds - cut));
    EXPECT_LT(best, 0.5 * scoreBarSeconds) << "scene change at " << cut << " s";
  }
}
