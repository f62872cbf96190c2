// particlesim.cpp -- the compute step of a particle cloud and the velocity
// volume it samples.
#include "gfx/particlesim.h"

#include <GL/glew.h>

#include <algorithm>
#include <fstream>
#include <iostream>

#include "gfx/shaderset.h"

// An RGBA32F image's texture object, nearest filtered, on the active unit;
// its storage comes with the first step.
static GLuint createImage() {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  return name;
}

static void storeImage(GLuint name, int width, int height, GLuint imageUnit) {
  glBindTexture(GL_TEXTURE_2D, name);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
  glBindImageTexture(imageUnit, name, 0, GL_FALSE, 0, GL_WRITE_ONLY, GL_RGBA32F);
}

// Storage starts zeroed rather than undefined: a compute program reads no
// stale memory and finds every particle unborn (its validity mark is not
// zero), so it can place each one for the moment its scene starts. Zero
// bytes are zero floats: the clear goes byte by byte, the cheapest fill.
static void storeBuffer(GLuint name, GLsizeiptr bytes) {
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, name);
  glBufferData(GL_SHADER_STORAGE_BUFFER, bytes, nullptr, GL_STATIC_DRAW);
  glClearBufferData(GL_SHADER_STORAGE_BUFFER, GL_R8, GL_RED, GL_UNSIGNED_BYTE, nullptr);
}

void particlesim::load(const std::string& computeFile) {
  program = loadComputeProgram(computeFile);
  watchProgram(&program, "", computeFile, true);
  glGenBuffers(1, &buffer0);
  glGenBuffers(1, &buffer1);
  glGenBuffers(1, &buffer2);
  glActiveTexture(GL_TEXTURE8);
  image0 = createImage();
  glActiveTexture(GL_TEXTURE9);
  image1 = createImage();
  image2 = createImage();
  stored = false;
}

// The six clouds hold about 1.4 GB between them; a software rasterizer
// zeroes every page of it when it is made, so each cloud gets its storage
// when its scene first steps it rather than at start-up.
void particlesim::makeStorage() {
  // One 4-float vector per particle; contents are the compute program's.
  GLsizeiptr bytes = GLsizeiptr(width) * height * 16;
  storeBuffer(buffer0, bytes);
  storeBuffer(buffer1, bytes);
  storeBuffer(buffer2, bytes);
  glActiveTexture(GL_TEXTURE8);
  storeImage(image0, width, height, 0);
  glActiveTexture(GL_TEXTURE9);
  storeImage(image1, width, height, 1);
  storeImage(image2, width, height, 2);
  stored = true;
}

void particlesim::beginStep(float time, float step) {
  if (!stored) makeStorage();
  glUseProgram(program);
  glUniform1f(glGetUniformLocation(program, "ttime"), time);
  glUniform1f(glGetUniformLocation(program, "DeltaT"), step);
  glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 4, buffer0);
  glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 5, buffer1);
  glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 6, buffer2);
  glActiveTexture(GL_TEXTURE3);
  glBindTexture(GL_TEXTURE_3D, curlTexture);
  glUniform1i(glGetUniformLocation(program, "CurlTexture"), 3);
  glActiveTexture(GL_TEXTURE8);
  glBindTexture(GL_TEXTURE_2D, image0);
  glBindImageTexture(0, image0, 0, GL_FALSE, 0, GL_WRITE_ONLY, GL_RGBA32F);
  glActiveTexture(GL_TEXTURE9);
  glBindTexture(GL_TEXTURE_2D, image1);
  glBindImageTexture(1, image1, 0, GL_FALSE, 0, GL_WRITE_ONLY, GL_RGBA32F);
  glBindTexture(GL_TEXTURE_2D, image2);
  glBindImageTexture(2, image2, 0, GL_FALSE, 0, GL_WRITE_ONLY, GL_RGBA32F);
}

static_assert(samplerBinding{nullptr, 0, 0}.target == GL_TEXTURE_2D, "a sampler is 2-D unless given");

void particlesim::bindSamplers(std::initializer_list<samplerBinding> samplers) {
  for (const samplerBinding& s : samplers) bindSampler(s.target, s.unit, s.uniform, s.texture);
}

void particlesim::bindSampler(GLenum target, int unit, const std::string& name, GLuint texture) {
  GLint location = glGetUniformLocation(program, name.c_str());
  glActiveTexture(GL_TEXTURE0 + unit);
  glBindTexture(target, texture);
  glUniform1i(location, unit);
}

// The barriers order the step's storage writes against the work before it
// and the point draw after it.
void particlesim::dispatch() {
  glMemoryBarrier(GL_SHADER_STORAGE_BARRIER_BIT);
  glDispatchCompute(groupCount(width), groupCount(width), 1);
  glMemoryBarrier(GL_SHADER_STORAGE_BARRIER_BIT);
}

// The volume goes up a slab of slices at a time, read into one small
// buffer, instead of from a copy of the whole file.
void particlesim::loadVelocityVolume(const std::string& fileName) {
  constexpr int SlabDepth = 8;
  constexpr size_t SlabBytes = size_t(VelocityWidth) * VelocityHeight * SlabDepth * 3 * 4;
  static_assert(VelocityDepth % SlabDepth == 0, "whole slabs");
  glGenTextures(1, &curlTexture);
  glBindTexture(GL_TEXTURE_3D, curlTexture);
  glTexImage3D(GL_TEXTURE_3D, 0, GL_RGB16F, VelocityWidth, VelocityHeight, VelocityDepth, 0, GL_RGB,
               GL_FLOAT, nullptr);
  std::ifstream in(fileName, std::ios::binary);
  std::vector<float> slab(SlabBytes / 4);
  char* bytes = reinterpret_cast<char*>(slab.data());
  for (int z = 0; z < VelocityDepth; z += SlabDepth) {
    size_t got = 0;
    if (in) {
      in.read(bytes, std::streamsize(SlabBytes));
      got = size_t(in.gcount());
    }
    std::fill(bytes + got, bytes + SlabBytes, char(0));  // what the file lacks stays still air
    glTexSubImage3D(GL_TEXTURE_3D, 0, 0, 0, z, VelocityWidth, VelocityHeight, SlabDepth, GL_RGB, GL_FLOAT,
                    slab.data());
  }
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, GL_MIRRORED_REPEAT);
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, GL_MIRRORED_REPEAT);
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, GL_MIRRORED_REPEAT);
}
