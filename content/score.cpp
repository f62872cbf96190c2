// score.cpp -- the piece: instruments, chords, motifs and the sections that
// place them. Sections are lists of layers (a pad on the chord changes, a step
// pattern, a motif at given bars, ...) that expand into note events.
#include "content/score.h"

#include <algorithm>
#include <cmath>

namespace {

// ---------------------------------------------------------------- harmony

// A chord as played: the bass note and four voiced tones (MIDI numbers).
struct chordShape {
  int bass;
  int tones[4];
};

enum chordName { Dm9, Dm7, Bbmaj7, Fadd9, Cadd9, Am7, Gm9, A7, Asus, G9, Dsus, Dadd9, Fmaj9, CoverE,
                 Dm9high, Bbmaj9high, Bsus };

const chordShape chords[] = {
    {38, {53, 57, 60, 64}},  // Dm9 (F A C E over D)
    {38, {53, 57, 60, 62}},  // Dm7
    {34, {53, 57, 58, 62}},  // Bbmaj7
    {41, {53, 57, 60, 67}},  // F add9
    {36, {52, 55, 60, 62}},  // C add9
    {33, {52, 55, 57, 60}},  // Am7
    {43, {50, 53, 57, 58}},  // Gm9 without its root
    {33, {52, 55, 57, 61}},  // A7
    {33, {52, 55, 57, 62}},  // A7sus4
    {43, {53, 57, 59, 62}},  // G9, the major IV of the Dorian mode
    {38, {55, 57, 62, 64}},  // Dsus4 add9
    {38, {54, 57, 62, 64}},  // D add9, the major close
    {41, {57, 60, 64, 67}},  // Fmaj9, high
    {40, {55, 60, 62, 67}},  // C over E
    {38, {57, 60, 64, 65}},  // Dm9, high
    {34, {57, 60, 62, 65}},  // Bbmaj9, high
    {35, {52, 54, 57, 59}},  // B7sus4, the pivot that lifts the close into E minor
};

// Arpeggio tone i (0 ... 7): the voiced tones, then an octave above.
int arpTone(const chordShape& c, int i) { return c.tones[i & 3] + 12 * (i >> 2); }

// Scale degree in D natural minor, 0 = D4; accidental in semitones.
int degreeNote(int degree, int accidental) {
  static const int steps[7] = {0, 2, 3, 5, 7, 8, 10};
  int octave = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
  return 62 + 12 * octave + steps[degree - 7 * octave] + accidental;
}

// ---------------------------------------------------------------- motifs

struct motifNote {
  float step, length;  // sixteenths
  int degree, accidental;
  float velocity;
};
struct motif {
  std::vector<motifNote> notes;
};

enum motifName { callMotif, answerMotif, fallMotif, walkMotif, cadenceMotif, flightMotif, flightAnswer,
                 streetMotif, streetAnswer, descantMotif };

const motif motifs[] = {
    // The call: up a fourth and stepwise to the minor third, then home to the fifth.
    {{{0, 3, 4, 0, .8f}, {3, 3, 7, 0, .9f}, {6, 2, 8, 0, .8f}, {8, 6, 9, 0, 1}, {14, 2, 8, 0, .7f},
      {16, 4, 7, 0, .9f}, {20, 4, 6, 0, .8f}, {24, 8, 4, 0, .85f}}},
    // The answer: the same opening, climbing on to the octave.
    {{{0, 3, 4, 0, .8f}, {3, 3, 7, 0, .9f}, {6, 2, 8, 0, .8f}, {8, 4, 9, 0, .9f}, {12, 4, 10, 0, .85f},
      {16, 6, 11, 0, 1}, {22, 2, 10, 0, .7f}, {24, 4, 9, 0, .85f}, {28, 4, 8, 0, .8f}}},
    // The fall: the call's shape sequenced down a step per bar over i-VII-VI-V.
    {{{0, 6, 11, 0, 1}, {6, 2, 10, 0, .7f}, {8, 8, 9, 0, .85f}, {16, 6, 10, 0, .95f}, {22, 2, 9, 0, .7f},
      {24, 8, 8, 0, .8f}, {32, 6, 9, 0, .9f}, {38, 2, 8, 0, .7f}, {40, 8, 7, 0, .8f},
      {48, 6, 8, 0, .9f}, {54, 2, 7, 0, .7f}, {56, 8, 6, 1, .85f}}},
    // The call, syncopated for the walking stretch.
    {{{0, 2, 4, 0, .8f}, {2, 3, 7, 0, .9f}, {5, 3, 8, 0, .8f}, {8, 6, 9, 0, 1}, {14, 2, 8, 0, .7f},
      {16, 2, 7, 0, .9f}, {18, 4, 6, 0, .8f}, {22, 10, 4, 0, .85f}}},
    // The cadence: the call's opening a last time, falling through C sharp to a long D.
    {{{0, 3, 4, 0, .8f}, {3, 3, 7, 0, .9f}, {6, 2, 8, 0, .85f}, {8, 8, 9, 0, 1}, {16, 6, 8, 0, .9f},
      {22, 2, 7, 0, .75f}, {24, 8, 6, 1, .85f}, {32, 32, 7, 0, 1}}},
    // The second theme, for the flight over F major: a quick two-note run up
    // into a long note off the beat, then a fall; it never opens with the
    // call's fourth and always lands late.
    {{{2, 2, 6, 0, .7f}, {4, 2, 9, 0, .8f}, {6, 10, 11, 0, 1}, {16, 4, 10, 0, .85f}, {20, 4, 8, 0, .8f},
      {24, 8, 7, 0, .9f}, {34, 2, 4, 0, .7f}, {36, 2, 7, 0, .8f}, {38, 10, 9, 0, 1}, {48, 6, 9, 0, .85f},
      {54, 2, 8, 0, .7f}, {56, 8, 6, 0, .85f}}},
    // Its answer, a third higher at first and reaching the high C.
    {{{2, 2, 9, 0, .7f}, {4, 2, 11, 0, .8f}, {6, 10, 13, 0, 1}, {16, 6, 11, 0, .9f}, {22, 2, 10, 0, .7f},
      {24, 8, 8, 0, .85f}, {34, 2, 7, 0, .7f}, {36, 2, 9, 0, .8f}, {38, 6, 11, 0, .95f}, {44, 4, 13, 0, .9f},
      {48, 8, 11, 0, .9f}, {56, 8, 9, 0, .8f}}},
    // The second theme in the city's Dorian mode, with its B natural over G.
    {{{2, 2, 4, 0, .7f}, {4, 2, 7, 0, .8f}, {6, 10, 9, 0, 1}, {16, 4, 11, 0, .9f}, {20, 4, 9, 0, .8f},
      {24, 4, 7, 0, .85f}, {28, 4, 5, 1, .8f}, {34, 2, 6, 0, .7f}, {36, 2, 7, 0, .8f}, {38, 6, 11, 0, 1},
      {44, 4, 13, 0, .85f}, {48, 6, 12, 1, .9f}, {54, 2, 11, 0, .7f}, {56, 8, 9, 0, .85f}}},
    // Its answer over B flat, A minor, G minor and the suspended A.
    {{{2, 2, 7, 0, .7f}, {4, 2, 9, 0, .8f}, {6, 10, 11, 0, 1}, {16, 4, 10, 0, .85f}, {20, 4, 8, 0, .8f},
      {24, 8, 6, 0, .85f}, {34, 2, 3, 0, .7f}, {36, 2, 5, 0, .8f}, {38, 6, 7, 0, .95f}, {44, 4, 9, 0, .85f},
      {48, 6, 8, 0, .9f}, {54, 2, 7, 0, .7f}, {56, 8, 8, 0, .85f}}},
    // A descant over the call and its answer: it holds where they move and
    // moves where they hold, a third or a sixth above.
    {{{0, 6, 13, 0, .8f}, {6, 2, 12, 0, .6f}, {8, 8, 11, 0, .9f}, {16, 8, 12, 0, .85f}, {24, 4, 10, 0, .75f},
      {28, 4, 9, 0, .7f}, {32, 8, 13, 0, .85f}, {40, 4, 11, 0, .8f}, {44, 4, 12, 0, .75f}, {48, 8, 13, 0, .9f},
      {56, 4, 13, 0, .7f}, {60, 4, 14, 0, .8f}}},
};

// ---------------------------------------------------------------- layers

enum layerKind { layPad, layDrum, layBass, layArp, layStab, layTheme, layWalk, layChirps, layScatter, layHit, layFill };

struct layer {
  layerKind kind;
  int channel;
  const char* pattern;  // step pattern: one character per sixteenth, repeated
  float velocity;
  float from, to;       // bars relative to the section; to < 0 means its end
  int motifId = 0, shift = 0, count = 99;
  float stretch = 1, note = 0;
  const char* alt = nullptr;  // a step pattern played instead in the last bar of every `every` bars
  int every = 0;
  float vary = 0;             // chance that a step is played otherwise (see varied)
};

layer pad(int ch, float vel, float from = 0, float to = -1) { return {layPad, ch, "", vel, from, to}; }
layer drum(int ch, const char* pat, float vel, float from = 0, float to = -1) {
  return {layDrum, ch, pat, vel, from, to};
}
layer bassline(int ch, const char* pat, float vel, float from = 0, float to = -1) {
  return {layBass, ch, pat, vel, from, to};
}
layer arp(int ch, const char* pat, float vel, float from = 0, float to = -1) {
  return {layArp, ch, pat, vel, from, to};
}
layer stab(int ch, const char* pat, float vel, float from = 0, float to = -1) {
  return {layStab, ch, pat, vel, from, to};
}
// A motif at bar `at`, moved by `shift` scale degrees, slowed by `stretch`.
layer theme(int ch, int id, float vel, float at, int shift = 0, float stretch = 1, int count = 99) {
  layer l{layTheme, ch, "", vel, at, at + 1};
  l.motifId = id, l.shift = shift, l.stretch = stretch, l.count = count;
  return l;
}
layer walk(int ch, float vel, float from, float to) { return {layWalk, ch, "", vel, from, to}; }
layer chirps(int ch, float vel, float from, float to) { return {layChirps, ch, "", vel, from, to}; }
layer scatter(int ch, float vel, float from, float to) { return {layScatter, ch, "", vel, from, to}; }
// The same layer with `pattern` in the last bar of every `bars` bars (a fill).
layer endsWith(layer l, int bars, const char* pattern) {
  l.alt = pattern, l.every = bars;
  return l;
}
// The same layer, played otherwise on about `chance` of its steps: a drum
// adds a soft hit on a rest, an arpeggio takes a neighbouring tone, a bass
// jumps to the octave.
layer varied(layer l, float chance) {
  l.vary = chance;
  return l;
}
// Tom and snare figures in the last bar of every `period` bars.
layer fills(int period, float vel, float from, float to) {
  layer l{layFill, chTom, "", vel, from, to};
  l.every = period;
  return l;
}
// One note of `bars` bars at bar `at`.
layer hit(int ch, float note, float vel, float at, float bars = 1) {
  layer l{layHit, ch, "", vel, at, at + bars};
  l.note = note;
  return l;
}

struct section {
  int bar, bars;
  std::vector<int> chords;  // one per barsPerChord, cycled
  int barsPerChord;
  float swing;              // delay of the off-beat eighths, in sixteenths
  std::vector<layer> layers;
  int transpose = 0;        // semitones added to every pitched part
};

}  // namespace

