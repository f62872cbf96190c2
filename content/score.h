// score.h -- the music track as data: tempo, form, instruments and the notes
// that the score's sections, patterns and chord changes expand into.
#pragma once
#include <vector>

#include "content/synth.h"

// One steady tempo in 4/4; the track's length in seconds. The scenes hand
// over near bar lines at this tempo (see scoreSections).
constexpr double scoreBpm = 112.4;
constexpr double scoreBarSeconds = 240.0 / scoreBpm;
constexpr double scoreSeconds = 462.0;

// The stretches of the form and the bar each one starts on. The scene changes
// of the production fall within half a bar of the starts marked `scene`.
struct scoreSection {
  const char* name;
  int bar;
  bool scene;
};
constexpr scoreSection scoreSections[] = {
    {"title", 0, true},     {"rise", 18, true},    {"burst", 27, false},  {"descent", 45, false},
    {"hollow", 61, false},  {"summit", 73, false}, {"dive", 89, false},   {"birds", 98, true},
    {"city", 127, true},    {"drawing", 157, true}, {"close", 203, true},
};

enum channelId {
  chPad, chBass, chSub, chArp, chLead, chBell, chKeys, chFlute, chPluck, chChirp,
  chKick, chSnare, chHat, chOpenHat, chShaker, chRim, chCrash, chRiser, chTom, chBoom,
  channelCount
};

// An instrument and its place in the mix.
struct channelDef {
  patch sound;
  float gain = 1, pan = 0, reverbSend = 0, delaySend = 0;
  curve cutoff;  // Hz by bar of a low-pass on the channel's bus; empty for none
};

// Fills the channelCount instruments.
void scoreChannels(channelDef* out);
// Every note of the track, ordered by onset.
void scoreEvents(std::vector<noteEvent>& out);
