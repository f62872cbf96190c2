// test_music.cpp -- the baked music track: it decodes to the full length, its
// levels suit every scene's stretch, its form meets the scene changes, and a
// second render gives the same bytes.
#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "content/score.h"
#include "scenes/timing.h"

namespace {

const char* const trackName = "music//Nauvo and Kestrel - driftwork.mp3";

std::string trackPath(const std::string& dataDir) { return dataDir + "/" + trackName; }

// Demo times at which the scenes hand over, from the section clocks and their
// step scalings, with a steady 60 frames per second: start, intro, birds,
// city, drawing, end.
std::vector<double> sceneChanges() {
  std::vector<double> at;
  double demo = 0, t[6] = {-13.5, 0, 0, 0, 0, 0};
  int part = 0;
  const double frame = 1.0 / 60;
  while (part < 6 && demo < 460) {
    demo += frame;
    double s = frame;
    if (part == 0) {
      if (t[0] > 14) s *= 1 + 0.18 * ease(t[0] - 14);
      if ((t[0] += s) > 27) part = 1, at.push_back(demo);
    } else if (part == 1) {
      double u = t[1];
      s *= (u < 18 ? 0.84 : 1) * (u > 18 && u < 36 ? 1.1785714285714286 : 1);
      s *= (1 - 0.9 * (ease(0.9 * (u - 51)) - ease(0.9 * (u - 52)))) * (u < 40 ? 1.12 : 1) * (u < 5 ? 1.05 : 1);
      if (u > 171) part = 2, at.push_back(demo);
      t[1] += s;
    } else if (part == 2) {
      if ((t[2] += s * 1.07 * 1.05) > 69) part = 3, at.push_back(demo);
    } else if (part == 3) {
      s *= 1.07 * 1.07 * (1 + 0.12 * ease(t[3] - 54)) * (1 - 0.05 * ease(t[3] - 68));
      if ((t[3] += s) > 76) part = 4, at.push_back(demo);
    } else {
      s *= 1.07 * 1.05 * 0.915 * 0.968;
      if (part == 4 && (t[4] += s) > 97.7) part = 5, at.push_back(demo);
      if (part == 5 && t[5] > 14) s *= 1 + 0.18 * ease(t[5] - 14);
      if (part == 5 && (t[5] += s * 0.91) > 20) part = 6;
    }
  }
  return at;
}

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
  int enc = 0;
  if (mpg123_open(mh, path.c_str()) == MPG123_OK && mpg123_getformat(mh, &d.rate, &d.channels, &enc) == MPG123_OK) {
    unsigned char buf[65536];
    size_t got = 0;
    int err = MPG123_OK;
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
  static const decodedTrack d = decode(trackPath(OBELISK_DATA_DIR));
  return d;
}

// Level of a stretch in dB of full scale: RMS, peak and the quietest 3 s window.
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
  ASSERT_TRUE(d.ok) << trackPath(OBELISK_DATA_DIR);
  EXPECT_EQ(d.rate, 44100);
  EXPECT_EQ(d.channels, 2);
  // The driver follows the music until 5 s before its end; the production ends at 455.5 s.
  EXPECT_GT(d.seconds(), 460.5);
  // The encoder's tag frame lets the decoder drop its delay and padding.
  EXPECT_NEAR(d.seconds(), scoreSeconds, 1.0 / 44100);
}

TEST(musicTrack, everySceneStretchIsAudibleAndUnclipped) {
  const decodedTrack& d = track();
  ASSERT_TRUE(d.ok);
  std::vector<double> cuts = sceneChanges();
  ASSERT_EQ(cuts.size(), 5u);
  cuts.insert(cuts.begin(), 2.0);  // the first pad swells in over the first seconds
  cuts.push_back(450.0);           // the fade-out follows
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    stretchLevel l = measure(d, cuts[i], cuts[i + 1]);
    SCOPED_TRACE("stretch " + std::to_string(cuts[i]) + " ... " + std::to_string(cuts[i + 1]) + " s");
    EXPECT_GT(l.rms, -32.0);
    EXPECT_LT(l.rms, -10.0);
    EXPECT_GT(l.quietest, -50.0);
    EXPECT_LT(l.peak, -0.5);  // below full scale with room for reconstruction
    EXPECT_LT(std::fabs(l.mean[0]), 2e-3);
    EXPECT_LT(std::fabs(l.mean[1]), 2e-3);
  }
}

