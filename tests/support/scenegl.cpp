// scenegl.cpp -- see scenegl.h.
#include "tests/support/scenegl.h"

#include <png.h>

#include <algorithm>
#include <sstream>

#include "gfx/rendercontext.h"
#include "tests/support/testfiles.h"

int picture::level(int x, int y) const {
  const unsigned char* p = &rgb[(size_t(y) * width + x) * 3];
  return std::max(p[0], std::max(p[1], p[2]));
}

double picture::meanLevel(int x0, int y0, int x1, int y1) const {
  double sum = 0;
  long n = 0;
  for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, width); ++x, ++n) sum += level(x, y);
  return n ? sum / double(n) : 0.0;
}

int picture::countAbove(int threshold, int x0, int y0, int x1, int y1) const {
  int n = 0;
  for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, width); ++x) n += level(x, y) > threshold;
  return n;
}

bool readPng(const std::string& file, picture& out) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  out.width = int(image.width);
  out.height = int(image.height);
  out.rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
}

picture readTexture(GLuint texture, int width, int height) {
  picture p;
  p.width = width;
  p.height = height;
  p.rgb.resize(size_t(width) * height * 3);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
  return p;
}

std::unique_ptr<rendercontext> makeSceneContext(int w, int h) {
  auto context = std::make_unique<rendercontext>();
  context->width = w;
  context->height = h;
  context->createRenderTarget(0, w, h, 0);
  context->createRenderTarget(1, w, h, 0);
  context->createRenderTarget(2, w / 4, h / 4, 0);
  context->createRenderTarget(3, 360, 640, 0);
  context->createRandomTexture(27, 1024, 1024);
  context->createNoiseTexture(0, w, h);
  context->createNoiseTexture(11, w, h);
  context->createNoiseTexture(28, w / 4, h / 4);
  context->createDepthTexture(26, w, h);
  context->create1DFloatTexture(1001, 4096);  // the start scene's, shared by all
  if (fileExists("textures//velocity.dat")) context->sims[0].loadVelocityVolume("textures//velocity.dat");
  return context;
}

GLint glStatus(GLuint object, bool program) {
  GLint ok = 0;
  (program ? glGetProgramiv : glGetShaderiv)(object, program ? GL_LINK_STATUS : GL_COMPILE_STATUS, &ok);
  return ok;
}

std::vector<std::string> infoLinesOf(const std::string& log, const std::string& folder) {
  std::vector<std::string> lines, info;
  std::stringstream in(log);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  for (size_t i = 0; i + 1 < lines.size(); ++i)
    if (lines[i].find(folder) != std::string::npos) info.push_back(lines[i + 1]);
  return info;
}
