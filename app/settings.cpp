// settings.cpp -- the display-mode list and the settings dialog.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"

demoSettings chosen;
std::vector<displayMode> modeList;

static const char* DialogCaption = "                                       Obelisk by Veltra - 2015 ";

// Only landscape modes up to 2047 pixels a side and no wider than 1.8 : 1
// suit the production; each size is listed once, in the system's order.
void filterDisplayModes(const std::vector<displayMode>& all, std::vector<displayMode>& out) {
  out.clear();
  for (const displayMode& m : all) {
    int w = m.width, h = m.height;
    if (w <= 0 || h <= 0) continue;
    bool fits = double(w) / h <= 1.8 && double(h) / w <= 1.8 && w <= 2047 && h <= 2047 && w >= h;
    if (!fits) continue;
    bool known = false;
    for (const displayMode& k : out) known = known || (k.width == w && k.height == h);
    if (!known) out.push_back(m);
  }
}

void enumDisplayModes() { filterDisplayModes(platformDisplayModes(), modeList); }

std::string formatMode(int w, int h) {
  char text[64];
  double ratio = double(w) / h;
  if (std::fabs(ratio - 1.6) < 0.01)
    std::snprintf(text, sizeof text, " %d x %d  (16:10)", w, h);
  else if (std::fabs(ratio - 16.0 / 9.0) < 0.01)
    std::snprintf(text, sizeof text, " %d x %d  (16:9)", w, h);
  else
    std::snprintf(text, sizeof text, " %d x %d       ", w, h);
  return text;
}

// 1280 x 720 unless it is missing or first; then the last 1024 x 768; then the first.
int defaultModeIndex(const std::vector<displayMode>& modes) {
  if (modes.empty()) return -1;
  int hd = -1, xga = -1;
  for (int i = 0; i < int(modes.size()); ++i) {
    if (modes[i].width == 1280 && modes[i].height == 720 && hd < 0) hd = i;
    if (modes[i].width == 1024 && modes[i].height == 768) xga = i;
  }
  if (hd > 0) return hd;
  if (xga >= 0) return xga;
  return 0;
}

void settingsDialog() {
  std::vector<std::string> entries;
  for (const displayMode& m : modeList) entries.push_back(formatMode(m.width, m.height));
  settingsChoice c = platformSettingsDialog(DialogCaption, entries, defaultModeIndex(modeList));
  if (!c.run) std::exit(0);
  chosen.antialiased = c.antialiased;
  chosen.fullscreen = !c.windowed;
  chosen.fpsClamp = c.fpsClamp;
  // with no listed mode there is nothing to choose: 1280 x 720
  chosen.screenWidth = 1280;
  chosen.screenHeight = 720;
  if (c.selected >= 0 && c.selected < int(modeList.size())) {
    chosen.screenWidth = modeList[c.selected].width;
    chosen.screenHeight = modeList[c.selected].height;
  }
  chosen.auxWidth = chosen.screenWidth;
  chosen.auxHeight = chosen.screenHeight;
}
