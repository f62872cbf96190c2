// shaderset.h -- GLSL programs in numbered slots, one table per section.
// Sources are text files read at load time; compile and link results are
// logged (file-name line, then the info log). A missing file ("not found"),
// a stage that does not compile and a program that does not link are also
// told on standard error with the file name and recorded as faults
// (platform/faults.h): the live production plays on, an offline run fails.
// Loading a slot again makes new objects and leaves the old ones alive.
#pragma once
#include <memory>
#include <string>

#include "gfx/glnames.h"

constexpr int MaxShaderSlots = 10128;

// The file's bytes followed by one NUL, or null (after the log line
// `Shader source file "NAME" not found.`) when it cannot be opened.
std::unique_ptr<char[]> readShaderSource(const std::string& fileName);

// Compiles and links a compute program from a file; logs "Computer shader: "
// and the file name, then the info log (at most 7000 characters).
GLuint loadComputeProgram(const std::string& fileName);

class shaderset {
public:
  GLuint fragmentShaders[MaxShaderSlots] = {};
  GLuint vertexShaders[MaxShaderSlots] = {};
  GLuint programs[MaxShaderSlots] = {};

  // Vertex + fragment program into the slot; not made current.
  void loadProgram(const std::string& vertexFile, const std::string& fragmentFile, int slot);
  // Fragment-only program (fixed-function vertex path) into the slot; made current.
  void loadFragmentProgram(const std::string& fragmentFile, int slot);
  void useProgram(int slot);
  void useNoProgram();
  // Uniform setters act on the current program: call useProgram first.
  void setFloat(int slot, const std::string& name, float value);
  void setVec3(int slot, const std::string& name, float x, float y, float z);
  // Binds texture to target on unit, points the uniform at the unit, then
  // makes unit 0 active again.
  void bindTextureUniform(GLenum target, int slot, int unit, const std::string& name, GLuint texture);
};

// ---- authoring: programs rebuilt in place when their files change ----------
extern bool shaderWatchEnabled;  // set before loading: the loaders then remember their files
// Remembers that *program is built from these files (vertexFile may be empty).
void watchProgram(GLuint* program, const std::string& vertexFile, const std::string& sourceFile, bool compute);
// Between frames: rebuilds every program whose files changed. A file that
// does not compile or link has its log printed and the old program kept.
// Returns the number of programs replaced.
int reloadChangedShaders();
void forgetWatchedShaders();  // the programs' owners are gone