TEST(musicTrack, fadesOutAtTheEnd) {
  const decodedTrack& d = track();
  ASSERT_TRUE(d.ok);
  EXPECT_LT(measure(d, d.seconds() - 1, d.seconds()).rms, -50.0);
  EXPECT_GT(measure(d, 440, 448).rms, -30.0);
}

// Onset strength per 10 ms frame: the rise of the frame's energy.
std::vector<double> onsets(const decodedTrack& d, double from, double to) {
  const size_t frame = size_t(d.rate / 100) * 2;
  std::vector<double> energy, rise;
  for (size_t i = size_t(from * d.rate) * 2; i + frame <= size_t(to * d.rate) * 2; i += frame) {
    double e = 0;
    for (size_t k = i; k < i + frame; ++k) e += double(d.pcm[k]) * d.pcm[k];
    energy.push_back(std::log10(1 + e));
  }
  for (size_t i = 1; i < energy.size(); ++i) rise.push_back(std::max(0.0, energy[i] - energy[i - 1]));
  return rise;
}

// A steady tempo shows as an onset pattern that repeats every bar: the
// self-similarity one bar apart stands well above that at other delays.
TEST(musicTrack, theGrooveRepeatsEveryBar) {
  const decodedTrack& d = track();
  ASSERT_TRUE(d.ok);
  std::vector<double> o = onsets(d, 60, 95);
  auto similarity = [&](int lag) {
    double sum = 0;
    for (size_t i = 0; i + size_t(lag) < o.size(); ++i) sum += o[i] * o[i + size_t(lag)];
    return sum / double(o.size() - size_t(lag));
  };
  std::vector<double> all;
  for (int lag = 20; lag <= 250; ++lag) all.push_back(similarity(lag));
  std::sort(all.begin(), all.end());
  int bar = int(scoreBarSeconds * 100);
  double atBar = std::max(similarity(bar), similarity(bar + 1));
  EXPECT_GT(atBar, 2 * all[all.size() / 2]);
  EXPECT_GE(atBar, all[all.size() * 9 / 10]);
}

TEST(musicTrack, bothChannelsCarryDifferentSignals) {
  const decodedTrack& d = track();
  ASSERT_TRUE(d.ok);
  double ll = 0, rr = 0, lr = 0;
  for (size_t i = size_t(100 * d.rate) * 2; i < size_t(130 * d.rate) * 2; i += 2) {
    double l = d.pcm[i], r = d.pcm[i + 1];
    ll += l * l, rr += r * r, lr += l * r;
  }
  double correlation = lr / std::sqrt(ll * rr);
  EXPECT_GT(correlation, 0.3);   // one piece, not two
  EXPECT_LT(correlation, 0.98);  // panning, delay and reverb give it width
}

TEST(musicScore, sceneChangesFallOnSectionStarts) {
  std::vector<double> cuts = sceneChanges();
  ASSERT_EQ(cuts.size(), 5u);
  EXPECT_NEAR(cuts[0], 38.6, 0.1);
  EXPECT_NEAR(cuts[4], 433.8, 0.1);
  for (double cut : cuts) {
    double best = 1e9;
    for (const scoreSection& s : scoreSections)
      if (s.scene) best = std::min(best, std::fabs(s.bar * scoreBarSeconds - cut));
    EXPECT_LT(best, 0.5 * scoreBarSeconds) << "scene change at " << cut << " s";
  }
  EXPECT_GT(scoreSeconds, 460.5);
}

TEST(musicTrack, aSecondRenderGivesTheSameBytes) {
  char dir[] = "/tmp/obelisk_music_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string cmd = std::string("'") + OBELISK_CONTENT_EXE + "' " + dir + " --only music > /dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  auto bytes = [](const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  };
  std::vector<char> first = bytes(trackPath(OBELISK_DATA_DIR)), second = bytes(trackPath(dir));
  std::remove(trackPath(dir).c_str());
  for (const char* sub : {"/music", "/log", ""}) rmdir((std::string(dir) + sub).c_str());
  ASSERT_FALSE(second.empty());
  EXPECT_TRUE(first == second) << "sizes " << first.size() << " and " << second.size();
}

}  // namespace
