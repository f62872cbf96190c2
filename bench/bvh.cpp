// bvh.cpp -- parsing a generated BVH motion of 2000 frames, and posing the
// figure from it once (what every walker costs per drawn frame).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "bench/quietlog.h"
#include "geom/body.h"

namespace {

// The figure's naming: a root and 18 limb joints in the usual tree, with
// end sites on the head, hands and feet; 3 rotation channels per joint.
const char* const limbTree[][2] = {
    {"abdomen", "hip"}, {"chest", "abdomen"}, {"neck", "chest"}, {"head", "neck"},
    {"lCollar", "chest"}, {"lShldr", "lCollar"}, {"lForeArm", "lShldr"}, {"lHand", "lForeArm"},
    {"rCollar", "chest"}, {"rShldr", "rCollar"}, {"rForeArm", "rShldr"}, {"rHand", "rForeArm"},
    {"lThigh", "hip"}, {"lShin", "lThigh"}, {"lFoot", "lShin"},
    {"rThigh", "hip"}, {"rShin", "rThigh"}, {"rFoot", "rShin"}};

void writeJoint(FILE* f, const std::string& name, int depth) {
  std::string pad(size_t(depth), '\t');
  std::fprintf(f, "%sJOINT %s\n%s{\n%s\tOFFSET 0.5 3.25 -0.75\n%s\tCHANNELS 3 Zrotation Xrotation Yrotation\n",
               pad.c_str(), name.c_str(), pad.c_str(), pad.c_str(), pad.c_str());
  bool leaf = true;
  for (const auto& row : limbTree)
    if (name == row[1]) writeJoint(f, row[0], depth + 1), leaf = false;
  if (leaf) std::fprintf(f, "%s\tEnd Site\n%s\t{\n%s\t\tOFFSET 0 2 0\n%s\t}\n", pad.c_str(), pad.c_str(), pad.c_str(), pad.c_str());
  std::fprintf(f, "%s}\n", pad.c_str());
}

const std::string& motionFile() {
  static const std::string path = [] {
    const int frames = 2000;
    std::string file = (std::filesystem::temp_directory_path() / "obelisk_bench_walk.bvh").string();
    FILE* f = std::fopen(file.c_str(), "wb");
    std::fprintf(f, "HIERARCHY\nROOT hip\n{\n\tOFFSET 0 0 0\n"
                    "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n");
    for (const auto& row : limbTree)
      if (std::string(row[1]) == "hip") writeJoint(f, row[0], 1);
    std::fprintf(f, "}\nMOTION\nFrames: %d\nFrame Time: 0.033333\n", frames);
    for (int k = 0; k < frames; ++k) {
      std::fprintf(f, "%.4f %.4f %.4f", k * 0.5, 40.0, k * 0.1);
      for (int v = 0; v < 3 + 18 * 3; ++v) std::fprintf(f, " %.4f", ((k * 37 + v * 11) % 900) * 0.1 - 45.0);
      std::fprintf(f, "\n");
    }
    std::fclose(f);
    return file;
  }();
  return path;
}


void bvhLoad(benchmark::State& state) {
  const std::string& path = motionFile();
  quietLog quiet;
  int frames = 0;
  for (auto _ : state) {
    skeleton s(path);
    frames = s.frameCount;
    benchmark::DoNotOptimize(s.root);
  }
  state.counters["entries"] = frames;
}

void figurePose(benchmark::State& state) {
  quietLog quiet;
  body figure(motionFile());
  int bones = 0;
  for (auto _ : state) {
    figure.framePosition = float(std::fmod(figure.framePosition + 0.37, 14.0));
    bones = 0;
    figure.pose([](body&, const joint&, const mat4&, void* n) { ++*static_cast<int*>(n); }, &bones);
  }
  state.counters["bones"] = bones;
}

}  // namespace

BENCHMARK(bvhLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(figurePose)->Unit(benchmark::kMicrosecond);
