// Every shader stage the sections build, read as the loader reads it
// (readShaderSource, its includes expanded), through the Khronos reference
// compiler: each vendor's driver reads GLSL its own way, and what
// glslangValidator accepts is their common ground.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/shaderset.h"
#include "tests/support/testfiles.h"

namespace fs = std::filesystem;

namespace {

const fs::path Sources = fs::path(OBELISK_SOURCE_DIR) / "shaders";

struct shaderFile {
  std::string source;  // shaders/<folder>/<name>.glsl, or shaders/shared/<name>.glsl
  std::string data;    // what the section reads: data/<folder>/shaders/<name>.cpp
  std::string stage;   // the validator's stage (vert, frag, comp); empty for a piece
};

// The stage from the name, as the scenes use them: v_ vertex, f_ fragment,
// ComputeShader compute. Any other file is a piece that stages include.
std::string stageOf(const std::string& name) {
  if (name.rfind("v_", 0) == 0) return "vert";
  if (name.rfind("f_", 0) == 0) return "frag";
  return name.rfind("ComputeShader", 0) == 0 ? "comp" : "";
}

// Each scene folder's files as shaders/CMakeLists.txt lays them out: its own,
// and the shared ones it has no file of that name for.
std::vector<shaderFile> shaderFiles() {
  std::vector<shaderFile> files;
  for (const auto& folder : fs::directory_iterator(Sources)) {
    const std::string name = folder.path().filename().string();
    if (!folder.is_directory() || name == "shared") continue;
    std::map<std::string, fs::path> byName;
    for (const fs::path& dir : {Sources / "shared", folder.path()})
      for (const auto& f : fs::directory_iterator(dir))
        if (f.path().extension() == ".glsl") byName[f.path().stem().string()] = f.path();
    for (const auto& [stem, source] : byName)
      files.push_back({source.string(), std::string(OBELISK_DATA_DIR) + "/" + name + "/shaders/" + stem + ".cpp",
                       stageOf(stem)});
  }
  return files;
}

// The data file and every piece it includes, directly or through others.
void reach(const std::string& data, std::set<std::string>& reached) {
  if (!reached.insert(data).second) return;
  const std::string directive = "#include \"";
  std::istringstream in(readFile(data));
  for (std::string line; std::getline(in, line);)
    if (line.compare(0, directive.size(), directive) == 0)
      reach(data.substr(0, data.find_last_of('/') + 1) +
                line.substr(directive.size(), line.find('"', directive.size()) - directive.size()),
            reached);
}

// The validator counts the lines of the expanded text: each message followed
// by the line it points at.
std::string withLines(const std::string& log, const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text), messages(log);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::string out;
  std::smatch at;
  const std::regex lineOf(": 0:([0-9]+):");
  size_t quoted = 0;
  for (std::string m; std::getline(messages, m);) {
    out += m + "\n";
    size_t n = std::regex_search(m, at, lineOf) ? std::stoul(at[1].str()) : 0;
    if (n >= 1 && n <= lines.size() && n != quoted) out += "    | " + lines[(quoted = n) - 1] + "\n";
  }
  return out;
}

}  // namespace

// A file no stage reaches would never be checked.
TEST(glsl, everyFileIsAStageOrIncludedByOne) {
  std::vector<shaderFile> files = shaderFiles();
  std::set<std::string> reached, used;
  for (const shaderFile& f : files)
    if (!f.stage.empty()) reach(f.data, reached);
  for (const shaderFile& f : files)
    if (reached.count(f.data)) used.insert(f.source);
  for (const auto& f : fs::recursive_directory_iterator(Sources))
    if (f.path().extension() == ".glsl") {
      EXPECT_TRUE(used.count(f.path().string()))
          << f.path().string() << " is neither a stage (v_, f_, ComputeShader) nor included by one";
    }
}

TEST(glsl, everyStagePassesTheReferenceCompiler) {
  if (exitCodeOf("glslangValidator --version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "glslangValidator is not installed (Debian package glslang-tools)";
  scratchDir dir;
  std::map<std::string, std::vector<std::pair<shaderFile, std::string>>> byStage;  // with the file written
  for (const shaderFile& f : shaderFiles()) {
    if (f.stage.empty()) continue;
    std::unique_ptr<char[]> text = readShaderSource(f.data);
    if (!text) {
      ADD_FAILURE() << f.data << " is missing: build the shaders target";
      continue;
    }
    auto& batch = byStage[f.stage];
    batch.push_back({f, dir.write(std::to_string(batch.size()) + "." + f.stage, text.get())});
  }
  const auto passes = [&](const std::string& stage, const std::string& inputs) {
    return exitCodeOf("glslangValidator -S " + stage + inputs + " >'" + dir.path("log") + "' 2>&1") == 0;
  };
  // One run takes every file of a stage; a failing run is repeated file by
  // file to say which.
  size_t checked = 0;
  for (const auto& [stage, batch] : byStage) {
    std::string inputs;
    for (const auto& file : batch) inputs += " '" + file.second + "'";
    checked += batch.size();
    if (passes(stage, inputs)) continue;
    for (const auto& [f, input] : batch)
      if (!passes(stage, " '" + input + "'"))
        ADD_FAILURE() << f.source << " (" << stage << " stage, read as " << f.data << "):\n"
                      << withLines(readFile(dir.path("log")), readFile(input));
  }
  EXPECT_GT(checked, 40u);  // six sections' programs
}
