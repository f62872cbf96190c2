// Shader programs on a real (llvmpipe) context: what the log and standard
// error say (a failure is never only a blank frame, a sound load says
// nothing there), and the hot reload.
#include <GL/glew.h>
#include <sys/stat.h>

#include "gfx/shaderset.h"
#include "platform/faults.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

namespace {

const char* vertexSource = "#version 120\nvoid main() { gl_Position = ftransform(); }\n";
const char* fragmentSource =
    "#version 120\nuniform float level;\nuniform vec3 tint;\nuniform sampler2D image;\n"
    "void main() { gl_FragColor = vec4(tint * level, 1.0) * texture2D(image, vec2(0.5)); }\n";
const char* brokenSource = "#version 120\nvoid main() { this is not glsl }\n";

class shaderGl : public glTest {
protected:
  scratchDir dir;
  std::unique_ptr<shaderset> shaders = std::make_unique<shaderset>();
  std::string vertexFile = dir.write("v_plain.cpp", vertexSource);
  std::string fragmentFile = dir.write("f_plain.cpp", fragmentSource);
  // Writes a file of the scratch folder with its change time at `seconds`,
  // whatever the clock's grain; returns its path.
  std::string writeAt(const std::string& name, const std::string& text, long seconds) {
    std::string file = dir.write(name, text);
    struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(0, file.c_str(), times, 0);
    return file;
  }
};

GLint integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST_F(shaderGl, soundProgramsLogEachFileWithItsInfoLineAndSayNothingOnStandardError) {
  // Compiles, with a warning in its log (a variable read before it is set).
  // The driver's shader cache gives no log for a source it has seen, so each
  // run makes the source its own with the name of its folder.
  std::string warn = dir.write("f_warn.cpp", "#version 120\n// " + dir.path("") +
                                                 "\nvoid main() { float unset; gl_FragColor = vec4(unset); }\n");
  clearFaults();
  logCapture log, err(std::cerr);
  shaders->loadProgram(vertexFile, fragmentFile, 12);
  shaders->loadFragmentProgram(warn, 2);
  EXPECT_TRUE(recordedFaults().empty());  // a warning is no fault
  std::vector<std::string> lines = log.lines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
            (std::vector<std::string>{vertexFile, "", "Shader: " + fragmentFile, "", "Shader: " + warn}));
  EXPECT_FALSE(lines[5].empty());  // the warning, in the log alone
  EXPECT_EQ(err.text(), "");
  GLint linked = 0;
  glGetProgramiv(shaders->programs[12], GL_LINK_STATUS, &linked);
  EXPECT_EQ(linked, GL_TRUE);
  EXPECT_NE(GLuint(integer(GL_CURRENT_PROGRAM)), shaders->programs[12]);  // a full program is not made current
  EXPECT_EQ(GLuint(integer(GL_CURRENT_PROGRAM)), shaders->programs[2]);   // a fragment program is
}

