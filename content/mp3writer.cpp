// mp3writer.cpp -- the MP3 writer of mp3writer.h.
#include "content/mp3writer.h"

#include <lame/lame.h>

bool mp3Writer::open(const std::string& path, int kbps) {
  lame = lame_init();
  if (!lame) return false;
  lame_set_in_samplerate(lame, 44100);
  lame_set_out_samplerate(lame, 44100);
  lame_set_num_channels(lame, 2);
  lame_set_mode(lame, JOINT_STEREO);
  lame_set_brate(lame, kbps);
  lame_set_VBR(lame, vbr_off);
  lame_set_quality(lame, 5);
  lame_set_bWriteVbrTag(lame, 1);
  lame_set_write_id3tag_automatic(lame, 0);
  if (lame_init_params(lame) < 0) return false;
  file = std::fopen(path.c_str(), "wb");
  ok = file != nullptr;
  return ok;
}

bool mp3Writer::write(const float* left, const float* right, int n) {
  if (!ok) return false;
  size_t need = size_t(n) * 5 / 4 + 7200;  // the bound lame.h gives
  if (buffer.size() < need) buffer.resize(need);
  int bytes = lame_encode_buffer_ieee_float(lame, left, right, n, buffer.data(), int(buffer.size()));
  if (bytes < 0 || std::fwrite(buffer.data(), 1, size_t(bytes), file) != size_t(bytes)) ok = false;
  return ok;
}

bool mp3Writer::finish() {
  if (!ok) return false;
  if (buffer.size() < 7200) buffer.resize(7200);
  int bytes = lame_encode_flush(lame, buffer.data(), int(buffer.size()));
  if (bytes < 0 || std::fwrite(buffer.data(), 1, size_t(bytes), file) != size_t(bytes)) ok = false;
  // The stream starts with the placeholder frame: overwrite it with the tag.
  unsigned char tag[4096];
  size_t tagBytes = lame_get_lametag_frame(lame, tag, sizeof tag);
  if (ok && (tagBytes == 0 || tagBytes > sizeof tag)) ok = false;
  if (ok && (std::fseek(file, 0, SEEK_SET) != 0 || std::fwrite(tag, 1, tagBytes, file) != tagBytes))
    ok = false;
  if (std::fclose(file) != 0) ok = false;
  file = nullptr;
  return ok;
}

mp3Writer::~mp3Writer() {
  if (file) std::fclose(file);
  if (lame) lame_close(lame);
}
