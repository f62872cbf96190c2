// particlesim.cpp -- the compute step of a particle cloud and the velocity
// volume it samples.
#include "gfx/particlesim.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "gfx/shaderset.h"
#include "platform/faults.h"

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
// buffer, instead of from a copy of the whole file. The file must be a whole
// volume of finite numbers that a half float holds: anything else is damage,
// and its numbers would reach every particle (one NaN turns a cloud black).
// A damaged volume is said once, recorded, and goes up as still air.
bool particlesim::loadVelocityVolume(const std::string& fileName) {
  constexpr int SlabDepth = 8;
  constexpr size_t SlabFloats = size_t(VelocityWidth) * VelocityHeight * SlabDepth * 3;
  static_assert(VelocityDepth % SlabDepth == 0, "whole slabs");
  glGenTextures(1, &curlTexture);
  glBindTexture(GL_TEXTURE_3D, curlTexture);
  glTexImage3D(GL_TEXTURE_3D, 0, GL_RGB16F, VelocityWidth, VelocityHeight, VelocityDepth, 0, GL_RGB,
               GL_FLOAT, nullptr);
  std::vector<float> slab(SlabFloats);
  auto upload = [&](int z) {
    glTexSubImage3D(GL_TEXTURE_3D, 0, 0, 0, z, VelocityWidth, VelocityHeight, SlabDepth, GL_RGB, GL_FLOAT,
                    slab.data());
  };
  std::string damage;
  std::ifstream in(fileName, std::ios::binary | std::ios::ate);
  std::error_code e;
  if (!in || std::filesystem::is_directory(fileName, e)) {
    damage = "not found";
  } else if (long long size = (long long)in.tellg(); size != VelocityBytes) {
    damage = "damaged: " + std::to_string(size) + " bytes, a whole volume has " + std::to_string(VelocityBytes);
  } else {
    in.seekg(0);
    for (int z = 0; z < VelocityDepth && damage.empty(); z += SlabDepth) {
      if (!in.read(reinterpret_cast<char*>(slab.data()), std::streamsize(SlabFloats * 4))) {
        damage = "damaged: it cannot be read to its end";
        break;
      }
      for (size_t i = 0; i < SlabFloats; ++i)
        if (!(std::fabs(slab[i]) <= HalfFloatMax)) {  // NaN fails too
          size_t at = size_t(z) * VelocityWidth * VelocityHeight * 3 + i;
          damage = "damaged: value " + std::to_string(at) + " (byte " + std::to_string(at * 4) + ") is " +
                   std::to_string(slab[i]) + ", not a finite velocity";
          break;
        }
      if (damage.empty()) upload(z);
    }
  }
  if (!damage.empty()) {
    std::fill(slab.begin(), slab.end(), 0.0f);
    for (int z = 0; z < VelocityDepth; z += SlabDepth) upload(z);
    std::string what = "velocity volume \"" + fileName + "\" " + damage;
    std::cerr << "obelisk: " << what << std::endl;
    std::cout << "obelisk: " << what << std::endl;
    recordFault(faultKind::cannotPlay, what);
  }
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, GL_MIRRORED_REPEAT);
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, GL_MIRRORED_REPEAT);
  glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, GL_MIRRORED_REPEAT);
  return damage.empty();
}
