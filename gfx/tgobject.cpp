// tgobject.cpp -- mesh point sets: the reduced OBJ reader, the ring sampler,
// the start-up's sampling ahead and the texture uploads.
#include "gfx/tgobject.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <fstream>
#include <iostream>
#include <mutex>
#include <thread>

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

static void logCount(int pointCount, int width, int height) {
  long long capacity = (long long)std::max(0, width) * std::max(0, height);
  std::cout << "TGObject Maxcounter: " << pointCount << "/ " << capacity << std::endl;
}

// ---- host copies ----------------------------------------------------------------
// During the start-up a load's host copies go to the next sampling instead of
// back to the system: a fresh copy costs a page fault for every page.

namespace {

constexpr size_t MaxSpares = 4;  // two loads' worth
std::mutex spareLock;            // the worker thread samples too
std::vector<std::vector<float>> spareCopies;
bool keepingSpares = false;

void adopt(std::vector<float>& v) {
  std::lock_guard<std::mutex> hold(spareLock);
  if (v.capacity() != 0 || spareCopies.empty()) return;
  v.swap(spareCopies.back());
  spareCopies.pop_back();
}

void giveBack(std::vector<float>& v) {
  std::lock_guard<std::mutex> hold(spareLock);
  if (keepingSpares && v.capacity() != 0 && spareCopies.size() < MaxSpares)
    spareCopies.push_back(std::move(v));
  std::vector<float>().swap(v);
}

}  // namespace

void TGObject::allocate(int w, int h) {
  width = w;
  height = h;
  size_t floats = size_t(std::max(0, w)) * std::max(0, h) * 3;
  adopt(positions);
  adopt(colors);
  positions.assign(floats, 0.0f);
  colors.assign(floats, 0.0f);
}

void TGObject::releaseHostCopies() {
  giveBack(positions);
  giveBack(colors);
}

// ---- sampler --------------------------------------------------------------------

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

long long TGObject::samplePoints(int rings, int density, float r, float g, float b, rendercontext* progress) {
  long long capacity = (long long)std::max(0, width) * std::max(0, height);
  if ((long long)positions.size() != capacity * 3 || colors.size() != positions.size())
    allocate(width, height);
  pointWriter out{positions.data(), colors.data(), int(capacity), 0, 0};
  int perEdge = int(density * 0.5);
  vec3 tint(r, g, b);
  for (int p = 0; p < polygonCount(); p++) {
    if (p % 15 == 0 && progress) progress->reportProgress(0.0525);
    int first = polygonStarts[p], n = polygonStarts[p + 1] - first;
    // No room for points, or a polygon without an edge (the reader drops those).
    if (capacity == 0 || n < 2) continue;
    samplePolygon(&corners[first], n, rings, perEdge, tint, out);
  }
  pointCount = out.k;
  return out.emitted;
}

long long TGObject::sample(int rings, int density, float r, float g, float b) {
  long long emitted = samplePoints(rings, density, r, g, b, context);
  logCount(pointCount, width, height);
  return emitted;
}

// ---- sampling ahead ---------------------------------------------------------------

namespace {

// A load's sampling made by the worker: the mesh holds the host copies and
// the point count once it is done.
struct aheadJob {
  enum stage { queued, running, done, taken };
  pointSetRequest request;
  stage state = queued;
  TGObject mesh;
  long long emitted = 0;
  int polygons = 0;  // for the progress calls the load makes in its place
};

// The worker samples the jobs in order, at most MaxReady finished ones
// waiting for their loads. A load takes its job, or marks it taken and
// samples itself when the worker has not begun it; jobs it passed over
// (loads that never came) are dropped.
struct aheadSampler {
  static constexpr int MaxReady = 2;
  std::vector<aheadJob> jobs;  // fixed while the thread runs
  size_t passed = 0;           // jobs before this one will not be taken
  std::thread thread;
  std::mutex lock;
  std::condition_variable changed;
  bool stopping = false;

  ~aheadSampler() { stop(); }

  int ready() const {
    int n = 0;
    for (const aheadJob& j : jobs) n += j.state == aheadJob::done;
    return n;
  }
  aheadJob* next() {
    for (aheadJob& j : jobs)
      if (j.state == aheadJob::queued) return &j;
    return nullptr;
  }
  void drop(aheadJob& j) {
    j.mesh.releaseHostCopies();
    j.state = aheadJob::taken;
  }

  void run() {
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
      changed.wait(hold, [&] { return stopping || (next() && ready() < MaxReady); });
      if (stopping) return;
      aheadJob& job = *next();
      job.state = aheadJob::running;
      hold.unlock();
      const pointSetRequest& q = job.request;
      job.mesh.allocate(q.width, q.height);
      job.mesh.readMesh(q.fileName);
      job.polygons = job.mesh.polygonCount();
      job.emitted = job.mesh.samplePoints(q.rings, q.density, q.r, q.g, q.b, nullptr);
      job.mesh.clearPolygons();
      hold.lock();
      job.state = aheadJob::done;
      if (size_t(&job - jobs.data()) < passed) drop(job);
      changed.notify_all();
    }
  }

