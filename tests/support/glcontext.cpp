// glcontext.cpp -- the hidden GL window of the GL test suites.
#include "tests/support/glcontext.h"

#include <GL/glew.h>
#include <SDL.h>

bool glTest::haveContext = false;
std::string glTest::whyNot;

// A 64 x 64 window, made once per process; false with the reason in why.
static bool openTestContext(std::string& why) {
  static SDL_Window* window = nullptr;
  if (window) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return why = std::string("no display: ") + SDL_GetError(), false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_Window* w = SDL_CreateWindow("test", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!w) return why = std::string("no window: ") + SDL_GetError(), false;
  SDL_GLContext context = SDL_GL_CreateContext(w);
  if (!context) {
    why = std::string("no OpenGL 4.3 compatibility context: ") + SDL_GetError();
    SDL_DestroyWindow(w);
    return false;
  }
  SDL_GL_MakeCurrent(w, context);
  glewExperimental = GL_TRUE;
  glewInit();
  glGetError();  // GLEW may leave an error behind
  GLint major = 0, minor = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &major);
  glGetIntegerv(GL_MINOR_VERSION, &minor);
  if (major * 10 + minor < 43) {
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(w);
    return why = "OpenGL below 4.3", false;
  }
  glViewport(0, 0, 64, 64);
  window = w;
  return true;
}

void glTest::SetUpTestSuite() { haveContext = openTestContext(whyNot); }
void glTest::SetUp() {
  if (!haveContext) GTEST_SKIP() << "GL test skipped: " << whyNot;
}
