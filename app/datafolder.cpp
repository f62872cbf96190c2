// datafolder.cpp -- where the production's data is. A build tree is run
// from its data folder; an unpacked release has only the program, the
// generator and the shaders, and its first run bakes the rest: into data/
// beside the program, or, where that folder is not writable, into the
// user's cache folder. A data folder baked for another release (its
// ".baked" names the VERSION beside the program) is baked afresh.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/app.h"
#include "platform/files.h"

namespace fs = std::filesystem;

static std::string firstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

static bool bakedFor(const std::string& dir, const std::string& version) {
  return platformIsFolder(dir + "/textures") && (version.empty() || firstLine(dir + "/.baked") == version);
}

// The shader sources, laid out as the program reads them, into the data
// folder beside the generator's files (folder by folder: the scene folders
// exist already).
static bool copyShaders(const std::string& from, const std::string& to, std::string& error) {
  std::error_code e;
  for (fs::recursive_directory_iterator it(from, e), end; !e && it != end; it.increment(e)) {
    fs::path target = fs::path(to) / fs::relative(it->path(), from, e);
    if (it->is_directory(e))
      fs::create_directories(target, e);
    else
      fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, e);
  }
  if (e) error = "cannot copy the shaders: " + e.message();
  return !e;
}

// The generator writes into a fresh folder that replaces the old one only
// when it is whole: an interrupted bake leaves no half data folder behind.
static bool bakeInto(const std::string& dir, const std::string& generator, const std::string& here,
                     const std::string& version, std::string& error) {
  std::string fresh = dir + ".new";
  std::error_code e;
  fs::remove_all(fresh, e);
  if (!platformMakeFolders(fresh + "/log")) {
    error = "cannot create \"" + fresh + "\": " + platformLastError();
    return false;
  }
  std::fprintf(stderr, "obelisk: first run: baking the data files into %s\n", dir.c_str());
  childProcess child;
  if (!platformStartChild({generator, fresh, "--progress"}, false, child, error)) {
    error = "cannot start " + generator + ": " + error;
    return false;
  }
  childEnd end = platformWaitChild(child);
  if (!end.exited || end.code != 0) {
    error = "baking the data failed (is there room in \"" + fs::path(dir).parent_path().generic_string() + "\"?)";
    fs::remove_all(fresh, e);
    return false;
  }
  if (!copyShaders(here + "/shaders", fresh, error)) return false;
  std::ofstream(fresh + "/.baked") << version << "\n";
  fs::remove_all(dir, e);
  fs::rename(fresh, dir, e);
  if (e) error = "cannot rename \"" + fresh + "\": " + e.message();
  return !e;
}

bool findDataFolder(std::string& folder, std::string& error) {
  std::error_code e;
  if (platformIsFolder("textures")) {  // started in a data folder
    folder = fs::current_path(e).generic_string();
    return true;
  }
  std::string here = platformExecutableDir();
  std::string version = firstLine(here + "/VERSION");
  std::string beside = here + "/data";
  std::string generator = here + "/obelisk_content";
  if (platformFileSize(generator) < 0) generator += ".exe";
  bool canBake = !here.empty() && platformFileSize(generator) >= 0 && platformIsFolder(here + "/shaders");
  if (!bakedFor(beside, version) && canBake) {
    std::string cache = platformUserCacheDir();
    std::string cached = cache.empty() ? "" : cache + "/obelisk/data";
    if (!cached.empty() && bakedFor(cached, version))
      beside = cached;
    else {
      // the program's folder may be read-only: the user's cache then
      if (!platformMakeFolders(beside + ".new") && !cached.empty()) beside = cached;
      if (!platformMakeFolders(fs::path(beside).parent_path().generic_string()) ||
          !bakeInto(beside, generator, here, version, error))
        return false;
    }
  }
  if (!bakedFor(beside, version)) {
    error = "no data here (the folder \"textures\" is missing).\n"
            "Run it from its data folder, for example: cd build/data && ../obelisk";
    return false;
  }
  fs::current_path(beside, e);
  if (e) {
    error = "cannot enter \"" + beside + "\": " + e.message();
    return false;
  }
  folder = beside;
  return true;
}
