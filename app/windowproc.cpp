// windowproc.cpp -- window messages into the shell's state, and the authoring
// aids that ride on every other message.
#include <cstdio>

#include "app/app.h"
#include "app/options.h"
#include "driver/driver.h"

bool windowActive = true;
std::string debugText;

int windowProc(const windowMessage& msg) {
  switch (msg.type) {
    case msgType::activate:
      windowActive = (msg.wParam >> 16) == 0;  // the high word holds the minimised state
      return 0;
    case msgType::sysCommand:
      if (msg.wParam == SysCommandScreenSave || msg.wParam == SysCommandMonitorPower) return 0;
      break;
    case msgType::close:
      platformPostQuit(0);
      return 0;
    case msgType::keyDown:
      // codes past the table (keys without a virtual-key code) are ignored
      keyDown(msg.wParam);
      if (opts.author) transportKey(msg.wParam, (msg.lParam & KeyShift) != 0);
      return 0;
    case msgType::keyUp:
      keyUp(msg.wParam);
      return 0;
    case msgType::size:
      resizeGLScene(int(msg.lParam & 0xFFFF), int(msg.lParam >> 16));
      return 0;
    default:
      break;
  }
  authoringStep(msg);
  return 0;  // what the default handling answers; nothing reads it
}

bool transportKey(uint32_t key, bool shift) {
  double far = shift ? 10.0 : 1.0;
  switch (key) {
    case 32: togglePause(); return true;             // Space
    case 37: seekBy(-far); return true;              // Left
    case 39: seekBy(far); return true;               // Right
    case 33: seekSection(-1); return true;           // Page Up
    case 34: seekSection(1); return true;            // Page Down
    case 36: seekDemo(0.0); return true;             // Home
    case 'L': toggleLoop(); return true;
    case 'H': toggleOverlay(); return true;
    default: return false;
  }
}

static std::string general(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// The middle button appends the pointer, point and camera values to the
// debug text; a held "A" or "Q" moves the limit by the last frame step.
void authoringStep(const windowMessage& msg) {
  if (msg.type == msgType::middleButtonUp) {
    const FrameState& f = frameRecord();
    float ex, ey, ez;
    cameraEye(ex, ey, ez);
    debugText += "Cam :" + general(f.pointerX) + "," + general(f.pointerY) + "," + general(f.wheel) + "  \n";
    debugText += "Pnt :" + general(f.pointX) + "," + general(f.pointY) + "," + general(f.pointZ) + "  \n \n";
    debugText += "MCr :" + general(ex) + "," + general(ey) + "," + general(ez) + "  \n \n";
  }
  if (keyHeld('A')) setLimit(frameRecord().limit - lastFrameStep());
  if (keyHeld('Q')) setLimit(frameRecord().limit + lastFrameStep());
}
