// The baked music track, read back with the program's own decoder: it
// decodes to the full length, its levels suit every scene's stretch, its form
// meets the scene changes, its second half holds up against its first and it
// is silent when the production ends. Then the score's own notes, and the
// synthesizer's stereo copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

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

double bar(double b) { return b * scoreBarSeconds; }

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

// A biquad in direct form I (Audio EQ Cookbook), low- or high-pass, Q 0.707.
struct biquad {
  double b0, b1, b2, a1, a2, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  biquad(double hz, bool high) {
    double w = 2 * M_PI * hz / 44100, c = std::cos(w), alpha = std::sin(w) / (2 * 0.7071), a0 = 1 + alpha;
    double edge = high ? (1 + c) / 2 : (1 - c) / 2;
    b0 = edge / a0, b1 = (high ? -2 : 2) * edge / a0, b2 = edge / a0, a1 = -2 * c / a0, a2 = (1 - alpha) / a0;
  }
  double run(double x) {
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    return y;
  }
};

// Of a stretch: the share of the mid signal's energy that a fourth-order
// filter at `hz` passes, and the correlation of left and right.
struct stretchSpectrum {
  double below40, above5k, correlation;
};

stretchSpectrum spectrum(const decodedTrack& d, double from, double to) {
  biquad lo[2] = {{40, false}, {40, false}}, hi[2] = {{5000, true}, {5000, true}};
  double all = 0, low = 0, high = 0, lr = 0, ll = 0, rr = 0;
  size_t b = std::min(size_t(d.frames), size_t(to * 44100));
  for (size_t i = size_t(from * 44100); i < b; ++i) {
    double l = d.samples[2 * i] / 32768.0, r = d.samples[2 * i + 1] / 32768.0, m = 0.5 * (l + r);
    double a = lo[1].run(lo[0].run(m)), h = hi[1].run(hi[0].run(m));
    all += m * m, low += a * a, high += h * h, lr += l * r, ll += l * l, rr += r * r;
  }
  return {low / std::max(all, 1e-20), high / std::max(all, 1e-20), lr / std::sqrt(std::max(ll * rr, 1e-30))};
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

TEST(musicTrack, everySceneStretchIsAudibleAndUnclipped) {
  const decodedTrack& d = track();
  std::vector<double> cuts = sceneChanges();
  ASSERT_EQ(cuts.size(), 5u);
  cuts.insert(cuts.begin(), 2.0);  // the first pad swells in over the first seconds
  cuts.push_back(450.0);           // the last chord dies away
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    stretchLevel l = measure(d, cuts[i], cuts[i + 1]);
    SCOPED_TRACE("stretch " + std::to_string(cuts[i]) + " ... " + std::to_string(cuts[i + 1]) + " s");
    EXPECT_TRUE(l.rms > -32.0 && l.rms < -10.0) << l.rms;
    EXPECT_GT(l.quietest, -50.0);
    EXPECT_LT(l.peak, -1.0);  // below full scale with room for reconstruction
    EXPECT_LT(std::max(std::fabs(l.mean[0]), std::fabs(l.mean[1])), 2e-3);
  }
}

TEST(musicScore, sceneChangesFallOnSectionStarts) {
  for (double cut : sceneChanges()) {
    double best = 1e9;
    for (const scoreSection& s : scoreSections)
      if (s.scene) best = std::min(best, std::fabs(bar(s.bar) - cut));
    EXPECT_LT(best, 0.4) << "scene change at " << cut << " s";
  }
}

// The production ends at 455.5 s: the piece has ended by then, on its last
// chord rather than a fade over a held one, and nothing follows.
TEST(musicTrack, isSilentWhenTheProductionEnds) {
  const decodedTrack& d = track();
  EXPECT_LT(measure(d, 455.5, seconds(d)).peak, -60.0);
  EXPECT_GT(measure(d, bar(209), bar(209) + 3).rms, -24.0);  // the last chord
}

