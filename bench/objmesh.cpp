// objmesh.cpp -- loading a generated OBJ of about one million triangles with
// objmesh and, on the same file in the same run, with tinyobjloader.
#include <benchmark/benchmark.h>
#include <tiny_obj_loader.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "bench/quietlog.h"
#include "geom/objmesh.h"

namespace {

// A wavy 708 x 708 quad grid in v/t/n form, one "o" object per 118 rows:
// 1 002 528 triangles, 502 681 positions, texture coordinates and normals.
const std::string& gridFile() {
  static const std::string path = [] {
    const int n = 708, w = n + 1;
    std::string file = (std::filesystem::temp_directory_path() / "obelisk_bench_grid.obj").string();
    FILE* f = std::fopen(file.c_str(), "wb");
    std::fprintf(f, "# generated grid\nmtllib grid.mtl\n");
    for (int y = 0; y < w; ++y)
      for (int x = 0; x < w; ++x) std::fprintf(f, "v %.6f %.6f %.6f\n", x * 0.01, y * 0.01, 0.1 * ((x * 7 + y * 3) % 11));
    for (int y = 0; y < w; ++y)
      for (int x = 0; x < w; ++x) std::fprintf(f, "vt %.6f %.6f\n", x / double(n), y / double(n));
    for (int y = 0; y < w; ++y)
      for (int x = 0; x < w; ++x) std::fprintf(f, "vn %.6f %.6f %.6f\n", 0.0, 0.6, 0.8);
    for (int y = 0; y < n; ++y) {
      if (y % 118 == 0) std::fprintf(f, "o band%d\nusemtl grid\ns 1\n", y / 118);
      for (int x = 0; x < n; ++x) {
        int a = y * w + x + 1, b = a + 1, c = a + w + 1, d = a + w;
        std::fprintf(f, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, c, c, c, d, d, d);
      }
    }
    std::fclose(f);
    return file;
  }();
  return path;
}


void objmeshLoad(benchmark::State& state) {
  const std::string& path = gridFile();
  quietLog quiet;
  size_t triangles = 0;
  for (auto _ : state) {
    objmesh m;
    m.load(path);
    triangles = m.indices.size() / 3;
    benchmark::DoNotOptimize(m.vertices.data());
  }
  state.counters["triangles"] = double(triangles);
}

void tinyobjloaderLoad(benchmark::State& state) {
  const std::string& path = gridFile();
  size_t triangles = 0;
  for (auto _ : state) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), nullptr, true);
    triangles = 0;
    for (const tinyobj::shape_t& s : shapes) triangles += s.mesh.indices.size() / 3;
    benchmark::DoNotOptimize(attrib.vertices.data());
  }
  state.counters["triangles"] = double(triangles);
}

}  // namespace

BENCHMARK(objmeshLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(tinyobjloaderLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
