// Textures on a real (llvmpipe) context, read back. Read-backs exist only
// here; the program never reads back.
#include <GL/glew.h>

#include <algorithm>

#include "gfx/rendercontext.h"
#include "gfx/textures.h"
#include "platform/platform.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

namespace {

class textureGl : public glTest {
protected:
  scratchDir dir;
  std::unique_ptr<rendercontext> context = std::make_unique<rendercontext>();
};

std::vector<unsigned char> readBytes(GLuint texture, GLenum format, int width, int height, int size) {
  std::vector<unsigned char> pixels(size_t(width) * height * size);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return pixels;
}

GLint level0(GLenum target, GLenum name) {
  GLint value = 0;
  glGetTexLevelParameteriv(target, 0, name, &value);
  return value;
}

std::vector<double> progressCalls;

}  // namespace

// The first row lands at the top (t = 1), in a linear texture that replaces
// whatever the slot held; a colour-and-alpha pair takes its alpha from the
// alpha file's green, above a transparent bottom row.
TEST_F(textureGl, aJpegsFirstRowLandsAtTheTopOfTheTexture) {
  std::vector<unsigned char> rgb(6 * 16 * 3), red(8 * 8 * 3, 0), alpha(8 * 8 * 3, 0);  // 6 wide: rows not 4-byte aligned
  for (int i = 0; i < 6 * 16; i++) rgb[i * 3 + (i < 6 * 8 ? 0 : 2)] = 255;  // top red, bottom blue
  for (int i = 0; i < 64; i++) red[i * 3] = 255, alpha[i * 3 + 1] = i < 32 ? 0 : 255;  // alpha: top half 0
  std::string file = dir.path("redblue.jpg"), colourFile = dir.path("c.jpg"), alphaFile = dir.path("a.jpg");
  writeJpeg(file, 6, 16, 3, rgb);
  writeJpeg(colourFile, 8, 8, 3, red);
  writeJpeg(alphaFile, 8, 8, 3, alpha);
  context->progress = [](double amount) { progressCalls.push_back(amount); };
  progressCalls.clear();
  context->textures[9] = 12345;
  logCapture log;
  context->loadJpg(file.c_str(), 9);
  context->loadJpgRgba(colourFile.c_str(), alphaFile.c_str(), 44);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"Load texture jpg: " + file,
                                                   "Load texture jpgrgba: " + colourFile + ", " + alphaFile}));
  EXPECT_EQ(progressCalls.front(), 0.1);
  ASSERT_NE(context->textures[9], 12345u);
  std::vector<unsigned char> pixels = readBytes(context->textures[9], GL_RGB, 6, 16, 3);
  const unsigned char *top = &pixels[15 * 6 * 3], *bottomRight = &pixels[5 * 3];
  EXPECT_TRUE(top[0] > 200 && top[2] < 40) << "red at the top";
  EXPECT_TRUE(bottomRight[2] > 200 && bottomRight[0] < 40) << "blue at the bottom";
  GLint filter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  EXPECT_EQ(filter, GL_LINEAR);
  pixels = readBytes(context->textures[44], GL_RGBA, 8, 8, 4);
  for (int x = 0; x < 8; x++) {
    EXPECT_EQ(pixels[x * 4 + 0] + pixels[x * 4 + 3], 0);                        // bottom row transparent black
    EXPECT_TRUE(pixels[(8 + x) * 4 + 3] > 200 && pixels[(8 + x) * 4] > 200);  // the alpha file's bottom row
    EXPECT_LT(pixels[(56 + x) * 4 + 3], 40);                                    // its top row
  }
}

