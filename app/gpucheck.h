// gpucheck.h -- the GPU check: how the production runs on this machine's
// graphics driver, from one process that loads once. For each scene, at a
// busy moment of its own, it seeks there as the transport does, renders
// frames on the silent clock and prints one line of times; then it renders
// one frame of each scene at 640 x 400 and holds it against the reference
// frame the software rasterizer made; last one summary line to paste into a
// report.
#pragma once
#include <string>

struct gpuCheckSettings {
  int width = 1920, height = 1080;  // the benchmark's frame size
  int frames = 600;                 // frames per scene, 1/60 s of demo time apart
  bool antialiased = true;
  std::string referenceDir;         // scene_N.png of each scene; none: frames not compared
  std::string writeDir;             // where the comparison frames are written (the references made)
};

constexpr int CheckWidth = 640, CheckHeight = 400;  // the size of the comparison frames

// With the production started (startDemo) at the benchmark's size. Returns
// the exit code: 1 on a GL error, a scene that does not draw, or a frame
// more than a quarter off its reference; else 0.
int runGpuCheck(const gpuCheckSettings& settings);

// Whether a GL renderer string names a software rasterizer.
bool softwareRenderer(const std::string& renderer);
