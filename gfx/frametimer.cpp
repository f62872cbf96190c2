// frametimer.cpp -- the frame-time benchmark (see frametimer.h).
#include "gfx/frametimer.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "gfx/gldebug.h"

bool benchEnabled = false;

static const char* passNames[passCount] = {"compute", "points", "post", "overlay"};

// Query slots: frame begin and end, then begin and end of every pass.
static GLuint queries[2 + 2 * passCount] = {};
static bool marked[passCount] = {};
static double carried[passCount] = {};  // the earlier spans of a pass marked again in the frame
static std::chrono::steady_clock::time_point cpuStart;
static std::vector<double> cpuMs, gpuFrameMs, particleMs, passMs[passCount];

static void stamp(int slot) {
  if (!queries[0]) glGenQueries(2 + 2 * passCount, queries);
  glQueryCounter(queries[slot], GL_TIMESTAMP);
}

static double elapsedMs(int from, int to) {
  GLuint64 a = 0, b = 0;
  glGetQueryObjectui64v(queries[from], GL_QUERY_RESULT, &a);
  glGetQueryObjectui64v(queries[to], GL_QUERY_RESULT, &b);
  return b > a ? double(b - a) * 1e-6 : 0.0;
}

void benchFrameBegin() {
  if (!benchEnabled) return;
  std::fill(marked, marked + passCount, false);
  std::fill(carried, carried + passCount, 0.0);
  cpuStart = std::chrono::steady_clock::now();
  stamp(0);
}

void benchPassBegin(benchPass pass) {
  glDebugPlace(passNames[pass]);
  if (!benchEnabled) return;
  // marked again: the span so far is read before its queries are reused
  if (marked[pass]) carried[pass] += elapsedMs(2 + 2 * pass, 3 + 2 * pass);
  stamp(2 + 2 * pass);
}

void benchPassEnd(benchPass pass) {
  if (!benchEnabled) return;
  stamp(3 + 2 * pass);
  marked[pass] = true;
}

void benchFrameEnd() {
  if (!benchEnabled) return;
  stamp(1);
  cpuMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - cpuStart).count());
  gpuFrameMs.push_back(elapsedMs(0, 1));
  double particles = 0;
  for (int p = 0; p < passCount; ++p) {
    double ms = carried[p] + (marked[p] ? elapsedMs(2 + 2 * p, 3 + 2 * p) : 0.0);
    passMs[p].push_back(ms);
    if (p == passCompute || p == passPoints) particles += ms;
  }
  particleMs.push_back(particles);
}

static void row(const char* name, std::vector<double> v) {
  if (v.empty()) return;
  std::sort(v.begin(), v.end());
  double mean = 0;
  for (double x : v) mean += x;
  mean /= double(v.size());
  double median = v[v.size() / 2], p95 = v[std::min(v.size() - 1, v.size() * 95 / 100)];
  double p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
  std::printf("%-16s %10.3f %10.3f %10.3f %10.3f\n", name, mean, median, p95, p99);
}

static double mean(const std::vector<double>& v) {
  double s = 0;
  for (double x : v) s += x;
  return v.empty() ? 0.0 : s / double(v.size());
}

void benchReport() {
  for (GLenum name : {GL_RENDERER, GL_VENDOR, GL_VERSION}) {
    const GLubyte* text = glGetString(name);
    std::printf("%s: %s\n", name == GL_RENDERER ? "renderer" : name == GL_VENDOR ? "vendor" : "version",
                text ? reinterpret_cast<const char*>(text) : "unknown");
  }
  std::printf("frames: %zu\n%-16s %10s %10s %10s %10s\n", cpuMs.size(), "ms", "mean", "median", "p95", "p99");
  row("cpu frame", cpuMs);
  row("gpu frame", gpuFrameMs);
  for (int p = 0; p < passCount; ++p) row((std::string("gpu ") + passNames[p]).c_str(), passMs[p]);
  row("gpu particles", particleMs);
  double particles = mean(particleMs);
  std::printf("total/particles: %.3f\n", particles > 0 ? mean(gpuFrameMs) / particles : 0.0);
  std::fflush(stdout);
}
