// main.cpp -- the content generator: obelisk_content DATADIR [--only PREFIX]
// Walks the recipe table and writes every file into DATADIR. Recipes are
// independent, so they run on all cores; each one is deterministic on its own.
#include "content/content.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sys/stat.h>
#include <thread>

bool makeParentFolders(const std::string& path) {
  for (size_t i = 1; i < path.size(); ++i) {
    if (path[i] != '/' || path[i - 1] == '/') continue;
    std::string dir = path.substr(0, i);
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: obelisk_content DATADIR [--only PREFIX]\n");
    return 2;
  }
  std::string dataDir = argv[1];
  std::string only;
  if (argc >= 4 && std::strcmp(argv[2], "--only") == 0) only = argv[3];

  std::vector<recipe> table;
  addMusicRecipes(table);  // the longest first, so that the others fill the other core
  addVolumeRecipes(table);
  addPathRecipes(table);
  addMeshRecipes(table);
  addMotionRecipes(table);
  addImageRecipes(table);
  makeParentFolders(dataDir + "/log/");

  std::atomic<size_t> next{0};
  std::atomic<int> failures{0};
  std::mutex printLock;
  auto worker = [&]() {
    for (size_t i = next++; i < table.size(); i = next++) {
      const recipe& r = table[i];
      if (!only.empty() && std::string(r.name).compare(0, only.size(), only) != 0) continue;
      std::string path = dataDir + "/" + r.name;
      bool ok = makeParentFolders(path) && r.make(path);
      if (!ok) {
        std::lock_guard<std::mutex> hold(printLock);
        std::fprintf(stderr, "obelisk_content: failed to write %s\n", path.c_str());
        ++failures;
      }
    }
  };
  unsigned n = std::thread::hardware_concurrency();
  if (n < 1) n = 1;
  if (n > 8) n = 8;
  std::vector<std::thread> pool;
  for (unsigned i = 0; i < n; ++i) pool.emplace_back(worker);
  for (auto& t : pool) t.join();
  return failures ? 1 : 0;
}
