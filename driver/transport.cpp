// transport.cpp -- scene jumps and the authoring transport: pause, seeks,
// section jumps, the loop and the overlay.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "driver/clock.h"
#include "driver/overlay.h"
#include "driver/state.h"
#include "driver/timeline.h"
#include "platform/audio.h"
#include "scenes/scene.h"


double sectionStart(int part) {
  if (part <= 0) return 0.0;
  static std::vector<double> handOvers = simulateTimeline(1.0 / 60.0);
  return size_t(part) <= handOvers.size() ? handOvers[size_t(part) - 1] : DemoEnd;
}

void togglePause() {
  demo.paused = !demo.paused;
  if (demo.settings.musicEnabled && demo.audioOpen) audioPause(demo.paused);
  std::cout << (demo.paused ? "Paused at " : "Resumed at ") << demo.demoTime << std::endl;
}

void seekBy(double seconds) {
  double to = demo.demoTime + seconds;
  seekDemo(to < 0 ? 0.0 : (to > DemoEnd ? DemoEnd : to));
}

void seekSection(int direction) {
  int part = demo.frameState.partNumber + direction;
  part = part < 0 ? 0 : (part >= SectionCount ? SectionCount - 1 : part);
  seekDemo(sectionStart(part));
}

void toggleOverlay() { overlay.shown = !overlay.shown; }

// The overlay's lines: demo time, the current section and its own clock,
// the frame rate and the transport's state.
static void showOverlay() {
  using wall = std::chrono::steady_clock;
  overlayNoteFrame(std::chrono::duration<double>(wall::now().time_since_epoch()).count());
  if (!overlay.shown) return;
  int part = demo.frameState.partNumber;
  const scene* s = part >= 0 && part < SectionCount ? demo.sections[part] : nullptr;
  char a[96], b[96], c[96];
  std::snprintf(a, sizeof a, "demo %7.2f s", demo.demoTime);
  if (s)
    std::snprintf(b, sizeof b, "%s %7.2f s", sectionTable[part].banner, s->t);
  else
    std::snprintf(b, sizeof b, "after the last section");
  std::snprintf(c, sizeof c, "%5.1f frames/s%s%s", overlayRate(), demo.paused ? "  paused" : "",
                demo.loopPart >= 0 ? "  loop" : "");
  overlayDraw(&demo.rcontext, {a, b, c});
}

void afterChain(int partBefore) {
  if (demo.settings.authoring) showOverlay();  // the values of the frame just drawn, before a loop goes back
  if (demo.loopPart >= 0 && partBefore == demo.loopPart && demo.frameState.partNumber != partBefore) {
    seekDemo(sectionStart(demo.loopPart));
    demo.frameState.partNumber = demo.loopPart;  // a hand-over on the very first frame stays looped
  }
}

void toggleLoop() {
  demo.loopPart = demo.loopPart >= 0 ? -1 : demo.frameState.partNumber;
  std::cout << "Loop: " << (demo.loopPart >= 0 ? "part " + std::to_string(demo.loopPart) : std::string("off"))
            << std::endl;
}

// The music follows a jump or a seek to demo time `at`.
static void placeMusic(double at) {
  if (!demo.settings.musicEnabled || !demo.audioOpen) return;
  int frequency = audioFrequency(MusicChannel);
  audioSetPosition(MusicChannel, uint32_t(at * (frequency > 0 ? frequency : 44100)));
}

void seekDemo(double to) {
  scene* fresh[MaxSections] = {};
  for (int part = 0; part < SectionCount; ++part) {
    fresh[part] = createSection(part);
    if (demo.sections[part]) fresh[part]->shake = demo.sections[part]->shake;
  }
  double reached = 0.0;
  FrameState record = playTimeline(fresh, 1.0 / 60.0, to, &reached);
  for (int part = 0; part < SectionCount; ++part) {
    if (demo.sections[part]) {
      demo.sections[part]->takeTimeline(*fresh[part]);
      demo.sections[part]->restartClouds();
    }
    delete fresh[part];
  }
  demo.frameState.partNumber = record.partNumber;
  demo.frameState.values[0] = record.values[0];
  demo.demoTime = reached;
  demo.musicSync = true;
  demo.musicMovedAt = clockSeconds();
  placeMusic(reached);
  std::cout << "Seek: demo time " << reached << " part " << record.partNumber << std::endl;
}

double demoTimeOf(int part, double t) {
  double at = 0.0;
  simulateTimeline(0.001, part, t, &at);
  return at;
}

void jumpToSection(int part, double t) {
  if (part < 0 || part >= SectionCount || !demo.sections[part]) return;
  double at = demoTimeOf(part, t);
  demo.frameState.partNumber = part;
  demo.sections[part]->setClock(t);
  demo.demoTime = at;
  std::cout << "Jump: part " << part << " at " << t << " demo time " << at << std::endl;
  placeMusic(at);
}
