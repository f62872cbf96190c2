// synth.h -- small synthesis operators for the music recipe: oscillators,
// envelopes, filters, noise, a reverb, a ping-pong delay, a limiter and the
// curves that automate them. Everything works on blocks of samples held in
// plain structs; the oscillator kind is chosen once per control tick, never
// per sample, and nothing is virtual.
#pragma once
#include <cstdint>
#include <vector>

#include "content/content.h"

constexpr int synthRate = 44100;
constexpr int synthBlock = 256;  // samples per mixing block
constexpr int synthTick = 32;    // samples per control tick inside a voice

enum waveKind : uint8_t { waveNone, waveSine, waveSaw, waveSquare, waveTriangle, waveFm };
enum filterKind : uint8_t { filterOff, filterLow, filterBand, filterHigh };

// One instrument's sound. Times are seconds; decay and release are the times
// to fall by 60 dB; cutoff offsets are in octaves.
struct patch {
  waveKind wave = waveSine;
  int oscCount = 1;                                 // 1 ... 3 copies spread by detune
  float detune = 0;                                 // cents between neighbouring copies
  float subLevel = 0;                               // sine under the note, at subRatio times its pitch
  float subRatio = 0.5f;                            // 1 keeps the sine at the note, 0.5 an octave below
  float spread = 0;                                 // 0 ... 1: the copies spread from the centre to the sides
  float fmRatio = 1, fmIndex = 0, fmDecay = 1;      // modulator of waveFm; index falls by 60 dB in fmDecay
  float pitchDrop = 0, pitchDecay = 0.05f;          // semitones above the note at onset, time constant
  float vibDepth = 0, vibRate = 5;                  // semitones, Hz
  float noiseLevel = 0, noiseDecay = 1, noiseHighpass = 0;  // white noise through a one-pole high-pass
  filterKind filter = filterOff;
  float cutoff = 18000, keyTrack = 0, resonance = 0.7f;  // Hz at note 60, octaves per octave, Q
  float cutoffEnv = 0, cutoffDecay = 0.2f;          // octaves added at onset, time constant
  float sweep = 0;                                  // octaves added linearly until the note's end
  float attack = 0.005f, decay = 0.3f, sustain = 1, release = 0.1f;
  float gain = 1;
};

// Topology-preserving state-variable filter (stable under fast modulation).
struct svf {
  float ic1 = 0, ic2 = 0, a1 = 0, a2 = 0, a3 = 0, k = 1;
  void set(float hz, float q);
  void run(float* x, int n, filterKind kind);
};

// Attack, exponential decay to the sustain level, exponential release.
struct envelope {
  int stage = 0;  // 0 attack, 1 decay/sustain, 2 release, 3 done
  float level = 0, attackStep = 1, decayMul = 0, sustain = 1, releaseMul = 0;
  void start(const patch& p);
  void noteOff() { if (stage < 2) stage = 2; }
  float next();
};

// One sounding note.
struct noteEvent {
  int64_t start = 0;     // sample of the onset
  int32_t length = 0;    // samples until the note is released
  uint8_t channel = 0;
  float note = 60, velocity = 1, pan = 0;  // MIDI note (fractional allowed), 0 ... 1, -1 ... 1
};

struct voice {
  const patch* p = nullptr;
  noteEvent ev;
  int64_t age = 0;
  float phase[3] = {0, 0, 0}, subPhase = 0, modPhase = 0, vibPhase = 0;
  float side[3][2] = {};  // left and right gains of each copy of a wide patch
  float noisePrevIn = 0, noisePrevOut = 0, noiseEnv = 1, noiseMul = 1, fmEnv = 1, fmMul = 1;
  contentRng noise{1};
  svf filt, filtRight;
  envelope amp;
};

void startVoice(voice& v, const patch& p, const noteEvent& ev, uint64_t seed);
// Adds n samples of the voice into out; false once the voice has died away.
// With a right channel given, a patch whose copies spread renders them from
// left to right into out and right; otherwise everything goes to out.
bool renderVoice(voice& v, float* out, int n, float* right = nullptr);
// Whether renderVoice places this patch's copies apart when given two channels.
inline bool isWide(const patch& p) { return p.spread > 0 && p.oscCount > 1 && p.wave != waveFm && p.wave != waveNone; }

// Piecewise-linear automation over a position (bars or seconds).
struct curve {
  std::vector<float> at, value;
  curve() = default;
  curve(std::initializer_list<float> pairs);  // position, value, position, value ...
  float operator()(float x) const;
};

// Eight-line feedback delay network with damping and input diffusion.
struct reverb {
  std::vector<float> line[8], pre, diff[2];
  int len[8] = {}, pos[8] = {}, prePos = 0, diffPos[2] = {};
  float gain[8] = {}, damp[8] = {}, dampCoef = 0.3f;
  void init(float seconds, float damping, float preDelay);
  void run(const float* in, float* outL, float* outR, int n);
};

// Stereo ping-pong delay with a darkening feedback path.
struct pingPong {
  std::vector<float> bufL, bufR;
  int pos = 0;
  float feedback = 0.4f, lpCoef = 0.3f, lpL = 0, lpR = 0;
  void init(int samples, float fb, float tone);
  void run(const float* inL, const float* inR, float* outL, float* outR, int n);
};

// Look-ahead peak limiter: the output never exceeds the ceiling.
struct limiter {
  static constexpr int look = 64;
  float ceiling = 0.8f, releaseCoef = 0.0002f, held = 1;
  double sum = look;
  int quiet = look + 1;  // samples since one needed less than unit gain
  float delayL[look] = {}, delayR[look] = {}, gains[look] = {}, window[look + 1] = {};
  int pos = 0;
  limiter();
  void run(float* l, float* r, int n);
};

// One-pole high-pass at a few Hz that keeps the mix free of DC.
struct dcBlocker {
  float x1 = 0, y1 = 0;
  void run(float* x, int n);
};

float noteToHz(float note);
float sineCycle(float phase);  // sin(2 pi phase) from a table, phase in 0 ... 1
