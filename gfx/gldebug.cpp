// gldebug.cpp -- see gldebug.h.
#include "gfx/gldebug.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <set>
#include <string>

bool glDebugEnabled = false;

static const char* place = "start-up";
static const char* section = "loading";
static bool callbackInstalled = false;
static long errors = 0, warnings = 0;
static std::set<std::string> seen;  // message and place: each is logged once

static const char* sourceName(GLenum source) {
  switch (source) {
    case GL_DEBUG_SOURCE_API: return "api";
    case GL_DEBUG_SOURCE_WINDOW_SYSTEM: return "window system";
    case GL_DEBUG_SOURCE_SHADER_COMPILER: return "shader compiler";
    case GL_DEBUG_SOURCE_THIRD_PARTY: return "third party";
    case GL_DEBUG_SOURCE_APPLICATION: return "application";
    default: return "other";
  }
}

static void account(bool error, const char* source, const std::string& text) {
  (error ? errors : warnings)++;
  std::string where = std::string(section) + " / " + place;
  std::string key = text + "|" + where;
  if (!seen.insert(key).second) return;
  std::string line = std::string("GL ") + (error ? "error" : "performance warning") + " (" + source + ", in " +
                     where + "): " + text;
  std::fprintf(stderr, "%s\n", line.c_str());
  std::cout << line << std::endl;
}

static void GLAPIENTRY onMessage(GLenum source, GLenum type, GLuint, GLenum, GLsizei length,
                                 const GLchar* message, const void*) {
  bool error = type == GL_DEBUG_TYPE_ERROR;
  if (!error && type != GL_DEBUG_TYPE_PERFORMANCE) return;
  account(error, sourceName(source), std::string(message, length > 0 ? size_t(length) : std::strlen(message)));
}

void glDebugInstall() {
  if (!glDebugEnabled) return;
  if (GLEW_KHR_debug || GLEW_VERSION_4_3) {
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);  // the place is still the caller's
    glDebugMessageCallback(onMessage, nullptr);
    glDebugMessageControl(GL_DONT_CARE, GL_DONT_CARE, GL_DONT_CARE, 0, nullptr, GL_TRUE);
    callbackInstalled = true;
  }
  glGetError();
}

void glDebugPlace(const char* where) {
  if (!glDebugEnabled) return;
  glDebugCheck();  // what went wrong belongs to the place before
  place = where;
}

void glDebugSection(const char* name) {
  if (!glDebugEnabled) return;
  glDebugCheck();
  section = name;
  place = "frame";
}

void glDebugCheck() {
  if (!glDebugEnabled || callbackInstalled) return;
  for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError()) {
    char text[32];
    std::snprintf(text, sizeof text, "error 0x%04X", unsigned(e));
    account(true, "api", text);
  }
}

long glDebugErrors() { return errors; }
long glDebugWarnings() { return warnings; }

void glDebugReport() {
  if (!glDebugEnabled) return;
  glDebugCheck();
  char line[96];
  std::snprintf(line, sizeof line, "GL errors: %ld, performance warnings: %ld", errors, warnings);
  std::fprintf(stderr, "%s\n", line);
  std::cout << line << std::endl;
}
