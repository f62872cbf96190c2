// tgobject.cpp -- mesh point sets: the reduced OBJ reader, the ring sampler
// and the texture uploads.
#include "gfx/tgobject.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>

#include "gfx/rendercontext.h"

// ---- reader ---------------------------------------------------------------------

void TGObject::clearPolygons() {
  std::vector<vec3>().swap(corners);
  std::vector<int>().swap(polygonStarts);
}

// Reads one run of faces; the leading "f" is already consumed. Each corner is
// a vertex number followed by two non-blank characters; the next non-blank
// character decides: "f" starts another face, the end of the file ends the
// run, anything else is the next corner. A failed read ends the run.
static void readFaces(std::istream& in, const std::vector<vec3>& vertices, TGObject& mesh) {
  std::vector<int> face;
  bool another = true;
  while (another) {
    another = false;
    face.clear();
    for (;;) {
      int number = 0;
      if (!(in >> number)) break;
      face.push_back(number);
      char skipped[2];
      if (!(in >> skipped[0] >> skipped[1])) break;
      int next = (in >> std::ws).peek();
      if (next == std::char_traits<char>::eof()) break;
      if (next == 'f') {
        in.get();
        another = true;
        break;
      }
    }
    // Faces that cannot be sampled, or that name missing vertices, are dropped.
    bool valid = face.size() >= 2;
    for (int number : face) valid = valid && number >= 1 && number <= int(vertices.size());
    if (!valid) continue;
    for (int number : face) mesh.corners.push_back(vertices[number - 1]);
    mesh.polygonStarts.push_back(int(mesh.corners.size()));
  }
}

void TGObject::readMesh(const std::string& fileName) {
  clearPolygons();
  polygonStarts.push_back(0);
  std::ifstream in(fileName);
  std::vector<vec3> vertices;
  std::string token;
  while (in >> token) {
    if (token == "v") {
      vec3 v;
      if (!(in >> v.x >> v.y >> v.z)) break;
      vertices.push_back(v);
    } else if (token == "f") {
      readFaces(in, vertices, *this);
      break;
    }
  }
}

// ---- sampler --------------------------------------------------------------------

void TGObject::allocate(int w, int h) {
  width = w;
  height = h;
  size_t floats = size_t(std::max(0, w)) * std::max(0, h) * 3;
  positions.assign(floats, 0.0f);
  colors.assign(floats, 0.0f);
}

// Where the sampler writes: k wraps to 0 at capacity, later points overwrite.
struct pointWriter {
  float* positions;
  float* colors;
  int capacity;
  int k;
  long long emitted;

  // count points from a toward b (b itself excluded), evenly spaced.
  void segment(const vec3& a, const vec3& b, int count, const vec3& colour) {
    vec3 d = b - a;
    for (int i = 0; i < count; i++) {
      float t = float(i) / float(count);
      float* p = positions + size_t(k) * 3;
      float* c = colors + size_t(k) * 3;
      p[0] = a.x + d.x * t;
      p[1] = a.y + d.y * t;
      p[2] = a.z + d.z * t;
      c[0] = colour.x;
      c[1] = colour.y;
      c[2] = colour.z;
      if (++k == capacity) k = 0;
    }
    emitted += count;
  }
};

// One polygon: rings outlines shrunk toward the centroid by j / rings.
static void samplePolygon(const vec3* corner, int n, int rings, int perEdge, const vec3& tint,
                          pointWriter& out) {
  vec3 c;
  for (int m = 0; m < n; m++) c = c + corner[m];
  c = c / float(n);
  vec3 normal = cross(normalise(corner[0] - c), normalise(corner[1] - c));
  // A fixed light from (0.707, 0, 0.707), mapped from -1 ... 1 to 0 ... 1.
  float shade = float((0.707 * normal.x + 0.0 * normal.y + 0.707 * normal.z) * 0.5 + 0.5);
  vec3 colour = tint * shade;
  for (int j = 0; j < rings; j++) {
    float f = float(j) / float(rings);
    for (int m = 0; m < n; m++) {
      const vec3& p = corner[m];
      const vec3& q = corner[(m + 1) % n];
      vec3 a = (p + (c - p) * f) * 0.75f;
      vec3 b = (q + (c - q) * f) * 0.75f;
      out.segment(a, b, perEdge, colour);
    }
  }
}

long long TGObject::sample(int rings, int density, float r, float g, float b) {
  long long capacity = (long long)std::max(0, width) * std::max(0, height);
  if ((long long)positions.size() != capacity * 3 || colors.size() != positions.size())
    allocate(width, height);
  pointWriter out{positions.data(), colors.data(), int(capacity), 0, 0};
  int perEdge = int(density * 0.5);
  vec3 tint(r, g, b);
  for (int p = 0; p < polygonCount(); p++) {
    if (p % 15 == 0 && context) context->reportProgress(0.0525);
    int first = polygonStarts[p], n = polygonStarts[p + 1] - first;
    // No room for points, or a polygon without an edge (the reader drops those).
    if (capacity == 0 || n < 2) continue;
    samplePolygon(&corners[first], n, rings, perEdge, tint, out);
  }
  pointCount = out.k;
  std::cout << "TGObject Maxcounter: " << pointCount << "/ " << capacity << std::endl;
  return out.emitted;
}

// ---- load -----------------------------------------------------------------------

static void uploadFloats(GLuint texture, int width, int height, const std::vector<float>& data) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB16F, width, height, 0, GL_RGB, GL_FLOAT, data.data());
}

static void createFloatTexture(GLuint& texture, int width, int height, const std::vector<float>& data) {
  glGenTextures(1, &texture);
  uploadFloats(texture, width, height, data);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void TGObject::load(const std::string& fileName, int w, int h, int rings, int density, float r, float g,
                    float b) {
  allocate(w, h);
  std::cout << "TGObject loading: " << fileName << std::endl;
  // The textures exist (zeroed) before the possibly long sampling.
  createFloatTexture(positionTexture, width, height, positions);
  createFloatTexture(colorTexture, width, height, colors);
  readMesh(fileName);
  // An empty or unreadable mesh would leave the particles with nowhere to go
  // and the scene blank; say so where it is seen.
  if (sample(rings, density, r, g, b) == 0)
    std::cerr << "obelisk: warning: point set \"" << fileName << "\" yields no points" << std::endl;
  uploadFloats(positionTexture, width, height, positions);
  uploadFloats(colorTexture, width, height, colors);
  clearPolygons();
}
