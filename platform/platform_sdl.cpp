// platform_sdl.cpp -- window, OpenGL context, events, message boxes,
// clipboard on SDL2 (on both systems).
#include "platform/platform.h"

#include <SDL.h>
#include <cstdio>
#include <iostream>

static SDL_Window* window = nullptr;
static SDL_GLContext context = nullptr;
static bool videoUp = false;
bool platformHiddenWindow = false;

static bool ensureVideo() {
  if (videoUp) return true;
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
  videoUp = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  return videoUp;
}

bool platformVideoInit() { return ensureVideo(); }

// ---- message boxes ---------------------------------------------------------------
static void reportInstead(const char* text, const char* title) {
  std::fprintf(stderr, "%s: %s\n", title, text);
  std::cout << title << ": " << text << std::endl;
}

static Uint32 iconFlag(boxIcon icon) {
  switch (icon) {
    case boxIcon::stop: return SDL_MESSAGEBOX_ERROR;
    case boxIcon::information: return SDL_MESSAGEBOX_INFORMATION;
    default: return SDL_MESSAGEBOX_WARNING;
  }
}

void platformMessageBox(const char* text, const char* title, boxIcon icon) {
  if (!platformInteractive || SDL_ShowSimpleMessageBox(iconFlag(icon), title, text, nullptr) != 0)
    reportInstead(text, title);
}

bool platformAskYesNo(const char* text, const char* title) {
  if (!platformInteractive) {
    reportInstead(text, title);
    return true;
  }
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
  };
  SDL_MessageBoxData box = {SDL_MESSAGEBOX_WARNING, nullptr, title, text, 2, buttons, nullptr};
  int answer = 0;
  if (SDL_ShowMessageBox(&box, &answer) != 0) {
    reportInstead(text, title);
    return true;
  }
  return answer == 1;
}

bool platformSetClipboard(const char* text) {
  return ensureVideo() && SDL_SetClipboardText(text) == 0;
}

// ---- window and context ---------------------------------------------------------------
bool platformHasFullscreenMode(int width, int height) {
  for (const displayMode& m : platformDisplayModes())
    if (m.width == width && m.height == height) return true;
  return false;
}

bool platformCreateWindow(const char* title, int width, int height, bool fullscreen) {
  if (!ensureVideo()) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  int x = 50, y = 50;
  if (fullscreen) {
    flags |= SDL_WINDOW_FULLSCREEN;
    x = y = 0;
  }
  window = SDL_CreateWindow(title, x, y, width, height, flags);
  if (window && fullscreen) {
    SDL_DisplayMode want = {SDL_PIXELFORMAT_UNKNOWN, width, height, 0, nullptr};
    SDL_DisplayMode got;
    if (SDL_GetClosestDisplayMode(0, &want, &got)) SDL_SetWindowDisplayMode(window, &got);
  }
  return window != nullptr;
}

// Whether the context just created offers OpenGL 4.3 or newer; it is made
// current to ask.
static bool offersVersion43() {
  if (SDL_GL_MakeCurrent(window, context) != 0) return false;
  using getString = const unsigned char* (*)(unsigned);
  auto get = reinterpret_cast<getString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* text = get ? get(0x1F02) : nullptr;  // GL_VERSION
  int major = 0, minor = 0;
  if (!text || std::sscanf(reinterpret_cast<const char*>(text), "%d.%d", &major, &minor) != 2) return false;
  return major > 4 || (major == 4 && minor >= 3);
}

static bool debugContext = false;

void platformDebugContext(bool debug) { debugContext = debug; }

bool platformCreateContext() {
  if (!window) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, debugContext ? SDL_GL_CONTEXT_DEBUG_FLAG : 0);
  context = SDL_GL_CreateContext(window);
  if (!context) {
    // Some drivers refuse an explicit version for the compatibility profile;
    // their default context is then the newest one they offer.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    context = SDL_GL_CreateContext(window);
  }
  if (context && !offersVersion43()) {
    // compute programs and storage buffers would fail silently: a black production
    SDL_GL_DeleteContext(context);
    context = nullptr;
  }
  return context != nullptr;
}

bool platformMakeCurrent() { return window && context && SDL_GL_MakeCurrent(window, context) == 0; }

void platformShowWindow() {
  if (!window) return;
  if (!platformHiddenWindow) {
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
  }
  SDL_StartTextInput();  // key presses then also give character messages
}

void platformSwapBuffers() {
  if (window && context) SDL_GL_SwapWindow(window);
}

int platformSetSwapInterval(int interval) {
  int before = SDL_GL_GetSwapInterval();
  if (window && context) SDL_GL_SetSwapInterval(interval);
  return before;
}

void platformShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

void platformRestoreDisplayMode() {
  if (window) SDL_SetWindowFullscreen(window, 0);
}

bool platformReleaseContext() {
  if (!context) return true;
  bool ok = SDL_GL_MakeCurrent(window, nullptr) == 0;
  SDL_GL_DeleteContext(context);
  context = nullptr;
  return ok;
}

bool platformHasContext() { return context != nullptr; }
bool platformHasWindow() { return window != nullptr; }

void platformDestroyWindow() {
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
}

void platformClientSize(int& width, int& height) {
  width = height = 0;
  if (window) SDL_GetWindowSize(window, &width, &height);
}

void platformPumpEvents() { SDL_PumpEvents(); }
