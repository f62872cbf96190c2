// Shader programs and render targets on a real (llvmpipe) context.
#include <GL/glew.h>

#include <memory>

#include "gfx/rendercontext.h"
#include "gfx/shaderset.h"
#include "tests/support/testfiles.h"
#include "tests/support/glcontext.h"

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
};

GLint integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

GLint linked(GLuint program) {
  GLint status = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  return status;
}

}  // namespace

TEST_F(shaderGl, aGoodProgramLogsFileNamesEachFollowedByItsInfoLine) {
  logCapture log;
  shaders->loadProgram(vertexFile, fragmentFile, 12);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{vertexFile, "", "Shader: " + fragmentFile, ""}));
  EXPECT_EQ(linked(shaders->programs[12]), GL_TRUE);
  EXPECT_NE(GLuint(integer(GL_CURRENT_PROGRAM)), shaders->programs[12]);  // not made current
}

TEST_F(shaderGl, brokenAndMissingSourcesAreOnlyLogged) {
  std::string broken = dir.write("f_broken.cpp", brokenSource), missing = dir.path("v_missing.cpp");
  logCapture log;
  shaders->loadFragmentProgram(broken, 3);
  std::vector<std::string> lines = log.lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Shader: " + broken);
  EXPECT_FALSE(lines[1].empty());  // the compiler's complaint
  EXPECT_TRUE(glIsProgram(shaders->programs[3]));
  glGetError();  // the GL refuses to make an unlinked program current; nothing else happens
  shaders->loadFragmentProgram(fragmentFile, 5);
  EXPECT_EQ(GLuint(integer(GL_CURRENT_PROGRAM)), shaders->programs[5]);  // made current

  logCapture missingLog;
  shaders->loadProgram(missing, fragmentFile, 4);
  lines = missingLog.lines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Cannot open shader source file.");
  EXPECT_EQ(lines[1], missing);
  EXPECT_FALSE(lines[2].empty());  // the empty source does not compile
  EXPECT_EQ(lines[lines.size() - 2], "Shader: " + fragmentFile);
  EXPECT_EQ(lines.back(), "");
  EXPECT_TRUE(glIsProgram(shaders->programs[4]));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(shaderGl, aSlotLoadedTwiceHoldsTheNewProgramAndTheOldOneLives) {
  logCapture log;
  shaders->loadProgram(vertexFile, fragmentFile, 10127);
  GLuint first = shaders->programs[10127], firstShader = shaders->fragmentShaders[10127];
  shaders->loadProgram(vertexFile, fragmentFile, 10127);
  EXPECT_NE(shaders->programs[10127], first);
  EXPECT_NE(shaders->fragmentShaders[10127], firstShader);
  EXPECT_TRUE(glIsProgram(first));
  EXPECT_TRUE(glIsShader(firstShader));
}

// ---- render targets -------------------------------------------------------------

namespace {

class targetGl : public glTest {
protected:
  std::unique_ptr<rendercontext> context = std::make_unique<rendercontext>();
  void TearDown() override { context->bindWindowFramebuffer(); }
};

std::vector<unsigned char> readColour(GLuint texture, int width, int height) {
  std::vector<unsigned char> pixels(size_t(width) * height * 4);
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

void expectEveryPixel(const std::vector<unsigned char>& pixels, unsigned char r, unsigned char g,
                      unsigned char b) {
  for (size_t i = 0; i < pixels.size(); i += 4) {
    ASSERT_EQ(pixels[i], r) << "pixel " << i / 4;
    ASSERT_EQ(pixels[i + 1], g) << "pixel " << i / 4;
    ASSERT_EQ(pixels[i + 2], b) << "pixel " << i / 4;
  }
}

const GLfloat red[4] = {1, 0, 0, 1}, green[4] = {0, 1, 0, 1}, blue[4] = {0, 0, 1, 1};

}  // namespace

TEST_F(targetGl, numbersAndBufferCountsAreClamped) {
  context->createRenderTarget(0, 8, 8, 0);
  context->createRenderTarget(99, 8, 8, 0);  // becomes target 15
  ASSERT_NE(context->drawFramebuffer[15], 0u);
  context->bindRenderTarget(20, 5);
  EXPECT_EQ(GLuint(integer(GL_DRAW_FRAMEBUFFER_BINDING)), context->drawFramebuffer[15]);
  EXPECT_EQ(integer(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
  EXPECT_EQ(integer(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
  EXPECT_EQ(integer(GL_DRAW_BUFFER2), GL_COLOR_ATTACHMENT2);
  EXPECT_EQ(integer(GL_DRAW_BUFFER3), GL_NONE);
  context->bindRenderTarget(-4, 0);
  EXPECT_EQ(GLuint(integer(GL_DRAW_FRAMEBUFFER_BINDING)), context->drawFramebuffer[0]);
  EXPECT_EQ(integer(GL_DRAW_BUFFER1), GL_NONE);

  context->createNoiseTexture(40, 8, 8);
  context->attachColor(15, 7, 40);  // attachment 2
  GLint attached = 0;
  glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT2,
                                        GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
  EXPECT_EQ(GLuint(attached), context->textures[40]);
  EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), context->resolveFramebuffer[15]);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(targetGl, aResolveCopiesOnlyTheBuffersAskedFor) {
  for (int samples : {0, 2}) {
    SCOPED_TRACE(samples);
    context->createRenderTarget(1, 8, 8, samples);
    context->createNoiseTexture(100, 8, 8);
    context->createNoiseTexture(101, 8, 8);
    context->createDepthTexture(102, 8, 8);
    context->attachColor(1, 0, 100);
    context->attachColor(1, 1, 101);
    context->attachDepth(1, 102);
    const GLenum both[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, both);
    glClearBufferfv(GL_COLOR, 0, green);
    glClearBufferfv(GL_COLOR, 1, green);

    context->bindRenderTarget(1, 2);
    glClearBufferfv(GL_COLOR, 0, red);
    glClearBufferfv(GL_COLOR, 1, blue);
    const GLfloat quarter = 0.25f;
    glClearBufferfv(GL_DEPTH, 0, &quarter);
    context->resolveRenderTarget(1, 8, 8, 1, false);
    context->bindWindowFramebuffer();
    expectEveryPixel(readColour(context->textures[100], 8, 8), 255, 0, 0);
    expectEveryPixel(readColour(context->textures[101], 8, 8), 0, 255, 0);

    context->resolveRenderTarget(1, 8, 8, 2, true);
    context->bindWindowFramebuffer();
    expectEveryPixel(readColour(context->textures[101], 8, 8), 0, 0, 255);
    std::vector<float> depth(64);
    glBindTexture(GL_TEXTURE_2D, context->textures[102]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_NEAR(depth[27], 0.25f, 1e-3);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}
