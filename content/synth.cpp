// synth.cpp -- the synthesis operators of synth.h.
#include "content/synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int sineSize = 4096;
const float twoPi = 6.28318530718f;

struct sineTableHolder {
  float v[sineSize + 1];
  sineTableHolder() {
    for (int i = 0; i <= sineSize; ++i) v[i] = float(std::sin(2.0 * M_PI * i / sineSize));
  }
};
const sineTableHolder sineTable;

// Multiplier that makes a level fall by 60 dB in the given time.
float fall60(float seconds) {
  if (seconds <= 0) return 0;
  return float(std::exp(std::log(0.001) / (double(seconds) * synthRate)));
}

// Residual that removes the step of a naive saw or square at a phase wrap.
inline float polyBlep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1;
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return t * t + t + t + 1;
  }
  return 0;
}

inline float wrap(float p) { return p >= 1 ? p - 1 : p; }

// One oscillator copy: n samples added into out.
void addOsc(waveKind wave, float& phase, float inc, float* out, int n, float gain) {
  float p = phase;
  switch (wave) {
    case waveSine:
      for (int i = 0; i < n; ++i, p = wrap(p + inc)) out[i] += gain * sineCycle(p);
      break;
    case waveSaw:
      for (int i = 0; i < n; ++i, p = wrap(p + inc)) out[i] += gain * (2 * p - 1 - polyBlep(p, inc));
      break;
    case waveSquare:
      for (int i = 0; i < n; ++i, p = wrap(p + inc)) {
        float s = (p < 0.5f ? 1.f : -1.f) + polyBlep(p, inc) - polyBlep(wrap(p + 0.5f), inc);
        out[i] += gain * s;
      }
      break;
    case waveTriangle:
      for (int i = 0; i < n; ++i, p = wrap(p + inc)) out[i] += gain * (4 * std::fabs(p - 0.5f) - 1);
      break;
    default:
      break;
  }
  phase = p;
}

// Two-operator FM: a sine carrier whose phase a decaying sine modulator moves.
void addFm(voice& v, float inc, float* out, int n) {
  const patch& p = *v.p;
  float pc = v.phase[0], pm = v.modPhase, minc = inc * p.fmRatio;
  float depth = p.fmIndex / twoPi;
  for (int i = 0; i < n; ++i) {
    float m = sineCycle(pm) * depth * v.fmEnv;
    float ph = pc + m;
    ph -= std::floor(ph);
    out[i] += sineCycle(ph);
    pc = wrap(pc + inc);
    pm = wrap(pm + minc);
    v.fmEnv *= v.fmMul;
  }
  v.phase[0] = pc;
  v.modPhase = pm;
}

void addNoise(voice& v, float* out, int n) {
  const patch& p = *v.p;
  float a = p.noiseHighpass > 0 ? float(1.0 / (1.0 + twoPi * p.noiseHighpass / synthRate)) : 1.f;
  for (int i = 0; i < n; ++i) {
    float w = float(int32_t(v.noise.next())) * (1.f / 2147483648.f);
    float y = p.noiseHighpass > 0 ? a * (v.noisePrevOut + w - v.noisePrevIn) : w;
    v.noisePrevIn = w;
    v.noisePrevOut = y;
    out[i] += p.noiseLevel * v.noiseEnv * y;
    v.noiseEnv *= v.noiseMul;
  }
}

// Pitch of the voice for the coming tick, in Hz.
float tickFrequency(voice& v, float seconds) {
  const patch& p = *v.p;
  float note = v.ev.note;
  if (p.pitchDrop != 0) note += p.pitchDrop * std::exp(-seconds / p.pitchDecay);
  if (p.vibDepth > 0) {
    note += p.vibDepth * sineCycle(v.vibPhase);
    v.vibPhase += p.vibRate * synthTick / float(synthRate);
    v.vibPhase -= std::floor(v.vibPhase);
  }
  return noteToHz(note);
}

