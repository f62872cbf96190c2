// main.cpp -- the content generator:
//   obelisk_content DATADIR [--only PREFIX] [--progress]
// Walks the recipe table and writes every file into DATADIR. Recipes are
// independent, so they run on all cores; each one is deterministic on its own.
// --progress keeps one line on standard error up to date while it works.
#include "content/content.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "content/font.h"

bool makeParentFolders(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code e;
  std::filesystem::create_directories(folder, e);
  return std::filesystem::is_directory(folder, e);
}

int main(int argc, char** argv) {
  fontFolderBeside(argv[0]);
  std::string dataDir, only;
  bool progress = false, usage = argc < 2;
  for (int i = 1; i < argc && !usage; ++i) {
    if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
      only = argv[++i];
    else if (std::strcmp(argv[i], "--progress") == 0)
      progress = true;
    else if (argv[i][0] != '-' && dataDir.empty())
      dataDir = argv[i];
    else
      usage = true;
  }
  if (usage || dataDir.empty()) {
    std::fprintf(stderr, "usage: obelisk_content DATADIR [--only PREFIX] [--progress]\n");
    return 2;
  }

  std::vector<recipe> table;
  addMusicRecipes(table);  // the longest first, so that the others fill the other core
  addVolumeRecipes(table);
  addPathRecipes(table);
  addMeshRecipes(table);
  addMotionRecipes(table);
  addImageRecipes(table);
  makeParentFolders(dataDir + "/log/");

  std::atomic<size_t> next{0}, done{0};
  bool terminal = isatty(2);
  int shown = -1;
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
      size_t finished = ++done;
      if (progress) {
        // a line kept up to date on a terminal, a line every tenth elsewhere
        std::lock_guard<std::mutex> hold(printLock);
        int percent = int(finished * 100 / table.size()), step = terminal ? 1 : 10;
        if (percent / step != shown / step) {
          shown = percent;
          std::fprintf(stderr, terminal ? "\rbaking the data: %3d %%" : "baking the data: %3d %%\n", percent);
        }
      }
    }
  };
  unsigned n = std::thread::hardware_concurrency();
  if (n < 1) n = 1;
  if (n > 8) n = 8;
  std::vector<std::thread> pool;
  for (unsigned i = 0; i < n; ++i) pool.emplace_back(worker);
  for (auto& t : pool) t.join();
  if (progress && terminal) std::fprintf(stderr, "\n");
  return failures ? 1 : 0;
}
