// modes_sdl.cpp -- the display's modes as SDL lists them (sorted, largest
// first): X11 and Wayland have no order of their own to keep.
#include <SDL.h>

#include "platform/platform.h"

std::vector<displayMode> platformDisplayModes() {
  std::vector<displayMode> modes;
  if (!platformVideoInit()) return modes;
  int n = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < n; ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(0, i, &m) == 0) modes.push_back({m.w, m.h});
  }
  return modes;
}
