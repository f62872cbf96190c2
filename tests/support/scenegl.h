// scenegl.h -- what the scene tests share: a small render context with the
// targets and shared textures a scene expects, and pictures read back from a
// texture or a captured PNG.
#pragma once
#include <GL/glew.h>

#include <memory>
#include <string>
#include <vector>

class rendercontext;

// An RGB picture, rows from the top (PNG) or from the bottom (GL); the
// measures below are symmetric in y.
struct picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  int level(int x, int y) const;  // the brightest channel
  // Mean level of the rectangle [x0, x1) x [y0, y1), in pixels.
  double meanLevel(int x0, int y0, int x1, int y1) const;
  // Pixels above threshold in that rectangle.
  int countAbove(int threshold, int x0, int y0, int x1, int y1) const;
};

bool readPng(const std::string& file, picture& out);
// The level-0 image of a texture of the context's table.
picture readTexture(GLuint texture, int width, int height);

// A context as start-up makes it, at w x h: targets 0 (no samples), 2 and 3,
// the random, noise, depth and 1-D textures, the curl volume in the first
// simulator (from "textures//velocity.dat" when present).
std::unique_ptr<rendercontext> makeSceneContext(int width, int height);

// Compile status of a shader or link status of a program.
GLint glStatus(GLuint object, bool program);

// The info-log lines the loaders wrote after every line naming a file under
// `folder` (e.g. "Part_start//shaders//"): each must hold no complaint.
std::vector<std::string> infoLinesOf(const std::string& log, const std::string& folder);
