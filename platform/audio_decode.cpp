// audio_decode.cpp -- the MP3 decoding the back ends share, on libmpg123,
// and the words for why the audio could not start.
// Every rate the decoder knows comes out as signed 16-bit stereo.
#include <mpg123.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/audio.h"
#include "platform/audio_decode.h"

static std::string failure;  // why the last init or load failed

void audioSetFailure(const std::string& reason) { failure = reason; }
std::string audioFailure() { return failure; }


// ---- decoding ------------------------------------------------------------------------
// Every rate the decoder knows, always as signed 16-bit stereo.
// The helpers below leave why they failed in `reason`: they also run on the
// thread of a decode ahead, which must not touch the shared failure text.
static mpg123_handle* openDecoder(const std::string& fileName, std::string& reason) {
  int err = MPG123_OK;
  mpg123_handle* mh = mpg123_new(nullptr, &err);
  if (!mh) return nullptr;
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_FORCE_STEREO | MPG123_GAPLESS | MPG123_QUIET, 0.0);
  mpg123_format_none(mh);
  const long* rates = nullptr;
  size_t count = 0;
  mpg123_rates(&rates, &count);
  for (size_t i = 0; i < count; ++i) mpg123_format(mh, rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16);
  if (mpg123_open(mh, fileName.c_str()) != MPG123_OK) {
    FILE* f = std::fopen(fileName.c_str(), "rb");
    reason = f ? std::string(mpg123_strerror(mh)) : std::string(std::strerror(errno));
    if (f) std::fclose(f);
    mpg123_delete(mh);
    return nullptr;
  }
  return mh;
}

// Reads to the end; the first format fixes the rate. A hard error before any
// audio means the file is unreadable; after some audio it ends the track.
static bool readAll(mpg123_handle* mh, decodedTrack& track, bool keepSamples, std::string& reason) {
  std::vector<unsigned char> buffer(65536);
  uint64_t frames = 0;
  for (;;) {
    size_t done = 0;
    int rc = mpg123_read(mh, buffer.data(), buffer.size(), &done);
    if (rc == MPG123_NEW_FORMAT && track.frequency == 0) {
      long rate = 0;
      int channels = 0, encoding = 0;
      mpg123_getformat(mh, &rate, &channels, &encoding);
      track.frequency = int(rate);
    }
    size_t pairs = done / 4;
    if (keepSamples && pairs > 0) {
      const int16_t* s = reinterpret_cast<const int16_t*>(buffer.data());
      track.samples.insert(track.samples.end(), s, s + pairs * 2);
    }
    frames += pairs;
    if (rc == MPG123_DONE) break;
    if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) {
      if (frames == 0) {
        reason = mpg123_strerror(mh);
        return false;
      }
      break;
    }
  }
  if (frames == 0 || frames > UINT32_MAX || track.frequency <= 0) {
    reason = "no MPEG audio in the file";
    return false;
  }
  track.frames = uint32_t(frames);
  return true;
}

static bool decodeFile(const std::string& fileName, decodedTrack& track, bool keepSamples,
                       std::string& reason) {
  track = decodedTrack();
  mpg123_init();  // older libraries need it once; later ones ignore it
  mpg123_handle* mh = openDecoder(fileName, reason);
  if (!mh) {
    if (reason.empty()) reason = "the decoder could not start";
    return false;
  }
  bool ok = readAll(mh, track, keepSamples, reason);
  mpg123_close(mh);
  mpg123_delete(mh);
  if (!ok) track = decodedTrack();
  track.samples.shrink_to_fit();
  return ok;
}

// ---- decoding ahead ------------------------------------------------------------------
namespace {

struct aheadDecode {
  std::thread thread;
  std::string fileName;
  bool keepSamples = false;
  // Written by the thread, read after the join.
  decodedTrack track;
  bool ok = false;
  std::string reason;

  ~aheadDecode() { finish(); }
  void finish() {
    if (thread.joinable()) thread.join();
  }
};

aheadDecode ahead;

}  // namespace

void decodeAhead(const std::string& fileName, bool keepSamples) {
  ahead.finish();
  ahead.fileName = fileName;
  ahead.keepSamples = keepSamples;
  ahead.reason.clear();
  mpg123_init();  // here, before the thread: older libraries want it called once, first
  ahead.thread = std::thread([] {
    ahead.ok = decodeFile(ahead.fileName, ahead.track, ahead.keepSamples, ahead.reason);
  });
}

bool decodeMp3(const std::string& fileName, decodedTrack& track, bool keepSamples) {
  bool ok = false;
  std::string reason;
  if (ahead.thread.joinable() && ahead.fileName == fileName && ahead.keepSamples == keepSamples) {
    ahead.finish();
    track = std::move(ahead.track);
    ahead.track = decodedTrack();
    ok = ahead.ok;
    reason = ahead.reason;
  } else {
    ok = decodeFile(fileName, track, keepSamples, reason);
  }
  if (!ok) audioSetFailure(reason);
  return ok;
}
