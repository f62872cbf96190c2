// pointset_cache.cpp -- the start-up's point set cache: host copies kept
// for reuse, the worker thread that samples ahead, and the loads kept for
// sharing (see tgobject.h). The host copies come first: the worker's
// teardown at exit hands its copies back to them.
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "gfx/pointset_internal.h"

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

// The loads of this start-up, for later loads of the same request.
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

// ---- sharing --------------------------------------------------------------------

const sharedPointSet* findSharedPointSet(const pointSetRequest& q) {
  const sharedPointSet* same = nullptr;
  for (const sharedPointSet& s : samplings)
    if (sharing && s.request == q) same = &s;
  return same;
}

void keepSharedPointSet(const sharedPointSet& s) {
  if (sharing) samplings.push_back(s);
}

bool takeAheadSampling(const pointSetRequest& q, TGObject& into, long long& emitted, int& polygons) {
  return sampler.take(q, into, emitted, polygons);
}