namespace {

// ---------------------------------------------------------------- the form

// Drum, bass and arpeggio patterns, one character per sixteenth: '.' rest,
// '-' holds the previous note, 'X' 'x' 'o' and '1' ... '9' are hit strengths,
// R O F f root, octave, fifth and fifth below, digits pick arpeggio tones.
const char* const fourFloor = "X...x...X...x...";
const char* const grooveKick = "X.....x...X.....X.....x...X..x..";
const char* const summitKick = "X.....x...X...x.";
const char* const backbeat = "....X.......X...";
const char* const ghostBeat = "....X..o....X.o.";
const char* const offHats = "..x...x...x...x.";
const char* const shaker16 = "oxoxoxoxoxoxoxox";
const char* const roll = "2.3.4.5.6677889X";
const char* const hats16 = "x.o.x.oxx.o.x.ox";
const char* const snareFill = "....X.....x.X.xx";
const char* const kickFill = "X.....x...X.....";

// Bars 0-17 under the title cards: a slow pad, a bell that states the call.
section titleSection() {
  return {0, 18, {Dm9, Bbmaj7, Fadd9, Cadd9}, 2, 0,
          {pad(chPad, 0.55f), bassline(chSub, "R-------------------------------", 0.45f, 4),
           theme(chBell, callMotif, 0.45f, 4, 0, 1, 4), theme(chBell, callMotif, 0.55f, 8),
           theme(chBell, answerMotif, 0.55f, 10), theme(chBell, callMotif, 0.45f, 14, 7, 1, 4),
           arp(chPluck, "0...2...4...6...", 0.3f, 12), hit(chRiser, 60, 0.7f, 16, 2)}};
}

// Bars 18-26, the opening scene begins: arpeggio, bass and beat build up.
section riseSection() {
  return {18, 9, {Dm9, Bbmaj7, Fadd9, Cadd9, Dm9, Bbmaj7, Fadd9, Cadd9, Asus}, 1, 0,
          {hit(chCrash, 80, 0.45f, 0), hit(chBoom, 26, 0.5f, 0), pad(chPad, 0.6f),
           bassline(chBass, "R-----------R-O-", 0.55f), arp(chArp, "0246024602460246", 0.5f),
           theme(chBell, callMotif, 0.5f, 0), theme(chBell, answerMotif, 0.5f, 2),
           theme(chBell, callMotif, 0.55f, 4), theme(chBell, answerMotif, 0.55f, 6),
           drum(chKick, "X.......X.......", 0.6f, 4, 6), drum(chKick, fourFloor, 0.7f, 6, 8),
           drum(chHat, offHats, 0.45f, 6, 9), drum(chSnare, roll, 0.7f, 8), hit(chRiser, 60, 0.8f, 7, 2)}};
}

// Bars 27-44: the burst of the opening scene and the full groove.
section burstSection() {
  std::vector<int> prog;
  for (int i = 0; i < 4; ++i) prog.insert(prog.end(), {Dm9, Bbmaj7, Fadd9, Cadd9});
  prog.insert(prog.end(), {Gm9, Asus});
  section s{27, 18, prog, 1, 0,
            {hit(chCrash, 80, 1, 0), hit(chBoom, 26, 1, 0), pad(chPad, 0.55f),
             varied(bassline(chBass, "R--.R-.RO-.R.-F-", 0.8f), 0.1f),
             varied(arp(chArp, "0.24.13.46.35.7.", 0.55f), 0.12f),
             endsWith(drum(chKick, grooveKick, 0.95f, 0, 17), 8, kickFill),
             endsWith(drum(chSnare, backbeat, 0.8f, 0, 17), 8, snareFill), fills(8, 0.7f, 0, 17),
             varied(drum(chHat, offHats, 0.6f, 0, 8), 0.1f), varied(drum(chHat, hats16, 0.55f, 8), 0.08f),
             drum(chShaker, shaker16, 0.5f),
             drum(chOpenHat, "..............x.", 0.5f, 8, 16), drum(chSnare, "....X...X.X.XXXX", 0.85f, 17),
             hit(chTom, 50, 0.8f, 17.5f, 0.25f), hit(chTom, 45, 0.9f, 17.75f, 0.25f)}};
  for (int b = 4; b < 16; b += 4) {
    s.layers.push_back(theme(chLead, callMotif, 0.85f, float(b)));
    s.layers.push_back(theme(chLead, answerMotif, 0.85f, float(b + 2)));
  }
  s.layers.push_back(theme(chBell, callMotif, 0.5f, 12, 2));
  s.layers.push_back(theme(chBell, answerMotif, 0.5f, 14, 2));
  return s;
}

// Bars 45-60: the camera descends; the harmony falls i-VII-VI-V.
section descentSection() {
  return {45, 16, {Dm9, Cadd9, Bbmaj7, A7}, 1, 0,
          {hit(chCrash, 80, 0.9f, 0), hit(chBoom, 26, 0.9f, 0), pad(chPad, 0.6f),
           varied(bassline(chBass, "R-------R---O-R-", 0.8f), 0.1f),
           varied(arp(chArp, "7.5.3.1.6.4.2.0.", 0.5f), 0.12f),
           endsWith(drum(chKick, grooveKick, 0.85f), 8, kickFill),
           endsWith(drum(chSnare, backbeat, 0.7f), 8, snareFill),
           fills(8, 0.6f, 0, 16), varied(drum(chHat, offHats, 0.5f), 0.12f), drum(chShaker, shaker16, 0.4f),
           theme(chBell, callMotif, 0.5f, 0, 0, 1, 4),
           theme(chLead, fallMotif, 0.85f, 4), theme(chLead, fallMotif, 0.85f, 8, 0),
           theme(chBell, fallMotif, 0.5f, 12, -7), hit(chCrash, 80, 0.5f, 8)}};
}

// Bars 61-72: the breakdown; the call slowed to half speed, then a build.
section hollowSection() {
  return {61, 12, {Bbmaj7, Cadd9, Am7, Dm9}, 2, 0,
          {pad(chPad, 0.7f), bassline(chSub, "R-------------------------------", 0.5f),
           theme(chBell, callMotif, 0.6f, 0, 0, 2), theme(chBell, answerMotif, 0.6f, 4, 0, 2),
           arp(chArp, "0...4...2...6...", 0.35f), drum(chRim, backbeat, 0.4f, 4),
           drum(chShaker, "..o...o...o...o.", 0.35f, 4), drum(chKick, "X.......X.......", 0.6f, 8, 11),
           drum(chHat, offHats, 0.4f, 10), drum(chSnare, roll, 0.75f, 11), hit(chRiser, 60, 0.8f, 10, 2),
           theme(chLead, callMotif, 0.6f, 8, 0, 1, 4)}};
}

// Bars 73-88: the summit; everything plays, the call doubled in thirds.
section summitSection() {
  section s{73, 16, {Dm9, Bbmaj7, Fadd9, Cadd9}, 1, 0,
            {hit(chCrash, 80, 1, 0), hit(chBoom, 26, 1, 0), hit(chCrash, 80, 0.8f, 8), pad(chPad, 0.6f),
             varied(bassline(chBass, "R.RR.R.RO.RR.RFO", 0.8f), 0.1f),
             varied(arp(chArp, "0241352403142537", 0.6f), 0.12f),
             endsWith(drum(chKick, summitKick, 0.95f), 8, kickFill),
             endsWith(drum(chSnare, ghostBeat, 0.85f), 8, snareFill),
             fills(8, 0.75f, 0, 16), varied(drum(chHat, hats16, 0.6f), 0.1f), drum(chShaker, shaker16, 0.5f),
             drum(chOpenHat, "......x.......x.", 0.45f)}};
  for (int b = 0; b < 16; b += 4) {
    s.layers.push_back(theme(chLead, callMotif, 0.9f, float(b)));
    s.layers.push_back(theme(chLead, answerMotif, 0.9f, float(b + 2)));
  }
  for (int b = 8; b < 16; b += 4) {
    s.layers.push_back(theme(chBell, callMotif, 0.5f, float(b), 2));
    s.layers.push_back(theme(chBell, answerMotif, 0.5f, float(b + 2), 2));
  }
  return s;
}

// Bars 89-97: the dive; the beat drops out, then rebuilds towards the birds.
section diveSection() {
  return {89, 9, {Dm9, Dm9, Bbmaj7, Bbmaj7, Gm9, Gm9, Cadd9, Cadd9, Cadd9}, 1, 0,
          {hit(chCrash, 80, 0.8f, 0), hit(chBoom, 26, 1, 0), pad(chPad, 0.7f),
           bassline(chSub, "R-------------------------------", 0.6f),
           theme(chLead, callMotif, 0.7f, 0, 0, 2), arp(chArp, "0246024602460246", 0.45f, 4),
           drum(chKick, "X...............", 0.7f, 0, 4), drum(chKick, fourFloor, 0.8f, 4, 8),
           drum(chHat, offHats, 0.45f, 6, 8), drum(chSnare, roll, 0.8f, 8), hit(chRiser, 60, 0.9f, 6, 3),
           theme(chBell, answerMotif, 0.45f, 4)}};
}

// Bars 98-126: the birds; F major, high and light. The build of the dive
// lands on a full crash; the flute brings the second theme, the bell joins
// it a third above, and a soft beat comes in halfway.
section birdsSection() {
  std::vector<int> prog;
  for (int i = 0; i < 7; ++i) prog.insert(prog.end(), {Fmaj9, CoverE, Dm9high, Bbmaj9high});
  prog.push_back(Asus);
  return {98, 29, prog, 1, 0,
          {hit(chCrash, 80, 0.85f, 0), hit(chBoom, 26, 0.8f, 0), pad(chPad, 0.5f),
           varied(arp(chPluck, "4.6.7.5.6.4.7.5.", 0.45f, 0, 12), 0.12f),
           varied(arp(chPluck, "4.67.5.64.7.56.7", 0.45f, 12, 20), 0.12f),
           varied(arp(chPluck, "46754675.6.4.7.5", 0.45f, 20, 28), 0.12f),
           bassline(chSub, "R-------------..", 0.4f, 0, 16),
           bassline(chBass, "R-----R-......O-", 0.5f, 16, 28),
           varied(drum(chShaker, "o.xo..x.o.xo..x.", 0.45f, 4, 28), 0.1f), chirps(chChirp, 0.5f, 0, 28),
           drum(chRim, "....x.......x...", 0.3f, 16, 28), drum(chKick, "X.........X.....", 0.5f, 16, 27),
           varied(drum(chHat, "..x...x...x.x.x.", 0.4f, 12, 28), 0.1f),
           theme(chFlute, flightMotif, 0.8f, 4), theme(chFlute, flightAnswer, 0.8f, 8),
           theme(chBell, flightMotif, 0.4f, 12, 7), theme(chBell, flightAnswer, 0.35f, 16, 7),
           theme(chFlute, flightMotif, 0.75f, 16), theme(chFlute, flightAnswer, 0.8f, 20),
           theme(chFlute, flightMotif, 0.7f, 24, 0, 2, 3), hit(chRiser, 60, 0.45f, 26, 2)}};
}

// Bars 127-156: the city; a walking bass and a swung pulse in D Dorian. The
// second theme walks here too, then the call returns against it.
section citySection() {
  return {127, 30, {Dm7, G9, Dm7, G9, Bbmaj7, Am7, Gm9, Asus}, 1, 0.35f,
          {hit(chCrash, 80, 0.6f, 0), pad(chPad, 0.4f), walk(chBass, 0.75f, 0, 28), hit(chBass, 38, 0.6f, 28, 2),
           endsWith(drum(chKick, "X.......x.....x.", 0.8f, 0, 26), 8, "X.......x.x....."),
           drum(chRim, backbeat, 0.5f, 2, 8),
           endsWith(varied(drum(chSnare, backbeat, 0.6f, 8, 26), 0.06f), 8, snareFill),
           fills(8, 0.55f, 0, 24), varied(drum(chHat, "x.o.x.o.x.o.x.o.", 0.5f, 0, 28), 0.12f),
           varied(drum(chShaker, "..o...o...o...o.", 0.4f, 10, 26), 0.15f),
           stab(chKeys, "X-....x-..x-....", 0.4f, 2, 16), stab(chKeys, "X-..x-....x-.x..", 0.4f, 24, 28),
           drum(chOpenHat, "..............x.", 0.4f, 16, 26),
           theme(chKeys, streetMotif, 0.75f, 0), theme(chKeys, streetAnswer, 0.75f, 4),
           theme(chLead, streetMotif, 0.7f, 8), theme(chLead, streetAnswer, 0.7f, 12),
           theme(chLead, walkMotif, 0.75f, 16), theme(chLead, answerMotif, 0.75f, 18),
           theme(chKeys, streetMotif, 0.65f, 16, -7), theme(chFlute, streetAnswer, 0.7f, 20),
           theme(chBell, walkMotif, 0.5f, 24), theme(chBell, answerMotif, 0.5f, 26)}};
}

// Bars 157-202: the drawing. The first half is close and sparse but changes
// every eight bars; the second opens up (arpeggio, hats, the pad's filter)
// and brings the groove back, the call with a descant above it, and builds
// through a pivot on B into the close.
section drawingSection() {
  std::vector<int> prog = {Bbmaj7, Bbmaj7, Am7, Am7, Gm9, Gm9, Asus, A7,
                           Bbmaj7, Bbmaj7, Am7, Am7, Gm9, Gm9, Asus, A7,
                           Gm9, Gm9, Bbmaj7, Bbmaj7, Dm9, Dm9, Cadd9, Asus,
                           Bbmaj7, Cadd9, Am7, Dm9, Gm9, Cadd9, Asus, A7,
                           Dm9, Bbmaj7, Fadd9, Cadd9, Dm9, Bbmaj7, Fadd9, Cadd9,
                           Bbmaj7, Cadd9, Dm9, Bbmaj7, Cadd9, Bsus};
  return {157, 46, prog, 1, 0,
          {pad(chPad, 0.45f, 0, 24), theme(chKeys, callMotif, 0.75f, 4, -7, 2),
           theme(chKeys, answerMotif, 0.75f, 8, -7, 2),
           bassline(chSub, "R-------------------------------", 0.35f, 0, 16),
           scatter(chPluck, 0.4f, 8, 24),
           drum(chKick, "X..x............", 0.45f, 12, 24),
           varied(drum(chShaker, "....o.......o...", 0.35f, 16, 24), 0.1f),
           drum(chRim, "........x.......", 0.3f, 20, 24), bassline(chBass, "R.......R...R...", 0.45f, 16, 24),
           varied(drum(chShaker, "..o...o...o.o.o.", 0.25f, 8, 16), 0.1f),
           varied(drum(chHat, "..x...x...x...x.", 0.3f, 16, 24), 0.1f),
           theme(chBell, callMotif, 0.45f, 16, 2, 1, 4), theme(chBell, callMotif, 0.45f, 20, 0, 1, 4),
           // the second half
           pad(chPad, 0.6f, 24), hit(chCrash, 80, 0.55f, 24),
           varied(arp(chArp, "0.2.4.6.1.3.5.7.", 0.45f, 24, 32), 0.12f),
           varied(drum(chHat, offHats, 0.45f, 24, 32), 0.15f), drum(chKick, "X.......X.......", 0.7f, 24, 32),
           varied(bassline(chBass, "R-------R---O-R-", 0.65f, 24, 32), 0.1f), drum(chShaker, shaker16, 0.35f, 28, 44),
           theme(chPluck, flightMotif, 0.55f, 24), theme(chBell, callMotif, 0.45f, 28, 0, 1, 4),
           drum(chSnare, "............X...", 0.5f, 28, 32),
           hit(chCrash, 80, 0.85f, 32), hit(chBoom, 26, 0.7f, 32),
           varied(arp(chArp, "0241352403142537", 0.5f, 32, 40), 0.12f),
           varied(arp(chArp, "7531642075316420", 0.55f, 40, 44), 0.12f),
           varied(arp(chArp, "0246024602460246", 0.55f, 44, 46), 0.12f),
           endsWith(drum(chKick, grooveKick, 0.9f, 32, 44), 8, kickFill),
           endsWith(drum(chSnare, backbeat, 0.75f, 32, 44), 8, snareFill), fills(8, 0.65f, 32, 40),
           varied(drum(chHat, hats16, 0.55f, 32, 44), 0.1f), drum(chOpenHat, "..............x.", 0.45f, 32, 44),
           varied(bassline(chBass, "R--.R-.RO-.R.-F-", 0.8f, 32, 44), 0.1f),
           varied(bassline(chBass, "R.R.R.R.RRRRRRRR", 0.75f, 44, 46), 0.1f),
           theme(chKeys, callMotif, 0.7f, 32), theme(chKeys, answerMotif, 0.7f, 34),
           theme(chFlute, descantMotif, 0.6f, 32), theme(chKeys, flightMotif, 0.65f, 36, -7),
           theme(chLead, callMotif, 0.75f, 36), theme(chLead, answerMotif, 0.75f, 38),
           theme(chLead, callMotif, 0.8f, 40, 2), theme(chLead, answerMotif, 0.8f, 42, 2),
           hit(chCrash, 80, 0.6f, 40), drum(chSnare, roll, 0.8f, 44), hit(chRiser, 60, 0.7f, 42, 4),
           hit(chTom, 50, 0.85f, 45.5f, 0.25f), hit(chTom, 45, 0.9f, 45.75f, 0.25f)}};
}

// Bars 203-216: the close, lifted a step into E minor. The full band plays
// the call and its answer with the second theme below and the descant above,
// a last cadence falls through the raised seventh, and the tonic chord in
// E major rings from bar 209 and dies away before the production ends.
section closeSection() {
  std::vector<int> prog = {Dm9, Bbmaj7, Fadd9, Cadd9, Gm9, A7};
  prog.resize(14, Dadd9);
  section s{203, 14, prog, 1, 0,
            {hit(chCrash, 80, 1, 0), hit(chBoom, 26, 1, 0), hit(chCrash, 80, 0.75f, 4), pad(chPad, 0.65f, 0, 6),
             varied(bassline(chBass, "R--.R-.RO-.R.-F-", 0.85f, 0, 6), 0.1f),
             varied(arp(chArp, "0241352403142537", 0.55f, 0, 4), 0.12f),
             varied(arp(chArp, "7531642075316420", 0.55f, 4, 6), 0.12f),
             endsWith(drum(chKick, grooveKick, 0.95f, 0, 6), 6, kickFill),
             drum(chSnare, ghostBeat, 0.85f, 0, 5), drum(chSnare, "....X...X.X.XXXX", 0.85f, 5, 6),
             varied(drum(chHat, hats16, 0.6f, 0, 6), 0.1f), drum(chShaker, shaker16, 0.45f, 0, 6),
             drum(chOpenHat, "......x.......x.", 0.45f, 0, 6), hit(chTom, 50, 0.8f, 5.5f, 0.25f),
             hit(chTom, 45, 0.9f, 5.75f, 0.25f),
             theme(chLead, callMotif, 0.9f, 0), theme(chLead, answerMotif, 0.9f, 2),
             theme(chLead, cadenceMotif, 0.9f, 4),
             theme(chKeys, flightMotif, 0.7f, 0, -7), theme(chKeys, flightAnswer, 0.65f, 4, -7, 1, 6),
             theme(chFlute, descantMotif, 0.65f, 0),
             // the last chord
             hit(chCrash, 80, 0.8f, 6), hit(chBoom, 26, 0.8f, 6), hit(chKick, 31, 0.9f, 6), pad(chPad, 0.6f, 6, 7.5f),
             hit(chBass, 38, 0.75f, 6, 1.25f), hit(chSub, 38, 0.5f, 6, 1.5f)}};
  const float bells[] = {74, 78, 81, 86};
  for (int i = 0; i < 4; ++i) s.layers.push_back(hit(chBell, bells[i], 0.45f, 6 + 0.25f * float(i), 0.25f));
  s.layers.push_back(hit(chBell, 90, 0.3f, 7.5f, 0.25f));
  s.transpose = 2;
  return s;
}

}  // namespace

