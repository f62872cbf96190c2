// Render targets on a real (llvmpipe) context: numbering, draw buffers and
// what a resolve copies.
#include <GL/glew.h>

#include <memory>

#include "gfx/rendercontext.h"
#include "tests/support/glcontext.h"

namespace {

class targetGl : public glTest {
protected:
  std::unique_ptr<rendercontext> context = std::make_unique<rendercontext>();
  void TearDown() override {
    if (!IsSkipped()) context->bindWindowFramebuffer();
  }
};

GLint integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

// Every pixel of the texture is (r, g, b).
void expectEveryPixel(GLuint texture, unsigned char r, unsigned char g, unsigned char b) {
  std::vector<unsigned char> pixels(8 * 8 * 4);
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  for (size_t i = 0; i < pixels.size(); i += 4)
    ASSERT_TRUE(pixels[i] == r && pixels[i + 1] == g && pixels[i + 2] == b) << "pixel " << i / 4;
}

}  // namespace

TEST_F(targetGl, numbersAndBufferCountsAreClamped) {
  context->createRenderTarget(0, 8, 8, 0);
  context->createRenderTarget(99, 8, 8, 0);  // becomes target 15
  ASSERT_NE(context->drawFramebuffer[15], 0u);
  context->bindRenderTarget(20, 5);
  EXPECT_EQ(GLuint(integer(GL_DRAW_FRAMEBUFFER_BINDING)), context->drawFramebuffer[15]);
  EXPECT_EQ(integer(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
  EXPECT_EQ(integer(GL_DRAW_BUFFER2), GL_COLOR_ATTACHMENT2);
  EXPECT_EQ(integer(GL_DRAW_BUFFER3), GL_NONE);
  context->bindRenderTarget(-4, 0);
  EXPECT_EQ(GLuint(integer(GL_DRAW_FRAMEBUFFER_BINDING)), context->drawFramebuffer[0]);
  EXPECT_EQ(integer(GL_DRAW_BUFFER1), GL_NONE);
  context->createNoiseTexture(40, 8, 8);
  context->attachColor(15, 7, 40);  // attachment 2
  GLint attached = 0;
  glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT2, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                        &attached);
  EXPECT_EQ(GLuint(attached), context->textures[40]);
  EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), context->resolveFramebuffer[15]);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(targetGl, aResolveCopiesOnlyTheBuffersAskedFor) {
  const GLfloat red[4] = {1, 0, 0, 1}, green[4] = {0, 1, 0, 1}, blue[4] = {0, 0, 1, 1}, quarter = 0.25f;
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
    glClearBufferfv(GL_DEPTH, 0, &quarter);
    context->resolveRenderTarget(1, 8, 8, 1, false);
    context->bindWindowFramebuffer();
    expectEveryPixel(context->textures[100], 255, 0, 0);
    expectEveryPixel(context->textures[101], 0, 255, 0);
    context->resolveRenderTarget(1, 8, 8, 2, true);
    context->bindWindowFramebuffer();
    expectEveryPixel(context->textures[101], 0, 0, 255);
    std::vector<float> depth(64);
    glBindTexture(GL_TEXTURE_2D, context->textures[102]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_NEAR(depth[27], 0.25f, 1e-3);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}