// Filter cutoff for the coming tick, in Hz.
float tickCutoff(const voice& v, float seconds) {
  const patch& p = *v.p;
  float oct = p.keyTrack * (v.ev.note - 60) / 12.f;
  if (p.cutoffEnv != 0) oct += p.cutoffEnv * std::exp(-seconds / p.cutoffDecay);
  if (p.sweep != 0 && v.ev.length > 0)
    oct += p.sweep * std::min(1.f, float(v.age) / float(v.ev.length));
  return p.cutoff * std::exp2(oct);
}

// One control tick of n <= synthTick samples, added into out (and right,
// for a wide patch).
void renderTick(voice& v, float* out, float* right, int n) {
  const patch& p = *v.p;
  float buf[synthTick] = {}, bufR[synthTick] = {};
  float seconds = float(v.age) / synthRate;
  float inc = std::min(tickFrequency(v, seconds) / synthRate, 0.45f);
  if (p.wave == waveFm) {
    addFm(v, inc, buf, n);
  } else if (p.wave != waveNone) {
    float g = 1.f / float(p.oscCount);
    for (int c = 0; c < p.oscCount; ++c) {
      float cents = p.detune * (float(c) - 0.5f * float(p.oscCount - 1));
      float copyInc = std::min(inc * std::exp2(cents / 1200.f), 0.45f);
      if (!right) {
        addOsc(p.wave, v.phase[c], copyInc, buf, n, g);
        continue;
      }
      float one[synthTick] = {}, gl = v.side[c][0], gr = v.side[c][1];
      addOsc(p.wave, v.phase[c], copyInc, one, n, g);
      for (int i = 0; i < n; ++i) buf[i] += gl * one[i], bufR[i] += gr * one[i];
    }
  }
  float common[synthTick] = {};
  if (p.subLevel > 0) addOsc(waveSine, v.subPhase, inc * p.subRatio, common, n, p.subLevel);
  if (p.noiseLevel > 0) addNoise(v, common, n);
  for (int i = 0; i < n; ++i) buf[i] += common[i];
  if (right)
    for (int i = 0; i < n; ++i) bufR[i] += common[i];
  if (p.filter != filterOff) {
    float hz = tickCutoff(v, seconds);
    v.filt.set(hz, p.resonance);
    v.filt.run(buf, n, p.filter);
    if (right) {
      v.filtRight.set(hz, p.resonance);
      v.filtRight.run(bufR, n, p.filter);
    }
  }
  float g = p.gain * v.ev.velocity;
  for (int i = 0; i < n; ++i) {
    if (v.age + i == v.ev.length) v.amp.noteOff();
    float a = g * v.amp.next();
    out[i] += a * buf[i];
    if (right) right[i] += a * bufR[i];
  }
  v.age += n;
}

}  // namespace

float sineCycle(float phase) {
  float x = phase * sineSize;
  int i = int(x);
  float f = x - float(i);
  i &= sineSize - 1;
  return sineTable.v[i] + f * (sineTable.v[i + 1] - sineTable.v[i]);
}

float noteToHz(float note) { return 440.f * std::exp2((note - 69.f) / 12.f); }

void svf::set(float hz, float q) {
  hz = std::min(std::max(hz, 20.f), 0.45f * synthRate);
  float g = std::tan(float(M_PI) * hz / synthRate);
  k = 1.f / q;
  a1 = 1.f / (1.f + g * (g + k));
  a2 = g * a1;
  a3 = g * a2;
}

void svf::run(float* x, int n, filterKind kind) {
  for (int i = 0; i < n; ++i) {
    float v3 = x[i] - ic2;
    float v1 = a1 * ic1 + a2 * v3;
    float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2 * v1 - ic1;
    ic2 = 2 * v2 - ic2;
    x[i] = kind == filterLow ? v2 : kind == filterBand ? v1 : x[i] - k * v1 - v2;
  }
}