namespace {

// ---------------------------------------------------------------- expansion

int64_t sampleAt(double bar) { return int64_t(std::llround(bar * scoreBarSeconds * synthRate)); }

float hitStrength(char c) {
  if (c == 'X') return 1;
  if (c == 'x') return 0.7f;
  if (c == 'o') return 0.45f;
  if (c >= '1' && c <= '9') return float(c - '0') / 9.f;
  return 0.8f;
}

// Turns the layers of one section into note events.
struct expander {
  std::vector<noteEvent>& out;
  contentRng& rng;
  const section& s;

  const chordShape& chordAt(double relBar) const {
    int i = int(std::floor(relBar + 1e-6)) / s.barsPerChord;
    return chords[s.chords[size_t(i) % s.chords.size()]];
  }
  // Adds one note, played rather than stamped: its strength varies by up to
  // a tenth and its onset by a few milliseconds, less for the parts that
  // keep the time (the kick and the effects not at all).
  void add(int ch, double relBar, double bars, float note, float vel, float pan = 0) {
    static const float looseness[channelCount] = {
        0.012f, 0.002f, 0.002f, 0.003f, 0.008f, 0.008f, 0.008f, 0.010f, 0.006f, 0.004f,  // tonal
        0, 0.003f, 0.005f, 0.005f, 0.007f, 0.004f, 0, 0, 0.003f, 0};                      // drums, effects
    noteEvent e;
    e.start = sampleAt(s.bar + relBar);
    e.length = int32_t(sampleAt(bars));
    e.channel = uint8_t(ch);
    e.note = note + (ch < chKick ? float(s.transpose) : 0.f);
    e.velocity = std::min(1.f, vel * float(0.9 + 0.2 * rng.uniform()));
    e.start = std::max<int64_t>(0, e.start + std::lround(looseness[ch] * synthRate * rng.range(-1, 1)));
    e.pan = pan;
    if (e.start < int64_t(scoreSeconds * synthRate) && e.velocity > 0) out.push_back(e);
  }
  double end(const layer& l) const { return l.to < 0 ? s.bars : l.to; }

