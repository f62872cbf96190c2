// glcontext.cpp -- the hidden GL window of the GL test suites.
#include "tests/support/glcontext.h"

#include <GL/glew.h>
#include <SDL.h>

static SDL_Window* testWindow = nullptr;
static SDL_GLContext testContext = nullptr;

bool glTest::haveContext = false;
std::string glTest::whyNot;

bool openTestContext(int w, int h, std::string& why) {
  if (testContext) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    why = std::string("no display: ") + SDL_GetError();
    return false;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  testWindow = SDL_CreateWindow("test", 0, 0, w, h, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!testWindow) {
    why = std::string("no window: ") + SDL_GetError();
    return false;
  }
  testContext = SDL_GL_CreateContext(testWindow);
  if (!testContext) {
    why = std::string("no OpenGL 4.3 compatibility context: ") + SDL_GetError();
    SDL_DestroyWindow(testWindow);
    testWindow = nullptr;
    return false;
  }
  SDL_GL_MakeCurrent(testWindow, testContext);
  glewExperimental = GL_TRUE;
  glewInit();
  glGetError();  // GLEW may leave an error behind
  GLint major = 0, minor = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &major);
  glGetIntegerv(GL_MINOR_VERSION, &minor);
  if (major * 10 + minor < 43) {
    why = "OpenGL below 4.3";
    closeTestContext();
    return false;
  }
  glViewport(0, 0, w, h);
  return true;
}

void closeTestContext() {
  if (testContext) SDL_GL_DeleteContext(testContext);
  if (testWindow) SDL_DestroyWindow(testWindow);
  testContext = nullptr;
  testWindow = nullptr;
}

void glTest::SetUpTestSuite() { haveContext = openTestContext(64, 64, whyNot); }
void glTest::TearDownTestSuite() {}
void glTest::SetUp() {
  if (!haveContext) GTEST_SKIP() << "GL test skipped: " << whyNot;
}