void envelope::start(const patch& p) {
  stage = 0;
  level = 0;
  attackStep = 1.f / std::max(1.f, p.attack * synthRate);
  decayMul = fall60(p.decay);
  sustain = p.sustain;
  releaseMul = fall60(std::max(p.release, 0.004f));
}

float envelope::next() {
  switch (stage) {
    case 0:
      level += attackStep;
      if (level >= 1) level = 1, stage = 1;
      break;
    case 1:
      level = sustain + (level - sustain) * decayMul;
      break;
    case 2:
      level *= releaseMul;
      if (level < 1e-4f) level = 0, stage = 3;
      break;
    default:
      level = 0;
  }
  return level;
}

void startVoice(voice& v, const patch& p, const noteEvent& ev, uint64_t seed) {
  v = voice();
  v.p = &p;
  v.ev = ev;
  v.noise = contentRng(seed);
  for (int c = 0; c < 3; ++c) v.phase[c] = c == 0 ? 0.f : float(v.noise.uniform());
  // Constant power across the copies' places; a centred copy is as loud on
  // each side as in the mono sum.
  for (int c = 0; c < p.oscCount && isWide(p); ++c) {
    float place = p.spread * (2.f * float(c) / float(p.oscCount - 1) - 1.f);
    float angle = (place + 1) * 0.25f * float(M_PI);
    v.side[c][0] = 1.41421356f * std::cos(angle);
    v.side[c][1] = 1.41421356f * std::sin(angle);
  }
  v.noiseMul = fall60(p.noiseDecay);
  v.fmMul = fall60(p.fmDecay);
  v.amp.start(p);
}

bool renderVoice(voice& v, float* out, int n, float* right) {
  if (right && !isWide(*v.p)) right = nullptr;
  for (int done = 0; done < n && v.amp.stage < 3;) {
    int m = std::min(synthTick, n - done);
    renderTick(v, out + done, right ? right + done : nullptr, m);
    done += m;
    // A decayed note without sustain ends before its release.
    if (v.amp.stage == 1 && v.amp.sustain <= 0 && v.amp.level < 1e-4f) v.amp.stage = 3;
  }
  return v.amp.stage < 3;
}

curve::curve(std::initializer_list<float> pairs) {
  for (auto it = pairs.begin(); it + 1 < pairs.end(); it += 2) {
    at.push_back(it[0]);
    value.push_back(it[1]);
  }
}

float curve::operator()(float x) const {
  if (at.empty()) return 0;
  if (x <= at.front()) return value.front();
  for (size_t i = 1; i < at.size(); ++i) {
    if (x > at[i]) continue;
    float f = (x - at[i - 1]) / std::max(at[i] - at[i - 1], 1e-6f);
    return value[i - 1] + f * (value[i] - value[i - 1]);
  }
  return value.back();
}

void reverb::init(float seconds, float damping, float preDelay) {
  // Mutually prime line lengths between 30 and 80 ms avoid stacked echoes.
  const int lengths[8] = {1327, 1559, 1801, 2053, 2371, 2719, 3089, 3527};
  for (int i = 0; i < 8; ++i) {
    len[i] = lengths[i];
    line[i].assign(size_t(len[i]), 0.f);
    gain[i] = float(std::pow(10.0, -3.0 * len[i] / (double(seconds) * synthRate)));
  }
  dampCoef = damping;
  pre.assign(size_t(std::max(1, int(preDelay * synthRate))), 0.f);
  diff[0].assign(227, 0.f);
  diff[1].assign(601, 0.f);
}