  void padLayer(const layer& l) {
    static const float pans[4] = {-0.5f, 0.5f, -0.2f, 0.2f};
    for (double b = l.from; b < end(l);) {
      const chordShape& c = chordAt(b);
      double e = b + s.barsPerChord;
      while (e < end(l) && &chordAt(e) == &c) e += s.barsPerChord;
      e = std::min(e, end(l));
      for (int i = 0; i < 4; ++i) add(l.channel, b, e - b, float(c.tones[i]), l.velocity, pans[i]);
      b = e;
    }
  }

  void stepNote(const layer& l, char c, double at, double bars, int step) {
    const chordShape& chord = chordAt(at);
    if (l.kind == layDrum) {
      // Hats and shakers lean on the beat and lighten between the eighths.
      float metre = l.channel != chHat && l.channel != chShaker ? 1.f : step % 4 == 0 ? 1.f : step % 2 ? 0.72f : 0.86f;
      static const float places[] = {0.35f, -0.25f, -0.45f, -0.2f};  // hat, open hat, shaker, rim
      float pan = l.channel >= chHat && l.channel <= chRim ? places[l.channel - chHat] : 0.f;
      add(l.channel, at, bars, l.channel == chKick ? 31.f : l.channel == chSnare ? 55.f : 77.f,
          l.velocity * hitStrength(c) * metre, pan);
    } else if (l.kind == layBass) {
      int offset = c == 'O' ? 12 : c == 'F' ? 7 : c == 'f' ? -5 : 0;
      add(l.channel, at, bars * 0.9, float(chord.bass + offset), l.velocity * (c == 'R' ? 1.f : 0.85f));
    } else if (l.kind == layArp && c >= '0' && c <= '7') {
      add(l.channel, at, bars * 0.9, float(arpTone(chord, c - '0')), l.velocity,
          (c - '0') % 2 ? 0.45f : -0.45f);
    } else if (l.kind == layStab) {
      for (int i = 0; i < 4; ++i)
        add(l.channel, at, bars * 0.8, float(chord.tones[i]), l.velocity * hitStrength(c), i % 2 ? 0.4f : -0.4f);
    }
  }

