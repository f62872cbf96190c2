// platform_sdl_events.cpp -- SDL events turned into the shell's window messages.
#include "platform/platform.h"

#include <SDL.h>
#include <deque>

static std::deque<windowMessage> queued;  // one SDL event can give two messages
static bool quitPosted = false;
static int quitCode = 0;

// The virtual-key code of a key, as the key table is indexed: letters 65-90,
// digits 48-57, Escape 27 and so on. Keys without a code give 256 and above.
static uint32_t virtualKey(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return uint32_t('A' + (k - SDLK_a));
  if (k >= SDLK_0 && k <= SDLK_9) return uint32_t('0' + (k - SDLK_0));
  if (k >= SDLK_F1 && k <= SDLK_F12) return uint32_t(112 + (k - SDLK_F1));
  if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return uint32_t(97 + (k - SDLK_KP_1));
  switch (k) {
    case SDLK_ESCAPE: return 27;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL: case SDLK_RCTRL: return 17;
    case SDLK_LALT: case SDLK_RALT: return 18;
    case SDLK_PAUSE: return 19;
    case SDLK_SPACE: return 32;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return 46;
    case SDLK_KP_0: return 96;
    default: return 256 + uint32_t(k & 0xFFFF);
  }
}

static void push(msgType type, uint32_t wParam = 0, uint32_t lParam = 0) {
  windowMessage m;
  m.type = type;
  m.wParam = wParam;
  m.lParam = lParam;
  queued.push_back(m);
}

// X11 sends the focus loss after the minimise: it must not read as a
// window that is back, so the minimised state stays until a restore.
static bool minimisedNow = false;

uint32_t platformActivation(windowChange change) {
  switch (change) {
    case windowChange::minimised: minimisedNow = true; return 1u << 16;
    case windowChange::restored: minimisedNow = false; return 1;
    case windowChange::focusGained: return minimisedNow ? 1u | (1u << 16) : 1u;
    case windowChange::focusLost: return minimisedNow ? 1u << 16 : 0u;
  }
  return 0;
}

static void translateWindowEvent(const SDL_WindowEvent& w) {
  switch (w.event) {
    case SDL_WINDOWEVENT_MINIMIZED: push(msgType::activate, platformActivation(windowChange::minimised)); break;
    case SDL_WINDOWEVENT_RESTORED: push(msgType::activate, platformActivation(windowChange::restored)); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      push(msgType::activate, platformActivation(windowChange::focusGained));
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST: push(msgType::activate, platformActivation(windowChange::focusLost)); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      push(msgType::size, 0, (uint32_t(w.data1) & 0xFFFF) | (uint32_t(w.data2) << 16));
      break;
    case SDL_WINDOWEVENT_CLOSE: push(msgType::close); break;
    default: push(msgType::other); break;
  }
}

static void translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT: push(msgType::close); break;
    case SDL_WINDOWEVENT: translateWindowEvent(e.window); break;
    case SDL_KEYDOWN:
      push(msgType::keyDown, virtualKey(e.key.keysym.sym), (e.key.keysym.mod & KMOD_SHIFT) ? KeyShift : 0);
      break;
    case SDL_KEYUP: push(msgType::keyUp, virtualKey(e.key.keysym.sym)); break;
    case SDL_TEXTINPUT: push(msgType::character, uint32_t((unsigned char)e.text.text[0])); break;
    case SDL_MOUSEMOTION: push(msgType::mouseMove); break;
    case SDL_MOUSEBUTTONUP:
      push(e.button.button == SDL_BUTTON_MIDDLE ? msgType::middleButtonUp : msgType::other);
      break;
    default: push(msgType::other); break;
  }
}

bool platformPeekMessage(windowMessage& msg) {
  if (queued.empty()) {
    SDL_Event e;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_PollEvent(&e)) translate(e);
  }
  if (!queued.empty()) {
    msg = queued.front();
    queued.pop_front();
    return true;
  }
  if (quitPosted) {
    msg = windowMessage();
    msg.type = msgType::quit;
    msg.wParam = uint32_t(quitCode);
    return true;
  }
  return false;
}

void platformPostQuit(int code) {
  quitPosted = true;
  quitCode = code;
}

int platformQuitCode() { return quitCode; }