void reverb::run(const float* in, float* outL, float* outR, int n) {
  const int preLen = int(pre.size());
  for (int s = 0; s < n; ++s) {
    float x = pre[size_t(prePos)];
    pre[size_t(prePos)] = in[s];
    prePos = prePos + 1 == preLen ? 0 : prePos + 1;
    for (int d = 0; d < 2; ++d) {  // Schroeder all-passes smear the onsets
      std::vector<float>& b = diff[d];
      float z = b[size_t(diffPos[d])], w = x + 0.6f * z;
      b[size_t(diffPos[d])] = w;
      x = z - 0.6f * w;
      diffPos[d] = diffPos[d] + 1 == int(b.size()) ? 0 : diffPos[d] + 1;
    }
    float y[8];
    for (int i = 0; i < 8; ++i) {
      damp[i] += dampCoef * (line[i][size_t(pos[i])] - damp[i]);
      y[i] = damp[i] * gain[i];
    }
    for (int h = 1; h < 8; h <<= 1)  // Hadamard mixing, normalised below
      for (int i = 0; i < 8; ++i)
        if (!(i & h)) {
          float a = y[i], b = y[i + h];
          y[i] = a + b;
          y[i + h] = a - b;
        }
    const float norm = 0.35355339f;
    for (int i = 0; i < 8; ++i) {
      line[i][size_t(pos[i])] = y[i] * norm + ((i & 1) ? -x : x);
      pos[i] = pos[i] + 1 == len[i] ? 0 : pos[i] + 1;
    }
    outL[s] += 0.25f * (damp[0] - damp[2] + damp[4] - damp[6]);
    outR[s] += 0.25f * (damp[1] - damp[3] + damp[5] - damp[7]);
  }
}

void pingPong::init(int samples, float fb, float tone) {
  bufL.assign(size_t(samples), 0.f);
  bufR.assign(size_t(samples), 0.f);
  feedback = fb;
  lpCoef = tone;
}

void pingPong::run(const float* inL, const float* inR, float* outL, float* outR, int n) {
  const int len = int(bufL.size());
  for (int s = 0; s < n; ++s) {
    float l = bufL[size_t(pos)], r = bufR[size_t(pos)];
    lpL += lpCoef * (l - lpL);
    lpR += lpCoef * (r - lpR);
    // The input enters on the left; each repeat crosses to the other side.
    bufL[size_t(pos)] = 0.5f * (inL[s] + inR[s]) + feedback * lpR;
    bufR[size_t(pos)] = feedback * lpL;
    outL[s] += l;
    outR[s] += r;
    pos = pos + 1 == len ? 0 : pos + 1;
  }
}

limiter::limiter() {
  for (int i = 0; i < look; ++i) gains[i] = 1;
  for (int i = 0; i <= look; ++i) window[i] = 1;
}

// The gain applied to a sample is the mean of the last `look` held minima of
// the required gains, each of which covers that sample: so it is never above
// what the sample needs, and it moves smoothly.
void limiter::run(float* l, float* r, int n) {
  for (int s = 0; s < n; ++s) {
    float peak = std::max(std::fabs(l[s]), std::fabs(r[s]));
    float need = peak > ceiling ? ceiling / peak : 1.f;
    window[pos % (look + 1)] = need;
    quiet = need < 1 ? 0 : quiet + 1;
    float m = 1;
    if (quiet <= look)
      for (int i = 0; i <= look; ++i) m = std::min(m, window[i]);
    held = std::min(m, held + (1 - held) * releaseCoef);
    int slot = pos % look;
    sum += held - gains[slot];
    gains[slot] = held;
    float g = std::min(1.f, float(sum / look));
    float dl = delayL[slot], dr = delayR[slot];
    delayL[slot] = l[s];
    delayR[slot] = r[s];
    l[s] = std::min(std::max(dl * g, -ceiling), ceiling);
    r[s] = std::min(std::max(dr * g, -ceiling), ceiling);
    pos = (pos + 1) % (look * (look + 1));
  }
}

void dcBlocker::run(float* x, int n) {
  for (int i = 0; i < n; ++i) {
    float y = x[i] - x1 + 0.9995f * y1;
    x1 = x[i];
    y1 = y;
    x[i] = y;
  }
}
