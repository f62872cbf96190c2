// music.cpp -- recipes of the music family: the score is played by the
// synthesizer block by block, mixed with a hall, a room and a delay, high-passed,
// limited and streamed into the MP3 encoder. Deterministic: one thread, fixed seeds.
#include <algorithm>
#include <cmath>
#include <memory>

#include "content/content.h"
#include "content/mp3writer.h"
#include "content/score.h"

namespace {

constexpr int maxVoices = 128;
constexpr float masterGain = 1.65f;
// The last chord rings from bar 209; the tail is faded to silence before the
// production ends at 455.5 s, and the rest of the track is silent.
constexpr float fadeStart = 450.0f, fadeEnd = 455.0f;  // seconds
constexpr float lowCut = 32;                            // Hz, the master's high-pass

// The drums sit in a small room of their own; everything else, the crash and
// the riser included, goes to the hall.
bool inRoom(int channel) { return channel >= chKick && channel <= chTom && channel != chCrash && channel != chRiser; }

struct mixer {
  channelDef channels[channelCount];
  std::vector<noteEvent> events;
  size_t nextEvent = 0;
  voice voices[maxVoices];
  bool live[maxVoices] = {};
  float panL[maxVoices] = {}, panR[maxVoices] = {};
  svf busFilter[channelCount][2], lowCutL, lowCutR;
  reverb hall, room;
  pingPong echo;
  dcBlocker dcL, dcR;
  limiter peak;
  float busL[channelCount][synthBlock], busR[channelCount][synthBlock];
  bool used[channelCount] = {};  // whether a voice played on the bus in this block
  float dryL[synthBlock], dryR[synthBlock], sendRev[synthBlock], sendRoom[synthBlock];
  float sendDelL[synthBlock], sendDelR[synthBlock];
  float tmp[synthBlock], tmpR[synthBlock];

  mixer() {
    scoreChannels(channels);
    scoreEvents(events);
    hall.init(3.2f, 0.35f, 0.025f);
    room.init(0.9f, 0.45f, 0.008f);
    lowCutL.set(lowCut, 0.7071f);
    lowCutR.set(lowCut, 0.7071f);
    // A dotted eighth: three sixteenths of the bar.
    echo.init(int(std::lround(scoreBarSeconds * 3 / 16 * synthRate)), 0.42f, 0.25f);
    peak.ceiling = 0.77f;  // about -2.3 dBFS, leaving room for the encoder's overshoot
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
    std::fill(used, used + channelCount, false);  // a bus is cleared when first played on
    for (int v = 0; v < maxVoices; ++v) {
      if (!live[v]) continue;
      int off = offsets[v];
      std::fill(tmp, tmp + synthBlock, 0.f);
      bool wide = isWide(*voices[v].p);
      if (wide) std::fill(tmpR, tmpR + synthBlock, 0.f);
      live[v] = renderVoice(voices[v], tmp + off, synthBlock - off, wide ? tmpR + off : nullptr);
      int ch = voices[v].ev.channel;
      if (!used[ch]) {
        std::fill(busL[ch], busL[ch] + synthBlock, 0.f);
        std::fill(busR[ch], busR[ch] + synthBlock, 0.f);
        used[ch] = true;
      }
      const float* right = wide ? tmpR : tmp;
      for (int i = off; i < synthBlock; ++i) {
        busL[ch][i] += panL[v] * tmp[i];
        busR[ch][i] += panR[v] * right[i];
      }
    }
  }

  bool busQuiet(int c) const {
    for (const svf& f : busFilter[c])
      if (std::fabs(f.ic1) + std::fabs(f.ic2) > 1e-9f) return false;
    return true;
  }

  // Channel buses into the dry mix and the effect sends.
  void mixBuses(float bar) {
    std::fill(dryL, dryL + synthBlock, 0.f);
    std::fill(dryR, dryR + synthBlock, 0.f);
    std::fill(sendRev, sendRev + synthBlock, 0.f);
    std::fill(sendRoom, sendRoom + synthBlock, 0.f);
    std::fill(sendDelL, sendDelL + synthBlock, 0.f);
    std::fill(sendDelR, sendDelR + synthBlock, 0.f);
    for (int c = 0; c < channelCount; ++c) {
      const channelDef& d = channels[c];
      // A silent bus adds nothing once its filter has rung out.
      if (!used[c] && (d.cutoff.at.empty() || busQuiet(c))) continue;
      if (!used[c]) {
        std::fill(busL[c], busL[c] + synthBlock, 0.f);
        std::fill(busR[c], busR[c] + synthBlock, 0.f);
        used[c] = true;
      }
      if (!d.cutoff.at.empty()) {
        for (int s = 0; s < 2; ++s) busFilter[c][s].set(d.cutoff(bar), 0.8f);
        busFilter[c][0].run(busL[c], synthBlock, filterLow);
        busFilter[c][1].run(busR[c], synthBlock, filterLow);
      }
      float* send = inRoom(c) ? sendRoom : sendRev;
      for (int i = 0; i < synthBlock; ++i) {
        float l = d.gain * busL[c][i], r = d.gain * busR[c][i];
        dryL[i] += l;
        dryR[i] += r;
        send[i] += d.reverbSend * 0.5f * (l + r);
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
    hall.run(sendRev, outL, outR, synthBlock);
    room.run(sendRoom, outL, outR, synthBlock);
    lowCutL.run(outL, synthBlock, filterHigh);
    lowCutR.run(outR, synthBlock, filterHigh);
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
