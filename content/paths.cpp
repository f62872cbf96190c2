// paths.cpp -- recipes of the paths family: the shake track, the camera's text
// route; the stroke frames of the mantis drawing are in mantis_strokes.cpp.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "content/content.h"

void addMantisRecipes(std::vector<recipe>& out);  // mantis_strokes.cpp

namespace {

constexpr int ShakeRecords = 6400;

// A sum of sines with whole numbers of cycles over the track, so the track
// loops without a seam; amplitudes fall with frequency like a hand's tremor.
struct loopSignal {
  std::vector<double> cycles, amps, phases;
  loopSignal(contentRng& rng, int waves, double lo, double hi, double falloff) {
    for (int i = 0; i < waves; ++i) {
      double c = std::round(lo * std::pow(hi / lo, rng.uniform()));
      cycles.push_back(c);
      amps.push_back(std::pow(c, -falloff) * rng.range(0.6, 1.0));
      phases.push_back(rng.range(0, 2 * M_PI));
    }
  }
  double at(int i) const {
    double s = 0;
    for (size_t k = 0; k < cycles.size(); ++k)
      s += amps[k] * std::sin(2 * M_PI * cycles[k] * i / ShakeRecords + phases[k]);
    return s;
  }
};

// Scales a sampled signal so that its largest magnitude is `peak`.
std::vector<double> sampled(const loopSignal& s, double peak) {
  std::vector<double> v(ShakeRecords);
  double top = 1e-9;
  for (int i = 0; i < ShakeRecords; ++i) {
    v[size_t(i)] = s.at(i);
    top = std::max(top, std::fabs(v[size_t(i)]));
  }
  for (double& x : v) x *= peak / top;
  return v;
}

// The file is little-endian whatever the machine.
template <typename T>
void putLittle(unsigned char* p, T value) {
  const uint16_t one = 1;
  bool hostLittle = *reinterpret_cast<const unsigned char*>(&one) == 1;
  std::memcpy(p, &value, sizeof(T));
  if (!hostLittle) std::reverse(p, p + sizeof(T));
}

bool makeShakeTrack(const std::string& path) {
  contentRng rng(0x5A4E);
  std::vector<double> x = sampled(loopSignal(rng, 14, 3, 260, 0.7), 95);
  std::vector<double> y = sampled(loopSignal(rng, 14, 3, 260, 0.7), 90);
  std::vector<double> z = sampled(loopSignal(rng, 6, 2, 60, 0.5), 5);
  std::vector<double> a = sampled(loopSignal(rng, 5, 1, 12, 0.6), 290);
  std::vector<double> b = sampled(loopSignal(rng, 6, 2, 30, 0.8), 50);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  for (size_t i = 0; i < size_t(ShakeRecords); ++i) {
    unsigned char rec[28];
    putLittle(rec, float(x[i]));
    putLittle(rec + 4, float(y[i]));
    putLittle(rec + 8, float(z[i]));
    putLittle(rec + 12, a[i]);
    putLittle(rec + 20, b[i]);
    std::fwrite(rec, 1, sizeof rec, f);
  }
  return std::fclose(f) == 0;
}

// A slow loop around the drawing: 36 points in front of it.
bool makeCameraRoute(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const int n = 36;
  std::fprintf(f, "%d\n", n);
  for (int i = 0; i < n; ++i) {
    double a = 2 * M_PI * i / n;
    std::fprintf(f, "%.6f %.6f %.6f\n", 0.8 * std::sin(a), 0.15 * std::cos(2 * a), 2.0 + 0.3 * std::cos(a));
  }
  return std::fclose(f) == 0;
}

}  // namespace

void addPathRecipes(std::vector<recipe>& out) {
  out.push_back({"try1.sav", makeShakeTrack});
  out.push_back({"Part_mantis//camroutes.rt", makeCameraRoute});
  addMantisRecipes(out);
}