  char vary(const layer& l, char c) {
    bool drum = l.kind == layDrum, arpTone = l.kind == layArp && c >= '0' && c <= '7';
    if ((drum && c != '.') || (!drum && !arpTone && c != 'R' && c != 'F')) return c;
    if (rng.uniform() >= l.vary) return c;
    if (drum) return '3';
    if (arpTone) return c == '0' ? '1' : c == '7' ? '6' : char(c + ((rng.next() & 1) ? 1 : -1));
    return 'O';
  }

  void stepLayer(const layer& l) {
    int first = int(std::ceil(l.from * 16 - 1e-6)), last = int(std::floor(end(l) * 16 + 1e-6));
    int firstBar = int(std::floor(l.from + 1e-6));
    for (int st = first; st < last; ++st) {
      const char* pattern = l.pattern;
      if (l.every > 0 && (st / 16 - firstBar + 1) % l.every == 0) pattern = l.alt;
      int len = int(std::char_traits<char>::length(pattern));
      char c = pattern[st % len];
      if (l.vary > 0 && c != '-') c = vary(l, c);
      if (c == '.' || c == '-') continue;
      int hold = 1;
      while (hold < len && st + hold < last && pattern[(st + hold) % len] == '-') ++hold;
      double at = (st + (st % 4 == 2 ? s.swing : 0.f)) / 16.0;
      stepNote(l, c, at, hold / 16.0, st);
    }
  }

