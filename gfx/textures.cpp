// textures.cpp -- the texture table's loaders: JPEG images, noise, depth and
// float textures, and the random helpers they share with the scenes.
#include "gfx/textures.h"

#include <GL/glew.h>

#include <algorithm>
#include <iostream>

#include "gfx/jpegdecode.h"
#include "gfx/rendercontext.h"
#include "platform/crandom.h"
#include "platform/platform.h"

void (*textureFailure)(int exitCode) = nullptr;

double frand() { return cRand() / 32767.0; }

int randomInt(int n) {
  if (n <= 0) return 0;  // nothing to choose from; avoids a loop that never ends
  // Past the generator's range every draw is accepted (and n + 1 could overflow).
  int d = n >= CRandMax ? 1 : CRandMax / (n + 1);
  int r;
  do r = cRand() / d;
  while (r > n);
  return r;
}

void fillNoiseBytes(int width, int height, std::vector<unsigned char>& bytes) {
  bytes.resize(size_t(std::max(0, width)) * std::max(0, height) * 4);
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(cRand() % 255);
}

void fillRandomTextureBytes(int width, int height, std::vector<unsigned char>& bytes) {
  width = std::max(0, width);
  height = std::max(0, height);
  bytes.assign(size_t(width) * height * 3, 0);
  cSrand(24234234);
  for (int i = 0; i < 10000; i++) cRand();
  for (int x = 0; x < width; x++)
    for (int y = 0; y < height; y++) {
      unsigned char* p = &bytes[(size_t(y) * width + x) * 3];
      for (int c = 0; c < 3; c++) p[c] = static_cast<unsigned char>(randomInt(256));
    }
}

void combineRgba(const std::vector<unsigned char>& colour, int colourWidth, int colourHeight,
                 const std::vector<unsigned char>& alpha, int width, int height,
                 std::vector<unsigned char>& rgba) {
  rgba.assign(size_t(std::max(0, width)) * std::max(0, height) * 4, 0);
  if (width <= 0) return;  // no texels: index no row
  for (int k = 0; k < height; k++) {
    int r = std::max(height - 1 - k, 1);
    if (r >= height) continue;  // a one-row image has no row 1
    const unsigned char* in = &alpha[size_t(height - 1 - k) * width * 4];
    unsigned char* out = &rgba[size_t(r) * width * 4];
    for (int x = 0; x < width; x++) {
      if (x < colourWidth && r < colourHeight) {
        const unsigned char* c = &colour[(size_t(r) * colourWidth + x) * 4];
        out[x * 4 + 0] = c[0];
        out[x * 4 + 1] = c[1];
        out[x * 4 + 2] = c[2];
      } else {
        out[x * 4 + 0] = out[x * 4 + 1] = out[x * 4 + 2] = 0;
      }
      out[x * 4 + 3] = in[x * 4 + 1];
    }
  }
}

// Decodes a JPEG or ends the process: a file that cannot be opened or decoded
// leaves the production without a texture it needs. Damage the decoder steps
// over only goes to the log; the image is shown as decoded.
static void decodeOrReport(const char* fileName, const char* openCaption, std::vector<unsigned char>& rgbx,
                         int& width, int& height) {
  std::string reason, warning;
  jpegStatus status = decodeJpg(fileName, rgbx, width, height, &reason, &warning);
  if (status == jpegStatus::ok) {
    if (!warning.empty()) std::cout << "obelisk: warning: JPEG \"" << fileName << "\": " << warning << std::endl;
    return;
  }
  platformMessageBox(fileName, status == jpegStatus::cannotOpen ? openCaption : "Jpg !",
                     boxIcon::information);
  // The box names only the file; the reason goes to the terminal and the log.
  std::string line = std::string("obelisk: cannot read JPEG \"") + fileName + "\": " + reason;
  std::cerr << line << std::endl;
  std::cout << line << "\n";
  std::cout.flush();
  // the production cannot play without it: a failure, where the shell says how it ends
  if (textureFailure) textureFailure(1);
}

// Uploads tightly packed rows whatever their length, then restores the
// caller's unpack alignment.
static void uploadPacked(GLint internalFormat, int width, int height, GLenum format, const void* data) {
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE, data);
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

static void createLinearTexture(GLuint& name) {
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void rendercontext::loadJpg(const char* fileName, int slot) {
  std::cout << "Load texture jpg: " << fileName << std::endl;
  reportProgress(0.1);
  std::vector<unsigned char> rgbx;
  int width = 0, height = 0;
  decodeOrReport(fileName, "Jpg", rgbx, width, height);
  std::vector<unsigned char> rgb(size_t(width) * height * 3);
  for (size_t i = 0, n = size_t(width) * height; i < n; i++)
    for (int c = 0; c < 3; c++) rgb[i * 3 + c] = rgbx[i * 4 + c];
  createLinearTexture(textures[textureBase + slot]);
  uploadPacked(3, width, height, GL_RGB, rgb.data());
}

void rendercontext::loadJpgRgba(const char* colourFile, const char* alphaFile, int slot) {
  reportProgress(0.1);
  std::cout << "Load texture jpgrgba: " << colourFile << ", " << alphaFile << std::endl;
  std::vector<unsigned char> colour, alpha, rgba;
  int cw = 0, ch = 0, width = 0, height = 0;
  decodeOrReport(colourFile, "Jpg !", colour, cw, ch);
  decodeOrReport(alphaFile, "Jpg !", alpha, width, height);
  combineRgba(colour, cw, ch, alpha, width, height, rgba);
  createLinearTexture(textures[textureBase + slot]);
  glTexImage2D(GL_TEXTURE_2D, 0, 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

void rendercontext::createNoiseTexture(int slot, int width, int height) {
  createLinearTexture(textures[textureBase + slot]);
  std::vector<unsigned char> bytes;
  fillNoiseBytes(width, height, bytes);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void rendercontext::createRandomTexture(int slot, int width, int height) {
  createLinearTexture(textures[textureBase + slot]);
  std::vector<unsigned char> bytes;
  fillRandomTextureBytes(width, height, bytes);
  uploadPacked(3, width, height, GL_RGB, bytes.data());
}

void rendercontext::createDepthTexture(int slot, int width, int height) {
  GLuint& name = textures[textureBase + slot];
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width, height, 0, GL_DEPTH_COMPONENT,
               GL_UNSIGNED_INT, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_LUMINANCE);
}

void rendercontext::create1DFloatTexture(int slot, int width) {
  GLuint& name = textures[textureBase + slot];
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_1D, name);
  glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA32F, width, 0, GL_RGB, GL_FLOAT, nullptr);
}

void rendercontext::bindTexture(int slot) { glBindTexture(GL_TEXTURE_2D, textures[textureBase + slot]); }

void rendercontext::setLinearFiltering() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}
