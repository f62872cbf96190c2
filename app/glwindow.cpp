// glwindow.cpp -- the render window, its OpenGL context and the clipboard.
#include <GL/glew.h>
#include <GL/glu.h>

#include "app/app.h"

static const char* Error = "ERROR";
static const char* ShutdownError = "SHUTDOWN ERROR";

static bool failWindow(const char* text) {
  killGLWindow();
  platformMessageBox(text, Error, boxIcon::exclamation);
  return false;
}

// A refused full-screen mode offers windowed mode instead; false ends the program.
static bool acceptWindowed() {
  if (platformAskYesNo("The Requested Fullscreen Mode Is Not Supported \n by your Video Card. Or it may be "
                       "that this demo \nwas made for 16:9 aspect ratio only. \n \nUse Windowed Mode Instead?",
                       "Veltra GL")) {
    chosen.fullscreen = false;
    return true;
  }
  platformMessageBox("Program Will Now Close.", Error, boxIcon::stop);
  return false;
}

bool createGLWindow(const char* title, int width, int height, int bits, bool fullscreenRequest) {
  (void)bits;  // the display keeps its colour depth; the pixel format asks for 32 bits
  chosen.fullscreen = fullscreenRequest;
  if (!platformVideoInit()) {
    platformMessageBox("Failed To Register The Window Class.", Error, boxIcon::exclamation);
    return false;
  }
  if (chosen.fullscreen) {
    if (platformHasFullscreenMode(width, height))
      platformShowCursor(false);
    else if (!acceptWindowed())
      return false;
  }
  if (!platformCreateWindow(title, width, height, chosen.fullscreen)) {
    // a full-screen window the display refuses is the refused mode change
    if (!chosen.fullscreen || !acceptWindowed() || !platformCreateWindow(title, width, height, false))
      return failWindow("Window Creation Error.");
    platformShowCursor(true);
  }
  if (!platformCreateContext()) return failWindow("Can't Create A GL Rendering Context.");
  if (!platformMakeCurrent()) return failWindow("Can't Activate The GL Rendering Context.");
  platformShowWindow();
  resizeGLScene(width, height);
  if (!initGL()) return failWindow("Initialization Failed.");
  return true;
}

void killGLWindow() {
  if (chosen.fullscreen) {
    platformRestoreDisplayMode();
    platformShowCursor(true);
  }
  if (platformHasContext() && !platformReleaseContext())
    platformMessageBox("Release Of DC And RC Failed.", ShutdownError, boxIcon::information);
  if (platformHasWindow()) platformDestroyWindow();
}

void resizeGLScene(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, double(float(width) / float(height)), double(0.1f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

bool initGL() {
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  return true;  // the production's start-up follows window creation
}

bool copyToClipboard(const std::string& text) { return platformSetClipboard(text.c_str()); }

int glLargestTarget() {
  GLint renderbuffer = 0, texture = 0, viewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
  int limit = renderbuffer;
  for (int v : {int(texture), int(viewport[0]), int(viewport[1])})
    if (v > 0 && v < limit) limit = v;
  return limit;
}
