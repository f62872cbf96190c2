// shaderset.cpp -- reading GLSL sources and building programs into slots.
#include "gfx/shaderset.h"

#include <GL/glew.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>

#include "platform/faults.h"
#include "platform/files.h"

// A line `#include "name"` stands for the file of that name beside the one
// that includes it: the pieces the scenes' programs share. A piece may
// include others, up to IncludeDepth deep (a piece that includes itself
// stops there); a missing piece leaves the line, and the compiler says where.
static const int IncludeDepth = 4;

static std::string expandIncludes(const std::string& text, const std::string& fileName, int depth = 0) {
  const std::string directive = "#include \"";
  if (text.find(directive) == std::string::npos) return text;
  std::string folder = fileName.substr(0, fileName.find_last_of('/') + 1);
  std::istringstream in(text);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    size_t end = line.find('"', directive.size());
    if (line.compare(0, directive.size(), directive) == 0 && end != std::string::npos) {
      std::ifstream piece(folder + line.substr(directive.size(), end - directive.size()), std::ios::binary);
      if (piece && depth < IncludeDepth) {
        std::string inner((std::istreambuf_iterator<char>(piece)), std::istreambuf_iterator<char>());
        out += expandIncludes(inner, fileName, depth + 1);
        continue;
      }
    }
    out += line + "\n";
  }
  return out;
}

std::unique_ptr<char[]> readShaderSource(const std::string& fileName) {
  std::error_code ec;
  std::ifstream in;
  // A directory opens as a stream on Linux but has no bytes to give.
  if (!std::filesystem::is_directory(fileName, ec)) in.open(fileName, std::ios::binary);
  if (!in.is_open()) {
    std::cout << "Shader source file \"" << fileName << "\" not found." << std::endl;
    return nullptr;
  }
  in.exceptions(std::ios::eofbit | std::ios::failbit | std::ios::badbit);
  std::unique_ptr<char[]> text;
  std::streamoff size = 0;
  try {
    in.seekg(0, std::ios::end);
    size = std::max<std::streamoff>(0, in.tellg());
    in.seekg(0, std::ios::beg);
    text.reset(new char[size + 1]());
    in.read(text.get(), size);
  } catch (const std::ios_base::failure& e) {
    // A short read keeps what arrived; the rest of the buffer is NUL.
    std::cout << e.what() << std::endl;
    if (!text) {
      text.reset(new char[1]());
      size = 0;
    }
  }
  text[size] = 0;
  std::string whole(text.get()), expanded = expandIncludes(whole, fileName);
  if (expanded == whole) return text;
  std::unique_ptr<char[]> joined(new char[expanded.size() + 1]());
  std::copy(expanded.begin(), expanded.end(), joined.get());
  return joined;
}

// Compiles a source file into a new shader; a missing file compiles an
// empty source, so that the program fails as a broken one would, and
// *found turns false.
static GLuint compileShader(GLenum type, const std::string& fileName, bool* found = nullptr) {
  std::unique_ptr<char[]> text = readShaderSource(fileName);
  if (found) *found = text != nullptr;
  GLuint shader = glCreateShader(type);
  const char* source = text ? text.get() : "";
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

// A stage or program that failed: on standard error, and kept for the shell
// (an offline run must not end well over a program that draws nothing).
static void reportFailure(const std::string& what, const std::string& info) {
  std::cerr << "obelisk: " << what << (info.empty() ? "" : ":\n" + info) << std::endl;
  recordFault(faultKind::playsOn, what);
}

// Logs the compiler's messages. A shader that failed to compile is also
// reported on standard error with its file name: its program draws nothing,
// and a blank frame alone would not say why. A log of warnings only is not.
// A missing file is said as such, not as the compiler's complaint about an
// empty source.
static void logInfo(GLuint shader, int capacity, const std::string& fileName, bool found) {
  if (!found) {
    reportFailure("shader \"" + fileName + "\" not found", "");
    return;
  }
  std::string info(capacity, '\0');
  GLsizei length = 0;
  glGetShaderInfoLog(shader, capacity, &length, &info[0]);
  info.resize(std::max<GLsizei>(0, std::min<GLsizei>(length, capacity - 1)));
  std::cout << info << std::endl;
  GLint compiled = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (!compiled) reportFailure("cannot compile shader \"" + fileName + "\"", info);
}

static std::string programInfoLog(GLuint program) {
  GLint capacity = 0;
  glGetProgramiv(program, GL_INFO_LOG_LENGTH, &capacity);
  std::string info(size_t(std::max(capacity, 1)), '\0');
  GLsizei length = 0;
  glGetProgramInfoLog(program, GLsizei(info.size()), &length, &info[0]);
  info.resize(size_t(std::max<GLsizei>(0, std::min<GLsizei>(length, GLsizei(info.size()) - 1))));
  return info;
}

// Link errors go to standard error alone, so that the log keeps its lines:
// each file name followed by that shader's compiler messages.
static void reportLinkFailure(GLuint program, const std::string& files) {
  GLint linked = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked) return;
  reportFailure("cannot link shader program " + files, programInfoLog(program));
}

