// gpucheck.cpp -- the GPU check (see gpucheck.h).
#include "app/gpucheck.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <vector>

#include "app/framecompare.h"
#include "driver/driver.h"
#include "gfx/frametimer.h"
#include "gfx/gldebug.h"
#include "platform/platform.h"

// A busy moment of every scene (its own clock): the benchmark runs from
// `bench` for up to its frames, 1/60 s of demo time apart (the end scene
// starts early enough to stay current for 600 of them); the comparison frame
// shows `compare`.
struct checkMoment {
  const char* name;
  int part;
  double bench, compare;
};
static const checkMoment Moments[] = {
    {"start", 0, 8, 8},     {"intro", 1, 95, 95},   {"reallife", 2, 40, 40},
    {"city", 3, 30, 30},    {"mantis", 4, 60, 60},  {"end", 5, 4, 12},
};
static const double BenchStep = 1.0 / 60.0;
static const double FailingShare = 0.25;  // a frame this far off its reference fails

bool softwareRenderer(const std::string& renderer) {
  for (const char* name : {"llvmpipe", "softpipe", "swrast", "SwiftShader", "Software Rasterizer",
                           "Microsoft Basic Render", "GDI Generic"})
    if (renderer.find(name) != std::string::npos) return true;
  return false;
}

static std::string glText(GLenum name) {
  const GLubyte* text = glGetString(name);
  return text ? reinterpret_cast<const char*>(text) : "unknown";
}

// ---- the benchmark ----------------------------------------------------------------------

struct sceneTimes {
  int frames = 0;        // drawn while the scene was current
  double fps = 0, p99 = 0;  // from the wall time between frames, the first left out
  benchFrame median;     // the frame whose GPU time is the median, the first left out
  benchFrame first;      // the frame right after the jump (it makes the cloud's storage)
  double firstWall = 0;
  long errors = 0;
};

// One frame on the silent clock: the step, the drawing, the swap.
static void checkFrame(double step) {
  if (step > 0) platformCounterAdvance(step);
  platformPumpEvents();
  benchFrameBegin();
  drawFrame();
  benchFrameEnd();
  platformSwapBuffers();
}

static sceneTimes benchScene(const checkMoment& m, int frames) {
  sceneTimes out;
  seekDemo(demoTimeOf(m.part, m.bench));
  long errorsBefore = glDebugErrors();
  benchFlush();
  benchClear();
  std::vector<double> wall;
  using clock = std::chrono::steady_clock;
  for (int k = 0; k < frames && frameRecord().partNumber == m.part && !platformStopSignal(); ++k) {
    clock::time_point began = clock::now();
    checkFrame(k == 0 ? 0.0 : BenchStep);  // the first frame shows the moment itself
    wall.push_back(std::chrono::duration<double, std::milli>(clock::now() - began).count());
  }
  benchFlush();
  const std::vector<benchFrame>& times = benchFrames();
  out.frames = int(times.size());
  out.errors = glDebugErrors() - errorsBefore;
  if (times.empty()) return out;
  out.first = times[0];
  out.firstWall = wall[0];
  std::vector<double> rest(wall.begin() + 1, wall.end());
  double medianWall = benchMedian(rest);
  out.fps = medianWall > 0 ? 1000.0 / medianWall : 0.0;
  out.p99 = benchPercentile(rest, 99);
  std::vector<benchFrame> byGpu(times.begin() + 1, times.end());
  std::sort(byGpu.begin(), byGpu.end(), [](const benchFrame& a, const benchFrame& b) { return a.gpuMs < b.gpuMs; });
  if (!byGpu.empty()) out.median = byGpu[byGpu.size() / 2];
  return out;
}

static void printHeader() {
  std::printf("\n%-9s %-10s %7s %9s %8s %8s %8s %8s %8s %8s %8s %8s %6s %10s\n", "scene", "size", "frames", "frames/s",
              "p99_ms", "total", "compute", "points", "post", "overlay", "silhou.", "other", "errors", "first_ms");
}

static void printTimes(const checkMoment& m, const gpuCheckSettings& s, const sceneTimes& t, bool failed) {
  char size[24];
  std::snprintf(size, sizeof size, "%dx%d", s.width, s.height);
  const benchFrame& f = t.median;
  std::printf("%-9s %-10s %7d %9.1f %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %6ld %10.1f%s\n", m.name, size,
              t.frames, t.fps, t.p99, f.gpuMs, f.passMs[passCompute], f.passMs[passPoints], f.passMs[passPost],
              f.passMs[passOverlay], f.passMs[passSilhouette], f.otherMs(), t.errors, t.firstWall, failed ? "  FAILED" : "");
}

// ---- the comparison with the software rasterizer's frames -------------------------------

