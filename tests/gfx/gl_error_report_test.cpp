// gl_error_report_test.cpp -- what a broken shader or an empty point set
// says on standard error, on a real (llvmpipe) context: a failure is never
// only a blank frame, and a sound load says nothing there.
#include <GL/glew.h>

#include <iostream>
#include <memory>
#include <sstream>

#include "gfx/shaderset.h"
#include "gfx/tgobject.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

namespace {

// Redirects std::cerr into a string while it lives.
class stderrCapture {
public:
  stderrCapture() : previous(std::cerr.rdbuf(out.rdbuf())) {}
  ~stderrCapture() { std::cerr.rdbuf(previous); }
  std::string text() const { return out.str(); }
private:
  std::ostringstream out;
  std::streambuf* previous;
};

const char* vertexSource = "#version 120\nvoid main() { gl_Position = ftransform(); }\n";
const char* fragmentSource = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";
// Compiles, with a warning in its log (a variable read before it is set).
// The driver's shader cache gives no log for a source it has seen, so each
// run makes the source its own with the name of its folder.
std::string warningSource(const std::string& unique) {
  return "#version 120\n// " + unique + "\nvoid main() { float unset; gl_FragColor = vec4(unset); }\n";
}
const char* brokenSource = "#version 120\nvoid main() { this is not glsl }\n";
// Each compiles, but a varying the fragment stage reads is never written.
const char* vertexWithoutVarying = "#version 120\nvoid main() { gl_Position = ftransform(); }\n";
const char* fragmentReadingVarying =
    "#version 120\nvarying vec3 tint;\nvoid main() { gl_FragColor = vec4(tint, 1.0); }\n";
const char* brokenCompute = "#version 430\nlayout(local_size_x = 1) in;\nvoid main() { undefined(); }\n";

class errorReportGl : public glTest {
protected:
  scratchDir dir;
  std::unique_ptr<shaderset> shaders = std::make_unique<shaderset>();
  logCapture log;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST_F(errorReportGl, soundShadersAndWarningsAreNotReported) {
  std::string v = dir.write("v.cpp", vertexSource), f = dir.write("f.cpp", fragmentSource),
              w = dir.write("f_warn.cpp", warningSource(dir.path("")));
  stderrCapture err;
  shaders->loadProgram(v, f, 1);
  shaders->loadFragmentProgram(w, 2);
  EXPECT_EQ(err.text(), "");
  std::vector<std::string> lines = log.lines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[4], "Shader: " + w);
  EXPECT_FALSE(lines[5].empty());  // the warning, in the log alone
  GLint compiled = GL_FALSE;
  glGetShaderiv(shaders->fragmentShaders[2], GL_COMPILE_STATUS, &compiled);
  EXPECT_EQ(compiled, GL_TRUE);
}

// The compiler's complaint reaches the log as it always did, and standard
// error with the file's name; the program that cannot link is named too.
TEST_F(errorReportGl, aShaderThatDoesNotCompileIsReportedWithItsFileName) {
  std::string v = dir.write("v.cpp", vertexSource), broken = dir.write("f_broken.cpp", brokenSource);
  stderrCapture err;
  shaders->loadProgram(v, broken, 1);
  std::string said = err.text();
  EXPECT_TRUE(contains(said, "obelisk: cannot compile shader \"" + broken + "\":\n")) << said;
  EXPECT_TRUE(contains(said, "obelisk: cannot link shader program \"" + v + "\" + \"" + broken + "\"")) << said;
  EXPECT_FALSE(contains(said, "compile shader \"" + v)) << said;
  std::vector<std::string> lines = log.lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[2], "Shader: " + broken);
  EXPECT_FALSE(lines[3].empty());
  EXPECT_TRUE(contains(said, lines[3])) << said;  // the same complaint in both places

  stderrCapture missing;
  shaders->loadFragmentProgram(dir.path("f_missing.cpp"), 3);
  EXPECT_TRUE(contains(missing.text(), "cannot compile shader \"" + dir.path("f_missing.cpp") + "\""));
  glGetError();  // the unlinked program was refused as the current one
}

TEST_F(errorReportGl, linkAndComputeFailuresAreReported) {
  std::string v = dir.write("v.cpp", vertexWithoutVarying), f = dir.write("f.cpp", fragmentReadingVarying);
  stderrCapture err;
  shaders->loadProgram(v, f, 1);
  GLint linked = GL_TRUE;
  glGetProgramiv(shaders->programs[1], GL_LINK_STATUS, &linked);
  if (linked) GTEST_SKIP() << "this driver links a varying nobody writes";
  EXPECT_TRUE(contains(err.text(), "obelisk: cannot link shader program \"" + v + "\" + \"" + f + "\":\n"))
      << err.text();
  EXPECT_FALSE(contains(err.text(), "cannot compile"));

  std::string c = dir.write("c_broken.cpp", brokenCompute);
  stderrCapture compute;
  loadComputeProgram(c);
  EXPECT_TRUE(contains(compute.text(), "obelisk: cannot compile shader \"" + c + "\":\n")) << compute.text();
  EXPECT_TRUE(contains(compute.text(), "obelisk: cannot link shader program \"" + c + "\":\n"));
}

// A mesh that gives the particles nowhere to go is worth a warning; one that
// does is not.
TEST_F(errorReportGl, aPointSetWithoutPointsIsReported) {
  TGObject empty, sound;
  std::string none = dir.write("none.obj", "v 0 0 0\nv 1 0 0\n");
  std::string triangle = dir.write("tri.obj", "v 1 1 1\nv 3 1 1\nv 1 3 1\nf 1// 2// 3//\n");
  stderrCapture err;
  empty.load(none, 4, 4, 2, 4, 1, 1, 1);
  EXPECT_EQ(err.text(), "obelisk: warning: point set \"" + none + "\" yields no points\n");
  stderrCapture quiet;
  sound.load(triangle, 4, 4, 2, 4, 1, 1, 1);
  EXPECT_EQ(quiet.text(), "");
  GLuint textures[4] = {empty.positionTexture, empty.colorTexture, sound.positionTexture, sound.colorTexture};
  glDeleteTextures(4, textures);
}