// The compiler's complaint reaches the log as it always did, and standard
// error with the file's name; the program that cannot link is named too,
// a compute program as well. A missing file is said as missing, with its
// path, not as the compiler's complaint about an empty source. Every
// failure is recorded for the shell, which fails an offline run over it.
TEST_F(shaderGl, brokenAndMissingSourcesAreReportedWithTheirFileNames) {
  clearFaults();
  std::string broken = dir.write("f_broken.cpp", brokenSource), missing = dir.path("v_missing.cpp");
  logCapture log, err(std::cerr);
  shaders->loadProgram(vertexFile, broken, 1);
  std::string said = err.text();
  EXPECT_TRUE(contains(said, "obelisk: cannot compile shader \"" + broken + "\":\n")) << said;
  EXPECT_TRUE(contains(said, "obelisk: cannot link shader program \"" + vertexFile + "\" + \"" + broken + "\"")) << said;
  EXPECT_FALSE(contains(said, "compile shader \"" + vertexFile)) << said;
  std::vector<std::string> lines = log.lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[2], "Shader: " + broken);
  EXPECT_FALSE(lines[3].empty());
  EXPECT_TRUE(contains(said, lines[3])) << said;  // the same complaint in both places
  EXPECT_TRUE(glIsProgram(shaders->programs[1]));
  glGetError();  // the GL refuses to make an unlinked program current; nothing else happens

  logCapture missingLog, missingErr(std::cerr);
  shaders->loadProgram(missing, fragmentFile, 4);
  lines = missingLog.lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Shader source file \"" + missing + "\" not found.");
  EXPECT_EQ(lines[1], missing);
  EXPECT_EQ(lines[2], "Shader: " + fragmentFile);
  EXPECT_TRUE(contains(missingErr.text(), "obelisk: shader \"" + missing + "\" not found\n")) << missingErr.text();
  EXPECT_FALSE(contains(missingErr.text(), "cannot compile")) << missingErr.text();
  EXPECT_TRUE(glIsProgram(shaders->programs[4]));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  std::string c = dir.write("c_broken.cpp", "#version 430\nlayout(local_size_x = 1) in;\nvoid main() { undefined(); }\n");
  logCapture compute(std::cerr);
  loadComputeProgram(c);
  EXPECT_TRUE(contains(compute.text(), "obelisk: cannot compile shader \"" + c + "\":\n")) << compute.text();
  EXPECT_TRUE(contains(compute.text(), "obelisk: cannot link shader program \"" + c + "\":\n"));

  std::vector<std::string> recorded;
  for (const fault& f : recordedFaults()) {
    EXPECT_EQ(f.kind, faultKind::playsOn) << f.what;
    recorded.push_back(f.what);
  }
  std::vector<std::string> expected = {
      "cannot compile shader \"" + broken + "\"", "cannot link shader program \"" + vertexFile + "\" + \"" + broken + "\"",
      "shader \"" + missing + "\" not found", "cannot link shader program \"" + missing + "\" + \"" + fragmentFile + "\"",
      "cannot compile shader \"" + c + "\"", "cannot link shader program \"" + c + "\""};
  EXPECT_EQ(recorded, expected);
  clearFaults();
}

// With the watch on, a changed file replaces its program in place; a broken
// one keeps the old program running.
TEST_F(shaderGl, aChangedFileSwapsTheProgramAndABrokenOneKeepsIt) {
  auto rewrite = [&](const std::string& text, long seconds) { return writeAt("f_test.cpp", text, seconds); };
  std::string file = rewrite("#version 430 compatibility\nvoid main() { gl_FragColor = vec4(1, 0, 0, 1); }\n", 1000);
  shaderWatchEnabled = true;
  logCapture log, err(std::cerr);
  shaders->loadFragmentProgram(file, 7);
  GLuint first = shaders->programs[7];
  EXPECT_EQ(reloadChangedShaders(), 0);  // nothing changed yet
  rewrite("#version 430 compatibility\nuniform float level;\nvoid main() { gl_FragColor = vec4(0, level, 0, 1); }\n",
          2000);
  EXPECT_EQ(reloadChangedShaders(), 1);
  GLuint second = shaders->programs[7];
  EXPECT_NE(second, first);
  EXPECT_NE(glGetUniformLocation(second, "level"), -1);  // the new source is in use
  rewrite("#version 430 compatibility\nvoid main() { this is not GLSL }\n", 3000);
  EXPECT_EQ(reloadChangedShaders(), 0);
  EXPECT_EQ(shaders->programs[7], second);
  EXPECT_TRUE(contains(err.text(), "f_test.cpp does not compile; the old program stays")) << err.text();
  forgetWatchedShaders();
  shaderWatchEnabled = false;
}

TEST_F(shaderGl, aChangedPieceRebuildsTheProgramsBesideIt) {
  writeAt("colour.cpp", "vec4 colour() { return vec4(1, 0, 0, 1); }\n", 1000);
  std::string file = writeAt("f_piece.cpp", "#version 430 compatibility\n#include \"colour.cpp\"\n"
                                          "void main() { gl_FragColor = colour(); }\n", 1000);
  shaderWatchEnabled = true;
  logCapture err(std::cerr);
  shaders->loadFragmentProgram(file, 8);
  EXPECT_EQ(reloadChangedShaders(), 0);
  writeAt("colour.cpp", "uniform float level;\nvec4 colour() { return vec4(level); }\n", 900);  // even an older time
  EXPECT_EQ(reloadChangedShaders(), 1);
  EXPECT_NE(glGetUniformLocation(shaders->programs[8], "level"), -1);
  forgetWatchedShaders();
  shaderWatchEnabled = false;
}
