// volume.cpp -- the velocity volume: 128 x 256 x 128 texels, x fastest, three
// little-endian float32 each. A curl-noise field: the curl of a vector
// potential made of random plane waves, so it is divergence-free by
// construction, smooth, and scaled to a mean magnitude of about 1.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>

#include "content/content.h"

namespace {

constexpr int VolX = 128, VolY = 256, VolZ = 128;
constexpr int Waves = 24;

// One wave of the potential: a·sin(k·p + phase). Its curl is
// cos(k·p + phase)·(k × a), so the field is a sum of cosines with fixed
// vector amplitudes, computed with per-axis complex exponentials.
struct wave {
  double kx, ky, kz;
  double ax, ay, az;  // k × a
  double phase;
};

std::vector<wave> makeWaves(uint64_t seed) {
  contentRng rng(seed);
  std::vector<wave> out;
  for (int i = 0; i < Waves; ++i) {
    // Wavelengths of 24 ... 96 texels, directions spread over the sphere.
    double len = rng.range(24.0, 96.0), z = rng.range(-1, 1), phi = rng.range(0, 2 * M_PI);
    double r = std::sqrt(1 - z * z), k = 2 * M_PI / len;
    wave w{k * r * std::cos(phi), k * r * std::sin(phi), k * z, 0, 0, 0, rng.range(0, 2 * M_PI)};
    double a[3] = {rng.range(-1, 1), rng.range(-1, 1), rng.range(-1, 1)};
    double amp = len / 96.0;  // longer waves carry more of the motion
    w.ax = (w.ky * a[2] - w.kz * a[1]) * amp;
    w.ay = (w.kz * a[0] - w.kx * a[2]) * amp;
    w.az = (w.kx * a[1] - w.ky * a[0]) * amp;
    out.push_back(w);
  }
  return out;
}

void putFloat(unsigned char* p, float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  p[0] = uint8_t(u);
  p[1] = uint8_t(u >> 8);
  p[2] = uint8_t(u >> 16);
  p[3] = uint8_t(u >> 24);
}

bool makeVelocity(const std::string& path) {
  std::vector<wave> waves = makeWaves(0x7E10C17);
  using cplx = std::complex<double>;
  // Per-wave, per-x exponentials exp(i·kx·x).
  std::vector<cplx> ex(size_t(Waves) * VolX);
  for (int w = 0; w < Waves; ++w)
    for (int x = 0; x < VolX; ++x) ex[size_t(w) * VolX + size_t(x)] = std::polar(1.0, waves[size_t(w)].kx * x);
  std::vector<float> field(size_t(VolX) * VolY * VolZ * 3);
  std::vector<double> row(size_t(VolX) * 3);
  double sumSq = 0;
  for (int z = 0; z < VolZ; ++z)
    for (int y = 0; y < VolY; ++y) {
      std::fill(row.begin(), row.end(), 0.0);
      for (int w = 0; w < Waves; ++w) {
        const wave& wv = waves[size_t(w)];
        cplx base = std::polar(1.0, wv.ky * y + wv.kz * z + wv.phase);
        const cplx* e = &ex[size_t(w) * VolX];
        for (int x = 0; x < VolX; ++x) {
          double c = (base * e[x]).real();
          row[size_t(x) * 3] += c * wv.ax;
          row[size_t(x) * 3 + 1] += c * wv.ay;
          row[size_t(x) * 3 + 2] += c * wv.az;
        }
      }
      float* out = &field[(size_t(z) * VolY + size_t(y)) * VolX * 3];
      for (size_t i = 0; i < row.size(); ++i) {
        out[i] = float(row[i]);
        sumSq += row[i] * row[i];
      }
    }
  float scale = float(1.0 / std::sqrt(sumSq / double(size_t(VolX) * VolY * VolZ)));
  std::vector<unsigned char> bytes(field.size() * 4);
  for (size_t i = 0; i < field.size(); ++i) putFloat(&bytes[i * 4], field[i] * scale);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

void addVolumeRecipes(std::vector<recipe>& out) { out.push_back({"textures//velocity.dat", makeVelocity}); }