// A framebuffer of the comparison's size that the frames' last pass draws into.
struct checkTarget {
  GLuint framebuffer = 0, texture = 0;
  void make() {
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, CheckWidth, CheckHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  rgbImage read() const {
    std::vector<unsigned char> bytes(size_t(CheckWidth) * CheckHeight * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, CheckWidth, CheckHeight, GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    rgbImage image;
    image.width = CheckWidth;
    image.height = CheckHeight;
    image.rgb.resize(bytes.size());
    size_t row = size_t(CheckWidth) * 3;
    for (int y = 0; y < CheckHeight; ++y)  // the GL's rows run bottom up
      for (size_t i = 0; i < row; ++i)
        image.rgb[size_t(CheckHeight - 1 - y) * row + i] = bytes[size_t(y) * row + i] / 255.0f;
    return image;
  }
  void release() {
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
  }
};

struct comparison {
  bool compared = false, failed = false;
  frameDistance d;
  std::string note;  // why it failed, or what it wrote
};

static comparison compareScene(const checkMoment& m, const gpuCheckSettings& s, const checkTarget& target) {
  comparison out;
  seekDemo(demoTimeOf(m.part, m.compare));
  long errorsBefore = glDebugErrors();
  checkFrame(0.0);
  rgbImage frame = target.read();
  std::string name = "/scene_" + std::to_string(m.part) + ".png", error;
  if (glDebugErrors() > errorsBefore) {
    out.failed = true;
    out.note = "GL errors";
  }
  if (!s.writeDir.empty()) {
    if (!writeRgbPng(s.writeDir + name, frame, error)) {
      out.failed = true;
      out.note = error;
    } else {
      out.note = "written to " + s.writeDir + name;
    }
  }
  if (s.referenceDir.empty()) return out;
  rgbImage reference;
  if (!readRgbPng(s.referenceDir + name, reference, error) || !compareFrames(frame, reference, 2, out.d, error)) {
    out.failed = true;
    out.note = error;
    return out;
  }
  out.compared = true;
  if (out.d.share > FailingShare) out.failed = true;
  if (out.d.darkA && !out.d.darkB) {
    out.failed = true;
    out.note = "black";
  }
  return out;
}

// ---- the whole check ---------------------------------------------------------------------

int runGpuCheck(const gpuCheckSettings& s) {
  std::string renderer = glText(GL_RENDERER);
  std::printf("gpu-check: renderer %s\ngpu-check: vendor   %s\ngpu-check: version  %s\n", renderer.c_str(),
              glText(GL_VENDOR).c_str(), glText(GL_VERSION).c_str());
  if (softwareRenderer(renderer))
    std::printf("gpu-check: this is a software rasterizer, not a graphics card: its times say nothing of one\n");
  bool failed = false;
  long errors = 0;
  const checkMoment* slowest = nullptr;
  double slowestFps = 0;
  printHeader();
  for (const checkMoment& m : Moments) {
    if (platformStopSignal()) return 1;  // the caller ends with the signal's code
    sceneTimes t = benchScene(m, s.frames);
    bool bad = t.frames == 0 || t.errors > 0;
    printTimes(m, s, t, bad);
    std::fflush(stdout);
    failed = failed || bad;
    errors += t.errors;
    if (!slowest || t.fps < slowestFps) {
      slowest = &m;
      slowestFps = t.fps;
    }
  }

  resizeDemo(CheckWidth, CheckHeight, false);  // the references are drawn without antialiasing
  checkTarget target;
  target.make();
  renderFramesInto(target.framebuffer);
  std::printf("\n%-9s %10s %12s\n", "scene", "mean_diff", "pixels_off");
  double worst = -1;
  const char* worstName = "";
  for (const checkMoment& m : Moments) {
    if (platformStopSignal()) break;
    comparison c = compareScene(m, s, target);
    failed = failed || c.failed;
    if (c.compared) {
      std::printf("%-9s %10.4f %10.1f %%%s%s%s\n", m.name, c.d.mean, c.d.share * 100, c.failed ? "  FAILED" : "",
                  c.note.empty() ? "" : "  ", c.note.c_str());
      if (c.d.share > worst) {
        worst = c.d.share;
        worstName = m.name;
      }
    } else {
      std::printf("%-9s %s%s\n", m.name, c.note.empty() ? "not compared" : c.note.c_str(), c.failed ? "  FAILED" : "");
    }
    std::fflush(stdout);
  }
  renderFramesInto(0);
  target.release();

  char against[96] = "frames not compared";
  if (worst >= 0) std::snprintf(against, sizeof against, "worst frame %.1f %% of pixels off (%s)", worst * 100, worstName);
  std::printf("\ngpu-check: %s | %s | %dx%d x%d | slowest %s %.1f frames/s | %s | GL errors %ld\n",
              failed ? "FAIL" : "PASS", renderer.c_str(), s.width, s.height, s.frames, slowest ? slowest->name : "-",
              slowestFps, against, errors);
  std::fflush(stdout);
  return failed ? 1 : 0;
}