// The second half is not a long fade: the drawing builds, the close is the
// loudest stretch of the piece, and the stretches after the first half's
// summit are on average within a few dB of those before.
TEST(musicTrack, theSecondHalfBuildsToALateClimax) {
  const decodedTrack& d = track();
  double summit = measure(d, bar(73), bar(89)).rms, climax = measure(d, bar(203), bar(209)).rms;
  EXPECT_GT(climax, summit - 0.5);
  EXPECT_GT(measure(d, bar(181), bar(203)).rms, measure(d, bar(157), bar(181)).rms + 1.5);
  EXPECT_GT(measure(d, bar(98), 455.5).rms, measure(d, 2, bar(98)).rms - 2.0);
}

// Little energy under 40 Hz (no sub-octave under the bass), some above 5 kHz
// (hats, shaker, open filters) in the busy late stretches, and a mix that is
// wide rather than mono in the middle.
TEST(musicTrack, lowEndTopAndWidthAreInBounds) {
  const decodedTrack& d = track();
  EXPECT_LT(spectrum(d, 2, 455.5).below40, 0.02);
  struct {
    double from, to;
  } busy[] = {{bar(27), bar(45)}, {bar(73), bar(89)}, {bar(127), bar(157)}, {bar(181), bar(203)}, {bar(203), bar(209)}};
  for (const auto& b : busy) {
    stretchSpectrum s = spectrum(d, b.from, b.to);
    SCOPED_TRACE("stretch " + std::to_string(b.from) + " ... " + std::to_string(b.to) + " s");
    EXPECT_LT(s.correlation, 0.9);
    if (b.from > bar(100)) {
      EXPECT_GT(10 * std::log10(s.above5k), -22.0);
    }
  }
}

// No part loops unchanged: of the 4-bar windows with some notes in them,
// few share more than four fifths of their notes (channel, sixteenth, pitch)
// with another window.
TEST(musicScore, fewFourBarWindowsRepeatAnother) {
  const double window = 4 * scoreBarSeconds * synthRate;
  std::vector<std::set<std::tuple<int, int, int>>> w(size_t(scoreSeconds * synthRate / window));
  std::vector<noteEvent> notes;
  scoreEvents(notes);
  for (const noteEvent& e : notes) {
    size_t k = size_t(double(e.start) / window);
    if (k >= w.size()) continue;
    int step = int(std::lround((double(e.start) - double(k) * window) / (window / 64)));
    w[k].insert({e.channel, step, int(std::lround(e.note))});
  }
  int full = 0, repeats = 0;
  for (size_t a = 0; a < w.size(); ++a) {
    if (w[a].size() < 8) continue;
    ++full;
    double best = 0;
    for (size_t b = 0; b < w.size(); ++b) {
      if (a == b) continue;
      size_t shared = 0;
      for (const auto& n : w[a]) shared += w[b].count(n);
      best = std::max(best, double(shared) / double(w[a].size() + w[b].size() - shared));
    }
    repeats += best > 0.8;
  }
  EXPECT_GT(full, 45);
  EXPECT_LE(repeats, full / 10);
}

namespace {

std::vector<float> play(const patch& p, float note, std::vector<float>* right = nullptr) {
  voice v;
  noteEvent e;
  e.note = note, e.length = synthRate / 2;
  startVoice(v, p, e, 7);
  std::vector<float> out(synthRate, 0.f);
  if (right) right->assign(out.size(), 0.f);
  renderVoice(v, out.data(), int(out.size()), right ? right->data() : nullptr);
  return out;
}

}  // namespace

// Spread copies make left and right differ at the power of the mono sum; a
// patch without spread renders as it does alone.
TEST(musicSynth, spreadCopiesAreApartAtTheMonoPower) {
  patch p;
  p.wave = waveSaw, p.oscCount = 3, p.detune = 12, p.spread = 1;
  std::vector<float> right, left = play(p, 57, &right), mono = play(p, 57);
  double ll = 0, rr = 0, lr = 0, mm = 0;
  for (size_t i = 0; i < left.size(); ++i)
    ll += left[i] * left[i], rr += right[i] * right[i], lr += left[i] * right[i], mm += mono[i] * mono[i];
  EXPECT_LT(lr / std::sqrt(ll * rr), 0.9);
  EXPECT_NEAR(10 * std::log10((ll + rr) / (2 * mm)), 0.0, 1.0);
  p.spread = 0;
  EXPECT_TRUE(play(p, 57, &right) == mono);
  EXPECT_TRUE(std::all_of(right.begin(), right.end(), [](float x) { return x == 0; }));
}
