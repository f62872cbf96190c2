// Mesh point set sampling at the particle grid's size: the start scene's
// slab (six quads, rings 450, density 450, about 2.4 million points) and a
// mesh of many small triangles (a sphere sampled like the scenes' sphere).
#include <benchmark/benchmark.h>

#include <cmath>
#include <iostream>
#include <sstream>

#include "gfx/tgobject.h"

namespace {

void addPolygon(TGObject& mesh, std::initializer_list<vec3> corners) {
  if (mesh.polygonStarts.empty()) mesh.polygonStarts.push_back(0);
  for (const vec3& c : corners) mesh.corners.push_back(c);
  mesh.polygonStarts.push_back(int(mesh.corners.size()));
}

// A box of 2 x 16 x 2 units: six quadrilateral faces.
void slab(TGObject& mesh) {
  vec3 p[8];
  for (int i = 0; i < 8; i++) p[i] = vec3(i & 1 ? 1.0f : -1.0f, i & 2 ? 8.0f : -8.0f, i & 4 ? 1.0f : -1.0f);
  addPolygon(mesh, {p[0], p[1], p[3], p[2]});
  addPolygon(mesh, {p[4], p[6], p[7], p[5]});
  addPolygon(mesh, {p[0], p[4], p[5], p[1]});
  addPolygon(mesh, {p[2], p[3], p[7], p[6]});
  addPolygon(mesh, {p[0], p[2], p[6], p[4]});
  addPolygon(mesh, {p[1], p[5], p[7], p[3]});
}

// A unit sphere of 2 x slices x (stacks - 1) small triangles.
void sphere(TGObject& mesh, int slices, int stacks) {
  auto at = [&](int i, int j) {
    float theta = 6.2831853f * float(i) / float(slices), phi = 3.1415927f * float(j) / float(stacks);
    return vec3(std::sin(phi) * std::cos(theta), std::cos(phi), std::sin(phi) * std::sin(theta));
  };
  for (int j = 0; j < stacks; j++)
    for (int i = 0; i < slices; i++) {
      if (j > 0) addPolygon(mesh, {at(i, j), at(i + 1, j), at(i, j + 1)});
      if (j < stacks - 1) addPolygon(mesh, {at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
    }
}

// The sampler logs one line per call; keep it out of the figures' output.
struct quietLog {
  std::ostringstream sink;
  std::streambuf* previous = std::cout.rdbuf(sink.rdbuf());
  ~quietLog() { std::cout.rdbuf(previous); }
};

void run(benchmark::State& state, TGObject& mesh, int rings, int density) {
  quietLog quiet;
  mesh.allocate(1536, 1536);
  long long points = 0;
  for (auto _ : state) {
    points = mesh.sample(rings, density, 1, 1, 1);
    benchmark::DoNotOptimize(mesh.positions.data());
    quiet.sink.str("");
  }
  state.counters["points"] = double(points);
  state.counters["polygons"] = mesh.polygonCount();
  state.SetItemsProcessed(state.iterations() * points);
}

void sampleSlab(benchmark::State& state) {
  TGObject mesh;
  slab(mesh);
  run(state, mesh, 450, 450);
}

void sampleSmallTriangles(benchmark::State& state) {
  TGObject mesh;
  sphere(mesh, 48, 30);  // 2784 triangles x 15 rings x 3 edges x 19 points
  run(state, mesh, 15, 38);
}

}  // namespace

BENCHMARK(sampleSlab)->Unit(benchmark::kMillisecond);
BENCHMARK(sampleSmallTriangles)->Unit(benchmark::kMillisecond);
