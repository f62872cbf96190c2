// Shader hot reload: a changed file replaces its program in place; a broken
// one keeps the old program running.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "gfx/shaderset.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

namespace {

// Writes the file and moves its change time on, whatever the clock's grain.
void rewrite(const std::string& path, const std::string& text, long seconds) {
  std::ofstream(path) << text;
  struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  utimensat(0, path.c_str(), times, 0);
}

const char* red = "#version 430 compatibility\nvoid main() { gl_FragColor = vec4(1, 0, 0, 1); }\n";
const char* green =
    "#version 430 compatibility\nuniform float level;\nvoid main() { gl_FragColor = vec4(0, level, 0, 1); }\n";

}  // namespace

class shaderWatchGl : public glTest {};

TEST_F(shaderWatchGl, aChangedFileSwapsTheProgramAndABrokenOneKeepsIt) {
  scratchDir dir;
  std::string file = dir.path("f_test.cpp");
  rewrite(file, red, 1000);
  shaderWatchEnabled = true;
  auto set = std::make_unique<shaderset>();
  {
    logCapture quiet;
    set->loadFragmentProgram(file, 7);
  }
  GLuint first = set->programs[7];
  EXPECT_EQ(reloadChangedShaders(), 0);  // nothing changed yet

  rewrite(file, green, 2000);
  EXPECT_EQ(reloadChangedShaders(), 1);
  GLuint second = set->programs[7];
  EXPECT_NE(second, first);
  EXPECT_NE(glGetUniformLocation(second, "level"), -1);  // the new source is in use

  rewrite(file, "#version 430 compatibility\nvoid main() { this is not GLSL }\n", 3000);
  testing::internal::CaptureStderr();
  EXPECT_EQ(reloadChangedShaders(), 0);
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(set->programs[7], second);
  EXPECT_NE(said.find("f_test.cpp does not compile; the old program stays"), std::string::npos) << said;
  forgetWatchedShaders();
  shaderWatchEnabled = false;
}