  // Tom runs into the next phrase: one of a few figures over the second half
  // of the bar, high to low across the stereo field.
  void fillLayer(const layer& l) {
    static const char* const figures[] = {"..........h.m.l.", "........h.h.m.ml", "............hmml",
                                          "........s..hm.l.", "..........hhmmll"};
    for (int b = int(l.from); b < int(end(l)); ++b) {
      if ((b - int(l.from) + 1) % l.every != 0) continue;
      const char* f = figures[rng.next() % 5];
      for (int st = 0; st < 16; ++st) {
        char c = f[st];
        if (c == '.') continue;
        if (c == 's') {
          add(chSnare, b + st / 16.0, 1 / 16.0, 55, l.velocity * 0.9f);
          continue;
        }
        int which = c == 'h' ? 0 : c == 'm' ? 1 : 2;
        static const float notes[3] = {52, 47, 43}, pans[3] = {-0.4f, 0, 0.4f};
        add(chTom, b + st / 16.0, 0.25, notes[which], l.velocity * (0.8f + 0.1f * float(which)), pans[which]);
      }
    }
  }

  void themeLayer(const layer& l) {
    const motif& m = motifs[l.motifId];
    for (size_t i = 0; i < m.notes.size() && int(i) < l.count; ++i) {
      const motifNote& n = m.notes[i];
      float len = n.length * l.stretch / 16.f;
      add(l.channel, l.from + n.step * l.stretch / 16.0, len * 0.95, float(degreeNote(n.degree + l.shift, n.accidental)),
          l.velocity * n.velocity);
    }
  }

  // Quarter notes: root, a chord tone, the fifth, a half step into the next root.
  void walkLayer(const layer& l) {
    for (double b = l.from; b < end(l); b += 1) {
      int root = chordAt(b).bass, next = chordAt(b + 1).bass;
      while (root < 36) root += 12;
      while (next < 36) next += 12;
      int tone = chordAt(b).tones[rng.next() % 4];
      while (tone > root + 12) tone -= 12;
      while (tone <= root) tone += 12;
      int notes[4] = {root, tone, root + 7, next + ((rng.next() & 1) ? 1 : -1)};
      for (int q = 0; q < 4; ++q)
        add(l.channel, b + q / 4.0, 0.85 / 4, float(notes[q]), l.velocity * (q == 0 ? 1.f : 0.8f));
    }
  }