  void start(const std::vector<pointSetRequest>& ahead) {
    stop();
    jobs.clear();
    passed = 0;
    for (const pointSetRequest& q : ahead) {
      bool repeat = false;
      for (const aheadJob& j : jobs) repeat = repeat || j.request == q;
      if (repeat) continue;  // a repeated load shares the first one's sampling
      jobs.emplace_back();
      jobs.back().request = q;
    }
    if (jobs.empty()) return;
    stopping = false;
    thread = std::thread([this] { run(); });
  }

  void stop() {
    if (thread.joinable()) {
      {
        std::lock_guard<std::mutex> hold(lock);
        stopping = true;
      }
      changed.notify_all();
      thread.join();
    }
    for (aheadJob& j : jobs) j.mesh.releaseHostCopies();
    jobs.clear();
  }

  int settle() {
    if (!thread.joinable()) return 0;
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [&] {
      bool running = false;
      for (const aheadJob& j : jobs) running = running || j.state == aheadJob::running;
      return !running && (!next() || ready() >= MaxReady);
    });
    return ready();
  }

  // The job's sampling moved into `into`; false when the load samples itself.
  bool take(const pointSetRequest& q, TGObject& into, long long& emitted, int& polygons) {
    if (!thread.joinable()) return false;
    std::unique_lock<std::mutex> hold(lock);
    size_t i = 0;
    while (i < jobs.size() && !(jobs[i].request == q && jobs[i].state != aheadJob::taken)) ++i;
    if (i == jobs.size()) return false;
    for (size_t j = passed; j < i; ++j)
      if (jobs[j].state == aheadJob::done || jobs[j].state == aheadJob::queued) drop(jobs[j]);
    passed = std::max(passed, i);
    aheadJob& job = jobs[i];
    if (job.state == aheadJob::queued) {
      job.state = aheadJob::taken;
      changed.notify_all();
      return false;
    }
    changed.wait(hold, [&] { return job.state == aheadJob::done; });
    into.positions.swap(job.mesh.positions);
    into.colors.swap(job.mesh.colors);
    into.pointCount = job.mesh.pointCount;
    emitted = job.emitted;
    polygons = job.polygons;
    job.state = aheadJob::taken;
    changed.notify_all();
    return true;
  }
};

aheadSampler sampler;

// What a load needs to repeat an earlier one's without sampling: its
// textures and the counts of its log line and progress calls.
struct sharedPointSet {
  pointSetRequest request;
  GLuint positionTexture, colorTexture;
  int pointCount;
  long long emitted;
  int polygons;
};

bool sharing = false;
std::vector<sharedPointSet> samplings;

}  // namespace

void pointSetsBegin(const std::vector<pointSetRequest>& ahead) {
  pointSetsEnd();
  sharing = true;
  {
    std::lock_guard<std::mutex> hold(spareLock);
    keepingSpares = true;
  }
  sampler.start(ahead);
}

int pointSetsSettle() { return sampler.settle(); }

void pointSetsEnd() {
  sampler.stop();
  sharing = false;
  samplings.clear();
  std::lock_guard<std::mutex> hold(spareLock);
  keepingSpares = false;
  std::vector<std::vector<float>>().swap(spareCopies);
}

// ---- load -----------------------------------------------------------------------

// A texture for a point set, its image still to come.
static void createFloatTexture(GLuint& texture) {
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

static void uploadFloats(GLuint texture, int width, int height, const std::vector<float>& data) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB16F, width, height, 0, GL_RGB, GL_FLOAT, data.data());
}

void TGObject::load(const std::string& fileName, int w, int h, int rings, int density, float r, float g,
                    float b) {
  load(pointSetRequest{fileName, w, h, rings, density, r, g, b});
}

void TGObject::load(const pointSetRequest& q) {
  width = q.width;
  height = q.height;
  std::cout << "TGObject loading: " << q.fileName << std::endl;
  const sharedPointSet* same = nullptr;
  for (const sharedPointSet& s : samplings)
    if (sharing && s.request == q) same = &s;
  long long emitted = 0;
  int polygons = 0;
  bool sampledHere = false;
  clearPolygons();
  if (same) {
    // The textures of the first such load, which nothing writes to.
    positionTexture = same->positionTexture;
    colorTexture = same->colorTexture;
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    pointCount = same->pointCount;
    emitted = same->emitted;
    polygons = same->polygons;
  } else {
    createFloatTexture(positionTexture);
    createFloatTexture(colorTexture);
    if (!sampler.take(q, *this, emitted, polygons)) {
      allocate(width, height);
      readMesh(q.fileName);
      polygons = polygonCount();  // for sharing
      emitted = sample(q.rings, q.density, q.r, q.g, q.b);  // logs the count itself
      sampledHere = true;
    }
  }
  // A sampling made elsewhere: the progress calls and the log line it would have made.
  if (!sampledHere) {
    for (int p = 0; p < polygons; p += 15)
      if (context) context->reportProgress(0.0525);
    logCount(pointCount, width, height);
  }
  // An empty or unreadable mesh would leave the particles with nowhere to go
  // and the scene blank; say so where it is seen.
  if (emitted == 0)
    std::cerr << "obelisk: warning: point set \"" << q.fileName << "\" yields no points" << std::endl;
  clearPolygons();
  if (same) return;
  uploadFloats(positionTexture, width, height, positions);
  uploadFloats(colorTexture, width, height, colors);
  releaseHostCopies();
  if (sharing) samplings.push_back({q, positionTexture, colorTexture, pointCount, emitted, polygons});
}