GLuint loadComputeProgram(const std::string& fileName) {
  bool found = false;
  GLuint shader = compileShader(GL_COMPUTE_SHADER, fileName, &found);
  std::cout << "Computer shader: " << fileName << std::endl;
  GLuint program = glCreateProgram();
  glAttachShader(program, shader);
  glLinkProgram(program);
  logInfo(shader, 7000, fileName, found);
  reportLinkFailure(program, "\"" + fileName + "\"");
  return program;
}

void shaderset::loadProgram(const std::string& vertexFile, const std::string& fragmentFile, int slot) {
  watchProgram(&programs[slot], vertexFile, fragmentFile, false);
  bool vertexFound = false, fragmentFound = false;
  vertexShaders[slot] = compileShader(GL_VERTEX_SHADER, vertexFile, &vertexFound);
  std::cout << vertexFile << std::endl;
  logInfo(vertexShaders[slot], 1000, vertexFile, vertexFound);
  fragmentShaders[slot] = compileShader(GL_FRAGMENT_SHADER, fragmentFile, &fragmentFound);
  std::cout << "Shader: " << fragmentFile << std::endl;
  logInfo(fragmentShaders[slot], 1000, fragmentFile, fragmentFound);
  programs[slot] = glCreateProgram();
  glAttachShader(programs[slot], fragmentShaders[slot]);
  glAttachShader(programs[slot], vertexShaders[slot]);
  glLinkProgram(programs[slot]);
  reportLinkFailure(programs[slot], "\"" + vertexFile + "\" + \"" + fragmentFile + "\"");
}

void shaderset::loadFragmentProgram(const std::string& fragmentFile, int slot) {
  watchProgram(&programs[slot], "", fragmentFile, false);
  bool found = false;
  fragmentShaders[slot] = compileShader(GL_FRAGMENT_SHADER, fragmentFile, &found);
  std::cout << "Shader: " << fragmentFile << std::endl;
  logInfo(fragmentShaders[slot], 1000, fragmentFile, found);
  programs[slot] = glCreateProgram();
  glAttachShader(programs[slot], fragmentShaders[slot]);
  glLinkProgram(programs[slot]);
  reportLinkFailure(programs[slot], "\"" + fragmentFile + "\"");
  glUseProgram(programs[slot]);
}

void shaderset::useProgram(int slot) { glUseProgram(programs[slot]); }

void shaderset::useNoProgram() { glUseProgram(0); }

void shaderset::setFloat(int slot, const std::string& name, float value) {
  glUniform1f(glGetUniformLocation(programs[slot], name.c_str()), value);
}

void shaderset::setVec3(int slot, const std::string& name, float x, float y, float z) {
  glUniform3f(glGetUniformLocation(programs[slot], name.c_str()), x, y, z);
}

void shaderset::bindTextureUniform(GLenum target, int slot, int unit, const std::string& name,
                                   GLuint texture) {
  GLint location = glGetUniformLocation(programs[slot], name.c_str());
  glActiveTexture(GL_TEXTURE0 + unit);
  glBindTexture(target, texture);
  glUniform1i(location, unit);
  glActiveTexture(GL_TEXTURE0);
}

// ---- authoring: programs rebuilt when their files change ----------------------------

bool shaderWatchEnabled = false;