  // Bird calls: quick rising pairs on the F major pentatonic, anywhere in the bar.
  void chirpLayer(const layer& l) {
    static const int pentatonic[5] = {77, 79, 81, 84, 86};
    for (double b = l.from; b < end(l); b += 1) {
      int calls = int(rng.next() % 3);
      for (int k = 0; k < calls; ++k) {
        double at = b + (rng.next() % 16) / 16.0;
        float note = float(pentatonic[rng.next() % 5] + 12 * int(rng.next() % 2));
        float pan = float(rng.range(-0.8, 0.8));
        add(l.channel, at, 1 / 32.0, note, l.velocity, pan);
        add(l.channel, at + 1 / 32.0, 1 / 32.0, note + 2, l.velocity * 0.8f, pan);
      }
    }
  }

  // Single plucked chord tones on a few of the eighths, like strokes of a pen.
  void scatterLayer(const layer& l) {
    for (double at = l.from; at < end(l); at += 0.125) {
      if (rng.uniform() > 0.16) continue;
      float note = float(arpTone(chordAt(at), 2 + int(rng.next() % 6)));
      add(l.channel, at, 0.125, note, l.velocity, float(rng.range(-0.5, 0.5)));
    }
  }

  void expand(const layer& l) {
    switch (l.kind) {
      case layPad: padLayer(l); break;
      case layTheme: themeLayer(l); break;
      case layWalk: walkLayer(l); break;
      case layChirps: chirpLayer(l); break;
      case layScatter: scatterLayer(l); break;
      case layHit: add(l.channel, l.from, l.to - l.from, l.note, l.velocity); break;
      case layFill: fillLayer(l); break;
      default: stepLayer(l);
    }
  }
};

}  // namespace

void scoreEvents(std::vector<noteEvent>& out) {
  const section form[] = {titleSection(),   riseSection(),   burstSection(), descentSection(),
                          hollowSection(),  summitSection(), diveSection(),  birdsSection(),
                          citySection(),    drawingSection(), closeSection()};
  contentRng rng(0x64726966ULL);
  out.clear();
  for (const section& s : form) {
    expander x{out, rng, s};
    for (const layer& l : s.layers) x.expand(l);
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const noteEvent& a, const noteEvent& b) { return a.start < b.start; });
}

// ---------------------------------------------------------------- instruments

