// music.cpp -- recipes of the music family: the score is played by the
// synthesizer block by block, mixed with a reverb and a delay, limited and
// streamed into the MP3 encoder. Deterministic: one thread, fixed seeds.
#include <algorithm>
#include <cmath>
#include <memory>

#include "content/content.h"
#include "content/mp3writer.h"
#include "content/score.h"

namespace {

constexpr int maxVoices = 128;
constexpr float masterGain = 1.12f;
constexpr float fadeStart = 449.0f, fadeEnd = 461.5f;  // seconds

struct mixer {
  channelDef channels[channelCount];
  std::vector<noteEvent> events;
  size_t nextEvent = 0;
  voice voices[maxVoices];
  bool live[maxVoices] = {};
  float panL[maxVoices] = {}, panR[maxVoices] = {};
  svf busFilter[channelCount][2];
  reverb room;
  pingPong echo;
  dcBlocker dcL, dcR;
  limiter peak;
  float busL[channelCount][synthBlock], busR[channelCount][synthBlock];
  float dryL[synthBlock], dryR[synthBlock], sendRev[synthBlock], sendDelL[synthBlock], sendDelR[synthBlock];
  float tmp[synthBlock];

  mixer() {
    scoreChannels(channels);
    scoreEvents(events);
    room.init(3.2f, 0.35f, 0.025f);
    // A dotted eighth: three sixteenths of the bar.
    echo.init(int(std::lround(scoreBarSeconds * 3 / 16 * synthRate)), 0.42f, 0.25f);
    peak.ceiling = 0.89f;  // about -1 dBFS, leaving room for the encoder's overshoot
  }

  // Starts the events whose onset falls before `end`; a voice slot is reused
  // only once its note has died away.
  void startEvents(int64_t blockStart, int64_t end, int* offsets) {
    while (nextEvent < events.size() && events[nextEvent].start < end) {
      const noteEvent& e = events[nextEvent];
      int slot = 0;
      while (slot < maxVoices && live[slot]) ++slot;
      if (slot < maxVoices) {
        const channelDef& c = channels[e.channel];
        startVoice(voices[slot], c.sound, e, 0x9e3779b97f4a7c15ULL ^ nextEvent);
        float pan = std::min(1.f, std::max(-1.f, c.pan + e.pan));
        panL[slot] = std::cos((pan + 1) * float(M_PI) / 4);
        panR[slot] = std::sin((pan + 1) * float(M_PI) / 4);
        live[slot] = true;
        offsets[slot] = int(std::max<int64_t>(0, e.start - blockStart));
      }
      ++nextEvent;
    }
  }

  void renderVoices(int64_t blockStart) {
    int offsets[maxVoices] = {};
    startEvents(blockStart, blockStart + synthBlock, offsets);
    for (int c = 0; c < channelCount; ++c) {
      std::fill(busL[c], busL[c] + synthBlock, 0.f);
      std::fill(busR[c], busR[c] + synthBlock, 0.f);
    }
    for (int v = 0; v < maxVoices; ++v) {
      if (!live[v]) continue;
      int off = offsets[v];
      std::fill(tmp, tmp + synthBlock, 0.f);
      live[v] = renderVoice(voices[v], tmp + off, synthBlock - off);
      int ch = voices[v].ev.channel;
      for (int i = off; i < synthBlock; ++i) {
        busL[ch][i] += panL[v] * tmp[i];
        busR[ch][i] += panR[v] * tmp[i];
      }
    }
  }

  // Channel buses into the dry mix and the effect sends.
  void mixBuses(float bar) {
    std::fill(dryL, dryL + synthBlock, 0.f);
    std::fill(dryR, dryR + synthBlock, 0.f);
    std::fill(sendRev, sendRev + synthBlock, 0.f);
    std::fill(sendDelL, sendDelL + synthBlock, 0.f);
    std::fill(sendDelR, sendDelR + synthBlock, 0.f);
    for (int c = 0; c < channelCount; ++c) {
      const channelDef& d = channels[c];
      if (!d.cutoff.at.empty()) {
        for (int s = 0; s < 2; ++s) busFilter[c][s].set(d.cutoff(bar), 0.8f);
        busFilter[c][0].run(busL[c], synthBlock, filterLow);
        busFilter[c][1].run(busR[c], synthBlock, filterLow);
      }
      for (int i = 0; i < synthBlock; ++i) {
        float l = d.gain * busL[c][i], r = d.gain * busR[c][i];
        dryL[i] += l;
        dryR[i] += r;
        sendRev[i] += d.reverbSend * 0.5f * (l + r);
        sendDelL[i] += d.delaySend * l;
        sendDelR[i] += d.delaySend * r;
      }
    }
  }

  // One block of the finished stereo signal.
  void renderBlock(int64_t blockStart, float* outL, float* outR) {
    renderVoices(blockStart);
    mixBuses(float(double(blockStart) / synthRate / scoreBarSeconds));
    float echoL[synthBlock] = {}, echoR[synthBlock] = {};
    echo.run(sendDelL, sendDelR, echoL, echoR, synthBlock);
    for (int i = 0; i < synthBlock; ++i) sendRev[i] += 0.3f * (echoL[i] + echoR[i]);
    std::copy(dryL, dryL + synthBlock, outL);
    std::copy(dryR, dryR + synthBlock, outR);
    for (int i = 0; i < synthBlock; ++i) outL[i] += echoL[i], outR[i] += echoR[i];
    room.run(sendRev, outL, outR, synthBlock);
    dcL.run(outL, synthBlock);
    dcR.run(outR, synthBlock);
    for (int i = 0; i < synthBlock; ++i) {
      float t = float(double(blockStart + i) / synthRate);
      float u = std::min(1.f, std::max(0.f, (t - fadeStart) / (fadeEnd - fadeStart)));
      float g = masterGain * 0.5f * (1 + std::cos(float(M_PI) * u));
      outL[i] *= g;
      outR[i] *= g;
    }
    peak.run(outL, outR, synthBlock);
  }
};

bool makeTrack(const std::string& path) {
  std::unique_ptr<mixer> mix(new mixer());
  mp3Writer out;
  if (!out.open(path, 160)) return false;
  const int64_t total = int64_t(std::llround(scoreSeconds * synthRate));
  float l[synthBlock], r[synthBlock];
  // The limiter delays the signal by its look-ahead: sample i of block s is
  // sample s + i - look of the track.
  for (int64_t s = 0; s < total + limiter::look; s += synthBlock) {
    mix->renderBlock(s, l, r);
    int64_t begin = std::max<int64_t>(0, limiter::look - s);
    int64_t end = std::min<int64_t>(synthBlock, total + limiter::look - s);
    if (end > begin && !out.write(l + begin, r + begin, int(end - begin))) return false;
  }
  return out.finish();
}

}  // namespace

void addMusicRecipes(std::vector<recipe>& out) {
  out.push_back({"music//Nauvo and Kestrel - driftwork.mp3", makeTrack});
}