// Without the shell's handler a broken image is reported and loading goes on.
TEST_F(textureGl, withoutAFailureHandlerABrokenJpegLeavesAnEmptyTexture) {
  std::string broken = dir.write("broken.jpg", "xx");
  platformInteractive = false;
  textureFailure = nullptr;
  logCapture quiet, err(std::cerr);
  context->loadJpg(broken.c_str(), 4);
  context->loadJpgRgba(broken.c_str(), dir.path("missing.jpg").c_str(), 5);
  for (int slot : {4, 5}) {
    ASSERT_NE(context->textures[slot], 0u);
    glBindTexture(GL_TEXTURE_2D, context->textures[slot]);
    EXPECT_EQ(level0(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 0);
  }
  EXPECT_NE(err.text().find("broken.jpg"), std::string::npos) << err.text();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A JPEG cut inside its image data shows at its full size with the
// decoder's warning in the log, and the production goes on; one cut before
// its image, or a missing one, still goes the failure's way (code 1),
// naming the file.
std::vector<int> failures;
TEST_F(textureGl, aCutJpegShowsWithAWarningAndOnlyAnUnreadableOneFails) {
  std::string noise = randomBytes(3, 16 * 16 * 3);  // the top half flat, the bottom half noise
  std::vector<unsigned char> rgb(noise.begin(), noise.end());
  std::fill(rgb.begin(), rgb.begin() + 16 * 8 * 3, 200);
  std::string whole = dir.path("whole.jpg");
  writeJpeg(whole, 16, 16, 3, rgb);
  std::string bytes = readFile(whole), header = bytes.substr(0, bytes.find("\xFF\xDA"));
  std::string cut = dir.write("cut.jpg", bytes.substr(0, bytes.size() - 200));  // inside the noise
  std::string unreadable = dir.write("header.jpg", header);
  platformInteractive = false;
  failures.clear();
  textureFailure = [](int code) { failures.push_back(code); };
  {
    logCapture log;
    context->loadJpg(cut.c_str(), 6);
    context->loadJpgRgba(cut.c_str(), cut.c_str(), 7);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "Load texture jpg: " + cut, "obelisk: warning: JPEG \"" + cut + "\": Premature end of JPEG file",
                               "Load texture jpgrgba: " + cut + ", " + cut,
                               "obelisk: warning: JPEG \"" + cut + "\": Premature end of JPEG file",
                               "obelisk: warning: JPEG \"" + cut + "\": Premature end of JPEG file"}));
  }
  EXPECT_TRUE(failures.empty());
  for (int slot : {6, 7}) {
    glBindTexture(GL_TEXTURE_2D, context->textures[slot]);
    EXPECT_EQ(level0(GL_TEXTURE_2D, GL_TEXTURE_WIDTH) * level0(GL_TEXTURE_2D, GL_TEXTURE_HEIGHT), 16 * 16) << slot;
  }
  std::vector<unsigned char> pixels = readBytes(context->textures[6], GL_RGB, 16, 16, 3);
  EXPECT_NEAR(pixels[(15 * 16) * 3], 200, 3) << "the top row was read";
  // The box names the file (its caption says whether it was there), then
  // one line gives the reason.
  logCapture log, err(std::cerr);
  std::string missing = dir.path("missing.jpg");
  context->loadJpg(unreadable.c_str(), 8);
  context->loadJpg(missing.c_str(), 8);
  context->loadJpgRgba(missing.c_str(), unreadable.c_str(), 9);
  EXPECT_EQ(failures, (std::vector<int>{1, 1, 1, 1}));
  for (const std::string& said : {"Jpg !: " + unreadable, "Jpg: " + missing})
    EXPECT_NE(log.text().find(said), std::string::npos) << said << "\n" << log.text();
  for (const std::string& said : {"obelisk: cannot read JPEG \"" + unreadable + "\": ",
                                  "obelisk: cannot read JPEG \"" + missing + "\": No such file or directory\n"})
    EXPECT_NE(err.text().find(said), std::string::npos) << said << "\n" << err.text();
  textureFailure = nullptr;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Every operation adds the base to the slot; the 1-D float texture takes
// RGB data into RGBA32F storage.
TEST_F(textureGl, slotsAreOffsetByTheBaseAndTheFloatTextureIsRgba32f) {
  context->textureBase = 100;
  context->createRandomTexture(27, 10, 6);
  ASSERT_EQ(context->textures[27], 0u);
  std::vector<unsigned char> expected;
  fillRandomTextureBytes(10, 6, expected);
  EXPECT_EQ(readBytes(context->textures[127], GL_RGB, 10, 6, 3), expected);
  context->textureBase = 0;
  context->create1DFloatTexture(1001, 4096);
  glBindTexture(GL_TEXTURE_1D, context->textures[1001]);
  EXPECT_EQ(level0(GL_TEXTURE_1D, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA32F);
  EXPECT_EQ(level0(GL_TEXTURE_1D, GL_TEXTURE_WIDTH), 4096);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