namespace {

struct watchedProgram {
  GLuint* program;             // where its users find it
  std::string vertex, source;  // vertex file (may be empty), fragment or compute file
  bool compute;
  long long stamp;             // its files' and pieces' change times, folded (newestChange)
};
std::vector<watchedProgram> watched;

long long changedAt(const std::string& file) { return platformFileChangeTime(file); }

// The change times of every piece in a folder, folded: a change to one
// rebuilds every program of its folder (any of them may include it). One
// listing a folder a call of reloadChangedShaders, however many programs it
// holds.
using folderStamps = std::map<std::string, unsigned long long>;

unsigned long long folderChange(const std::string& folder, folderStamps& seen) {
  auto known = seen.find(folder);
  if (known != seen.end()) return known->second;
  unsigned long long stamp = 0;
  std::vector<std::string> pieces = platformFindFiles(folder + "*.cpp");
  std::sort(pieces.begin(), pieces.end());
  for (const std::string& name : pieces)
    stamp = stamp * 1000003u + (unsigned long long)changedAt(folder + name);
  return seen[folder] = stamp;
}

// The program's files and the pieces beside them, folded into one stamp that
// moves whenever any of them does.
long long newestChange(const watchedProgram& w, folderStamps& seen) {
  unsigned long long stamp = (unsigned long long)changedAt(w.vertex) * 31u + (unsigned long long)changedAt(w.source);
  stamp = stamp * 1000003u + folderChange(w.source.substr(0, w.source.find_last_of('/') + 1), seen);
  return (long long)stamp;
}

// Compiles one stage; on failure its log goes to standard error and 0 comes back.
GLuint quietCompile(GLenum type, const std::string& file) {
  bool found = false;
  GLuint shader = compileShader(type, file, &found);
  if (!found) {
    std::cerr << "obelisk: " << file << " not found; the old program stays" << std::endl;
    glDeleteShader(shader);
    return 0;
  }
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  char info[4000];
  GLsizei length = 0;
  glGetShaderInfoLog(shader, sizeof info, &length, info);
  std::cerr << "obelisk: " << file << " does not compile; the old program stays:\n"
            << std::string(info, size_t(std::max<GLsizei>(length, 0))) << std::endl;
  glDeleteShader(shader);
  return 0;
}

// The new program, or 0 (with the reason on standard error) when it fails.
GLuint rebuild(const watchedProgram& w) {
  GLuint program = glCreateProgram();
  GLuint stages[2] = {0, 0};
  bool ok = true;
  if (w.compute) {
    ok = (stages[0] = quietCompile(GL_COMPUTE_SHADER, w.source)) != 0;
  } else {
    ok = (stages[0] = quietCompile(GL_FRAGMENT_SHADER, w.source)) != 0;
    if (ok && !w.vertex.empty()) ok = (stages[1] = quietCompile(GL_VERTEX_SHADER, w.vertex)) != 0;
  }
  for (GLuint stage : stages)
    if (stage) glAttachShader(program, stage);
  if (ok) glLinkProgram(program);
  GLint linked = GL_FALSE;
  if (ok) glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (ok && !linked) {
    std::cerr << "obelisk: cannot link shader program \"" << w.source << "\" (the old program stays):\n"
              << programInfoLog(program) << std::endl;
  }
  for (GLuint stage : stages)
    if (stage) glDeleteShader(stage);
  if (linked) return program;
  glDeleteProgram(program);
  return 0;
}

}  // namespace

void watchProgram(GLuint* program, const std::string& vertexFile, const std::string& sourceFile, bool compute) {
  if (!shaderWatchEnabled) return;
  folderStamps seen;
  for (watchedProgram& w : watched)
    if (w.program == program) {
      w = {program, vertexFile, sourceFile, compute, 0};
      w.stamp = newestChange(w, seen);
      return;
    }
  watched.push_back({program, vertexFile, sourceFile, compute, 0});
  watched.back().stamp = newestChange(watched.back(), seen);
}

void forgetWatchedShaders() { watched.clear(); }

int reloadChangedShaders() {
  int reloaded = 0;
  folderStamps seen;
  for (watchedProgram& w : watched) {
    long long stamp = newestChange(w, seen);
    if (stamp == w.stamp) continue;
    w.stamp = stamp;  // a broken file is tried again only when it changes again
    GLuint program = rebuild(w);
    if (!program) continue;
    *w.program = program;  // the old one stays allocated, like every slot filled again
    std::cerr << "obelisk: reloaded " << w.source << std::endl;
    ++reloaded;
  }
  return reloaded;
}