namespace {

void tonalChannels(channelDef* c) {
  patch& pd = c[chPad].sound;  // detuned saws spread left to right, darkened on the bus
  pd.wave = waveSaw, pd.oscCount = 3, pd.detune = 9, pd.spread = 1, pd.attack = 1.2f, pd.decay = 3, pd.sustain = 0.8f;
  pd.release = 3, pd.gain = 0.2f;
  c[chPad].reverbSend = 0.5f;
  // The filter opens with the form: late in the drawing and in the close it
  // is brighter than anywhere before.
  c[chPad].cutoff = curve{0, 500, 16, 900, 18, 900, 27, 2600, 45, 1900, 61, 1400, 72, 3200, 89, 700,
                          97, 2600, 98, 3800, 127, 3000, 157, 1800, 181, 2400, 189, 3500, 201, 4500,
                          203, 6000, 209, 5000, 216, 2000};
  patch& bs = c[chBass].sound;  // saw and a sine at its own pitch under a plucked filter
  bs.wave = waveSaw, bs.subLevel = 0.7f, bs.subRatio = 1, bs.filter = filterLow, bs.cutoff = 420, bs.keyTrack = 0.6f;
  bs.cutoffEnv = 2.2f, bs.cutoffDecay = 0.1f, bs.resonance = 1.1f, bs.attack = 0.004f, bs.decay = 1.2f;
  bs.sustain = 0.55f, bs.release = 0.12f, bs.gain = 0.5f;
  patch& sb = c[chSub].sound;  // a soft sine drone
  sb.wave = waveSine, sb.attack = 1.5f, sb.decay = 2, sb.sustain = 1, sb.release = 3, sb.gain = 0.45f;
  patch& ar = c[chArp].sound;  // plucked saws, filter opened on the bus
  ar.wave = waveSaw, ar.oscCount = 2, ar.detune = 7, ar.spread = 0.7f, ar.filter = filterLow, ar.cutoff = 700;
  ar.cutoffEnv = 2.5f, ar.cutoffDecay = 0.08f, ar.resonance = 1.4f, ar.attack = 0.002f, ar.decay = 0.6f;
  ar.sustain = 0, ar.release = 0.1f, ar.gain = 0.2f;
  c[chArp].pan = 0.15f, c[chArp].delaySend = 0.3f, c[chArp].reverbSend = 0.25f;
  c[chArp].cutoff = curve{0, 600, 18, 600, 27, 3500, 45, 2500, 61, 1800, 72, 3500, 89, 900, 97, 3500,
                          157, 2000, 181, 2200, 201, 5000, 209, 6000, 216, 3000};
  patch& ld = c[chLead].sound;  // two saws, a vibrato and a touch of filter envelope
  ld.wave = waveSaw, ld.oscCount = 2, ld.detune = 10, ld.spread = 0.5f, ld.filter = filterLow, ld.cutoff = 1300;
  ld.keyTrack = 0.5f, ld.cutoffEnv = 1.3f, ld.cutoffDecay = 0.25f, ld.resonance = 0.9f;
  ld.vibDepth = 0.12f, ld.vibRate = 5.2f, ld.attack = 0.02f, ld.decay = 1.5f, ld.sustain = 0.7f;
  ld.release = 0.35f, ld.gain = 0.26f;
  c[chLead].delaySend = 0.25f, c[chLead].reverbSend = 0.35f, c[chLead].pan = -0.05f;
}

void colourChannels(channelDef* c) {
  patch& bl = c[chBell].sound;  // inharmonic FM bell
  bl.wave = waveFm, bl.fmRatio = 3.5f, bl.fmIndex = 2.2f, bl.fmDecay = 1.6f, bl.attack = 0.002f;
  bl.decay = 4, bl.sustain = 0, bl.release = 1, bl.gain = 0.28f;
  c[chBell].delaySend = 0.35f, c[chBell].reverbSend = 0.5f, c[chBell].pan = -0.35f;
  patch& ky = c[chKeys].sound;  // FM electric piano
  ky.wave = waveFm, ky.fmRatio = 1, ky.fmIndex = 1.8f, ky.fmDecay = 0.7f, ky.attack = 0.003f;
  ky.decay = 3, ky.sustain = 0, ky.release = 0.3f, ky.gain = 0.22f;
  c[chKeys].delaySend = 0.12f, c[chKeys].reverbSend = 0.3f, c[chKeys].pan = 0.25f;
  c[chKeys].cutoff = curve{0, 4000, 157, 2500, 181, 3500, 197, 8000, 216, 8000};
  patch& fl = c[chFlute].sound;  // triangle with breath
  fl.wave = waveTriangle, fl.filter = filterLow, fl.cutoff = 2600, fl.vibDepth = 0.15f, fl.vibRate = 5;
  fl.noiseLevel = 0.06f, fl.noiseDecay = 60, fl.noiseHighpass = 2500, fl.attack = 0.06f, fl.decay = 2;
  fl.sustain = 0.85f, fl.release = 0.3f, fl.gain = 0.34f;
  c[chFlute].delaySend = 0.3f, c[chFlute].reverbSend = 0.5f, c[chFlute].pan = 0.3f;
  patch& pl = c[chPluck].sound;  // bright FM pluck
  pl.wave = waveFm, pl.fmRatio = 2, pl.fmIndex = 1.3f, pl.fmDecay = 0.25f, pl.attack = 0.002f;
  pl.decay = 1, pl.sustain = 0, pl.release = 0.1f, pl.gain = 0.18f;
  c[chPluck].delaySend = 0.4f, c[chPluck].reverbSend = 0.4f, c[chPluck].pan = 0.25f;
  patch& ch = c[chChirp].sound;  // a sine that rises and trills
  ch.wave = waveSine, ch.pitchDrop = -5, ch.pitchDecay = 0.03f, ch.vibDepth = 0.8f, ch.vibRate = 23;
  ch.attack = 0.004f, ch.decay = 0.15f, ch.sustain = 0, ch.release = 0.05f, ch.gain = 0.1f;
  c[chChirp].delaySend = 0.3f, c[chChirp].reverbSend = 0.6f;
}

void drumChannels(channelDef* c) {
  patch& k = c[chKick].sound;  // sine with a fast pitch drop and a click
  k.wave = waveSine, k.pitchDrop = 30, k.pitchDecay = 0.035f, k.noiseLevel = 0.25f, k.noiseDecay = 0.01f;
  k.noiseHighpass = 2000, k.attack = 0.001f, k.decay = 0.45f, k.sustain = 0, k.gain = 0.85f;
  c[chKick].reverbSend = 0.04f;
  patch& sn = c[chSnare].sound;  // a tuned body and a burst of high-passed noise
  sn.wave = waveTriangle, sn.pitchDrop = 7, sn.pitchDecay = 0.02f, sn.noiseLevel = 1.5f;
  sn.noiseDecay = 0.25f, sn.noiseHighpass = 1200, sn.attack = 0.001f, sn.decay = 0.28f, sn.sustain = 0;
  sn.gain = 0.3f;
  c[chSnare].reverbSend = 0.25f;
  patch& ht = c[chHat].sound;  // high-passed noise, short
  ht.wave = waveNone, ht.noiseLevel = 1, ht.noiseDecay = 5, ht.noiseHighpass = 6000, ht.filter = filterHigh;
  ht.cutoff = 8000, ht.attack = 0.001f, ht.decay = 0.07f, ht.sustain = 0, ht.gain = 0.42f;
  c[chHat].reverbSend = 0.1f;
  c[chOpenHat] = c[chHat];
  c[chOpenHat].sound.decay = 0.5f, c[chOpenHat].sound.gain = 0.26f;
  patch& sh = c[chShaker].sound;  // band-passed noise with a soft attack
  sh.wave = waveNone, sh.noiseLevel = 1, sh.noiseDecay = 5, sh.filter = filterBand, sh.cutoff = 7000;
  sh.resonance = 1.2f, sh.attack = 0.008f, sh.decay = 0.08f, sh.sustain = 0, sh.gain = 0.3f;
  c[chShaker].reverbSend = 0.15f;
  patch& rm = c[chRim].sound;  // a short high tone and a tick
  rm.wave = waveSine, rm.pitchDrop = 5, rm.pitchDecay = 0.005f, rm.noiseLevel = 0.5f, rm.noiseDecay = 0.02f;
  rm.noiseHighpass = 3000, rm.attack = 0.0005f, rm.decay = 0.07f, rm.sustain = 0, rm.gain = 0.22f;
  c[chRim].reverbSend = 0.25f;
}

void effectChannels(channelDef* c) {
  patch& cr = c[chCrash].sound;  // long high-passed noise
  cr.wave = waveNone, cr.noiseLevel = 1, cr.noiseDecay = 30, cr.noiseHighpass = 3000, cr.filter = filterHigh;
  cr.cutoff = 5000, cr.resonance = 0.8f, cr.attack = 0.002f, cr.decay = 2.8f, cr.sustain = 0, cr.gain = 0.22f;
  c[chCrash].reverbSend = 0.4f;
  patch& rs = c[chRiser].sound;  // noise through a band that sweeps up over the note
  rs.wave = waveNone, rs.noiseLevel = 1, rs.noiseDecay = 1000, rs.noiseHighpass = 150, rs.filter = filterBand;
  rs.cutoff = 250, rs.resonance = 2.5f, rs.sweep = 5.5f, rs.attack = 3.5f, rs.decay = 10, rs.sustain = 1;
  rs.release = 0.08f, rs.gain = 0.22f;
  c[chRiser].reverbSend = 0.4f, c[chRiser].delaySend = 0.15f;
  patch& tm = c[chTom].sound;
  tm.wave = waveSine, tm.pitchDrop = 7, tm.pitchDecay = 0.06f, tm.noiseLevel = 0.1f, tm.noiseDecay = 0.05f;
  tm.attack = 0.001f, tm.decay = 0.6f, tm.sustain = 0, tm.gain = 0.5f;
  c[chTom].reverbSend = 0.25f;
  patch& bm = c[chBoom].sound;  // a deep sine that falls into the accent
  bm.wave = waveSine, bm.pitchDrop = 12, bm.pitchDecay = 0.25f, bm.attack = 0.002f, bm.decay = 3.5f;
  bm.sustain = 0, bm.release = 0.5f, bm.gain = 0.6f;
  c[chBoom].reverbSend = 0.15f;
}

}  // namespace

void scoreChannels(channelDef* out) {
  for (int i = 0; i < channelCount; ++i) out[i] = channelDef();
  tonalChannels(out);
  colourChannels(out);
  drumChannels(out);
  effectChannels(out);
}
