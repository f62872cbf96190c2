// route_strokes.cpp -- the stroke frames of the line drawing: the frame
// list, the binary frame reader and the frame a time plays.
#include <algorithm>
#include <cstdio>
#include <iostream>

#include "platform/files.h"
#include "scenes/route.h"

void listStrokeFrames(std::vector<std::string>& list, const char* pattern, const char* prefix,
                      bool clear) {
  if (clear) list.clear();
  std::vector<std::string> names = platformFindFiles(pattern);
  // The system gives the names in an order of its own; the frames are
  // numbered and must play in order.
  std::sort(names.begin(), names.end());
  for (size_t i = 0; i < names.size(); ++i) {
    list.push_back(std::string(prefix) + names[i]);
    if (i > 0) std::cout << list.back() << std::endl;
  }
}

static int32_t readInt32(const unsigned char* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

static uint16_t readUint16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

static std::vector<unsigned char> readWholeFile(FILE* f) {
  std::vector<unsigned char> data;
  unsigned char buf[65536];
  size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + got);
  return data;
}

void readStrokeFrame(const char* name, std::vector<route>& strokes) {
  FILE* f = std::fopen(name, "rb");
  if (!f) return;
  std::vector<unsigned char> data = readWholeFile(f);
  std::fclose(f);
  strokes.clear();
  if (data.size() < 4) return;
  long strokeCount = readInt32(data.data());
  size_t at = 4;
  for (long s = 0; s < strokeCount; ++s) {
    if (data.size() - at < 4) return;
    long pointCount = readInt32(data.data() + at);
    // A negative count, or one that runs past the end, ends the frame here.
    if (pointCount < 0 || size_t(pointCount) > (data.size() - at - 4) / 6) return;
    at += 4;
    route stroke;
    stroke.points.reserve(size_t(pointCount));
    for (long i = 0; i < pointCount; ++i, at += 6) {
      const unsigned char* p = data.data() + at;
      stroke.points.push_back(vec3(float(int16_t(readUint16(p))) / 15000.0f,
                                   float(int16_t(readUint16(p + 2))) / 15000.0f,
                                   float(readUint16(p + 4)) / 255.0f));
    }
    stroke.count = int(pointCount);
    strokes.push_back(std::move(stroke));
  }
}

int strokeFrameIndex(double t) {
  float k = float(StrokeFramesPerSecond * t);
  if (!(k < float(LastStrokeFrame))) return LastStrokeFrame;
  return k < 0 ? int(std::max(k, -2147483648.0f)) : int(k);
}

std::string strokeFrameName(const std::vector<std::string>& list, int k) {
  if (list.empty()) return std::string();
  long n = long(list.size());
  long i = long(k) % n;
  if (i < 0) i += n;
  return list[size_t(i)];
}
