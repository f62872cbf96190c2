// drawlog.cpp -- wrappers around the GL's draw calls (see drawlog.h). The
// plain entry points are defined here, so the executable's own definitions
// take the calls of every library linked into it; each forwards to the GL's
// through dlsym(RTLD_NEXT). The instanced draws are GLEW's pointers, swapped
// while a log is open.
#include "tests/support/drawlog.h"

#include <GL/glew.h>
#include <dlfcn.h>

#include <cstdio>

#include "gfx/shaderset.h"

namespace {

const shaderset* programs = nullptr;
bool open = false, stripColours = true;
std::vector<std::string> rows;
std::string last;
int repeats = 0;
PFNGLDRAWELEMENTSINSTANCEDEXTPROC realInstancedExt = nullptr;
PFNGLDRAWELEMENTSINSTANCEDPROC realInstanced = nullptr;
PFNGLDISPATCHCOMPUTEPROC realDispatch = nullptr;

template <class function>
function next(const char* name) {
  return reinterpret_cast<function>(dlsym(RTLD_NEXT, name));
}

std::string blendWord() {
  if (!glIsEnabled(GL_BLEND)) return "opaque";
  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC_RGB, &src);
  glGetIntegerv(GL_BLEND_DST_RGB, &dst);
  if (src == GL_ONE && dst == GL_ONE) return "add";
  if (src == GL_SRC_ALPHA && dst == GL_ONE_MINUS_SRC_ALPHA) return "alpha";
  if (src == GL_SRC_ALPHA && dst == GL_ONE) return "alpha-add";
  char text[40];
  std::snprintf(text, sizeof text, "blend(0x%x,0x%x)", unsigned(src), unsigned(dst));
  return text;
}

std::string programWord() {
  GLint current = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  if (current == 0) return "fixed";
  if (programs)
    for (int slot = 0; slot < MaxShaderSlots; ++slot)
      if (programs->programs[slot] == GLuint(current)) return "P" + std::to_string(slot);
  return "P?";
}

std::string describe(const char* primitive, long points) {
  std::string d = primitive;
  d += " " + blendWord();
  GLboolean mask = GL_TRUE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  d += glIsEnabled(GL_DEPTH_TEST) ? (mask ? " depth" : " depth-nowrite") : " nodepth";
  std::string program = programWord();
  d += " " + program;
  if (program == "fixed" && (stripColours || std::string(primitive) != "strip")) {
    GLfloat c[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, c);
    char text[64];
    std::snprintf(text, sizeof text, " c(%.2f,%.2f,%.2f,%.2f)", c[0], c[1], c[2], c[3]);
    d += text;
    if (glIsEnabled(GL_LIGHTING)) d += " lit";
  }
  GLint framebuffer = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
  d += framebuffer ? " fbo" : " win";
  // multisampling off: a point or line drawn with the single-sample rule on
  // a multisampled target
  if (!glIsEnabled(GL_MULTISAMPLE)) d += " 1-sample";
  if (points > 0) d += " n" + std::to_string(points);
  return d;
}

void flush() {
  if (last.empty()) return;
  rows.push_back(repeats > 1 ? last + " x" + std::to_string(repeats) : last);
  last.clear();
  repeats = 0;
}

void note(const char* primitive, long points = 0) {
  if (!open) return;
  std::string d = points < 0 ? primitive : describe(primitive, points);
  if (d == last) {
    ++repeats;
    return;
  }
  flush();
  last = d;
  repeats = 1;
}

const char* primitiveName(GLenum mode) {
  switch (mode) {
    case GL_POINTS: return "points";
    case GL_QUADS: return "quads";
    case GL_QUAD_STRIP: return "strip";
    case GL_TRIANGLES: return "triangles";
    case GL_LINES:
    case GL_LINE_LOOP:
    case GL_LINE_STRIP: return "lines";
    default: return "other";
  }
}

void GLAPIENTRY instancedExt(GLenum mode, GLsizei count, GLenum type, const void* indices, GLsizei n) {
  note(primitiveName(mode));
  realInstancedExt(mode, count, type, indices, n);
}

void GLAPIENTRY instanced(GLenum mode, GLsizei count, GLenum type, const void* indices, GLsizei n) {
  note(primitiveName(mode));
  realInstanced(mode, count, type, indices, n);
}

void GLAPIENTRY dispatch(GLuint x, GLuint y, GLuint z) {
  note("compute", -1);
  realDispatch(x, y, z);
}

}  // namespace

extern "C" {

void glBegin(GLenum mode) {
  static auto real = next<void (*)(GLenum)>("glBegin");
  note(primitiveName(mode));
  real(mode);
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
  static auto real = next<void (*)(GLenum, GLint, GLsizei)>("glDrawArrays");
  note(primitiveName(mode), mode == GL_POINTS ? long(count) : 0);
  real(mode, first, count);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
  static auto real = next<void (*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
  note(primitiveName(mode));
  real(mode, count, type, indices);
}

}  // extern "C"

void drawLogOpen(const shaderset* set, bool colours) {
  programs = set;
  stripColours = colours;
  rows.clear();
  last.clear();
  repeats = 0;
  open = true;
  if (__glewDrawElementsInstancedEXT && __glewDrawElementsInstancedEXT != instancedExt) {
    realInstancedExt = __glewDrawElementsInstancedEXT;
    __glewDrawElementsInstancedEXT = instancedExt;
  }
  if (__glewDrawElementsInstanced && __glewDrawElementsInstanced != instanced) {
    realInstanced = __glewDrawElementsInstanced;
    __glewDrawElementsInstanced = instanced;
  }
  if (__glewDispatchCompute && __glewDispatchCompute != dispatch) {
    realDispatch = __glewDispatchCompute;
    __glewDispatchCompute = dispatch;
  }
}

std::vector<std::string> drawLogClose() {
  flush();
  open = false;
  if (realInstancedExt) __glewDrawElementsInstancedEXT = realInstancedExt;
  if (realInstanced) __glewDrawElementsInstanced = realInstanced;
  if (realDispatch) __glewDispatchCompute = realDispatch;
  realInstancedExt = nullptr;
  realInstanced = nullptr;
  realDispatch = nullptr;
  return rows;
}

std::string joinRows(const std::vector<std::string>& list) {
  std::string text;
  for (const std::string& r : list) text += "  " + r + "\n";
  return text;
}
