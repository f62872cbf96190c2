// frametimer.cpp -- the frame-time benchmark (see frametimer.h).
#include "gfx/frametimer.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "gfx/gldebug.h"

bool benchEnabled = false;

const char* const benchPassNames[passCount] = {"compute", "points", "post", "overlay", "silhouette"};

// The queries of one frame in flight: frame begin and end, then begin and
// end of every span of every pass.
struct frameQueries {
  GLuint frame[2] = {};
  GLuint spans[passCount][MaxPassSpans][2] = {};
  int used[passCount] = {};  // spans marked this frame
  bool open[passCount] = {};  // a span of the pass begun and not ended
  double cpuMs = 0;
  bool pending = false;       // stamped, not read yet
};

static const int Ring = FrameLag + 1;
static frameQueries ring[Ring];
static int current = 0;       // the slot of the frame being drawn
static bool made = false;
static std::chrono::steady_clock::time_point cpuStart;
static std::vector<benchFrame> frames;

static void makeQueries() {
  if (made) return;
  for (frameQueries& q : ring) {
    glGenQueries(2, q.frame);
    glGenQueries(passCount * MaxPassSpans * 2, &q.spans[0][0][0]);
  }
  made = true;
}

static double spanMs(const GLuint pair[2]) {
  GLuint64 a = 0, b = 0;
  glGetQueryObjectui64v(pair[0], GL_QUERY_RESULT, &a);
  glGetQueryObjectui64v(pair[1], GL_QUERY_RESULT, &b);
  return b > a ? double(b - a) * 1e-6 : 0.0;
}

static void readSlot(frameQueries& q) {
  if (!q.pending) return;
  benchFrame f;
  f.cpuMs = q.cpuMs;
  f.gpuMs = spanMs(q.frame);
  for (int p = 0; p < passCount; ++p)
    for (int s = 0; s < q.used[p]; ++s) f.passMs[p] += spanMs(q.spans[p][s]);
  frames.push_back(f);
  q.pending = false;
}

double benchFrame::otherMs() const {
  double rest = gpuMs;
  for (double ms : passMs) rest -= ms;
  return rest;
}

void benchFrameBegin() {
  if (!benchEnabled) return;
  makeQueries();
  frameQueries& q = ring[current];
  readSlot(q);  // FrameLag frames old: its queries are done
  std::fill(q.used, q.used + passCount, 0);
  std::fill(q.open, q.open + passCount, false);
  cpuStart = std::chrono::steady_clock::now();
  glQueryCounter(q.frame[0], GL_TIMESTAMP);
}

void benchPassBegin(benchPass pass) {
  glDebugPlace(benchPassNames[pass]);
  if (!benchEnabled || !made) return;
  frameQueries& q = ring[current];
  if (q.used[pass] >= MaxPassSpans) return;  // a pass marked this often is counted in "other"
  glQueryCounter(q.spans[pass][q.used[pass]][0], GL_TIMESTAMP);
  q.open[pass] = true;
}

void benchPassEnd(benchPass pass) {
  if (!benchEnabled || !made) return;
  frameQueries& q = ring[current];
  if (!q.open[pass] || q.used[pass] >= MaxPassSpans) return;
  glQueryCounter(q.spans[pass][q.used[pass]][1], GL_TIMESTAMP);
  ++q.used[pass];
  q.open[pass] = false;
}

void benchFrameEnd() {
  if (!benchEnabled || !made) return;
  frameQueries& q = ring[current];
  glQueryCounter(q.frame[1], GL_TIMESTAMP);
  q.cpuMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - cpuStart).count();
  q.pending = true;
  current = (current + 1) % Ring;
}

void benchFlush() {
  if (!made) return;
  for (int k = 0; k < Ring; ++k) readSlot(ring[(current + k) % Ring]);  // oldest first
}

const std::vector<benchFrame>& benchFrames() { return frames; }

void benchClear() { frames.clear(); }

double benchPercentile(std::vector<double> v, double percent) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  size_t k = size_t(double(v.size()) * percent / 100.0);
  return v[std::min(v.size() - 1, k)];
}

double benchMedian(std::vector<double> v) { return benchPercentile(std::move(v), 50.0); }

static void row(const char* name, const std::vector<double>& v) {
  if (v.empty()) return;
  double mean = 0;
  for (double x : v) mean += x;
  mean /= double(v.size());
  std::printf("%-16s %10.3f %10.3f %10.3f %10.3f\n", name, mean, benchMedian(v), benchPercentile(v, 95),
              benchPercentile(v, 99));
}

void benchReport() {
  benchFlush();
  for (GLenum name : {GL_RENDERER, GL_VENDOR, GL_VERSION}) {
    const GLubyte* text = glGetString(name);
    std::printf("%s: %s\n", name == GL_RENDERER ? "renderer" : name == GL_VENDOR ? "vendor" : "version",
                text ? reinterpret_cast<const char*>(text) : "unknown");
  }
  std::vector<double> cpu, gpu, other, particles, pass[passCount];
  for (const benchFrame& f : frames) {
    cpu.push_back(f.cpuMs);
    gpu.push_back(f.gpuMs);
    other.push_back(std::max(f.otherMs(), 0.0));
    particles.push_back(f.passMs[passCompute] + f.passMs[passPoints]);
    for (int p = 0; p < passCount; ++p) pass[p].push_back(f.passMs[p]);
  }
  std::printf("frames: %zu\n%-16s %10s %10s %10s %10s\n", frames.size(), "ms", "mean", "median", "p95", "p99");
  row("cpu frame", cpu);
  row("gpu frame", gpu);
  for (int p = 0; p < passCount; ++p) row((std::string("gpu ") + benchPassNames[p]).c_str(), pass[p]);
  row("gpu other", other);
  row("gpu particles", particles);
  double sumParticles = 0, sumGpu = 0;
  for (size_t k = 0; k < frames.size(); ++k) {
    sumParticles += particles[k];
    sumGpu += gpu[k];
  }
  std::printf("total/particles: %.3f\n", sumParticles > 0 ? sumGpu / sumParticles : 0.0);
  std::fflush(stdout);
}
