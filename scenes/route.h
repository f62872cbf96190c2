// route.h -- recorded paths: the shake track, text routes and the stroke
// frames of the line drawing, all held as a uniform Catmull-Rom curve.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "geom/vec3.h"

// A list of points read as a uniform Catmull-Rom curve, with two optional
// per-point value lists (only the shake track fills them). A plain value:
// copying copies every list. A new route is open.
class route {
public:
  std::vector<vec3> points;
  std::vector<double> valuesA;  // shake track: the roll source
  std::vector<double> valuesB;
  std::vector<vec3> scratch;    // working space of the resampler
  int count = 0;                // number of points
  int degree = 3;
  bool closed = false;          // true: the curve wraps from the last point to the first
  double offset = 0;            // set to 0 by the readers
};

// Shake track: 28-byte records (float x, y, z; double A, B). Closes the loop
// over the last six records and smooths points, B and A. A missing file
// leaves the route untouched; a record holding a number that is not finite
// or beyond 1e18 is damage and ends the track.
void readShakeTrack(route& r, const char* name);

// Text route: an integer N, then N triples x y z, separated by any
// whitespace; a leading UTF-8 byte-order mark is skipped.
void readTextRoute(route& r, const char* name);

// Appends prefix + name for every file matching pattern ("Routes//prs_*.rt":
// the wildcards apply to the last path component), sorted by name so that
// numbered frames play in order. Every name after the first goes to the log.
void listStrokeFrames(std::vector<std::string>& list, const char* pattern, const char* prefix,
                      bool clear);

// Replaces strokes by the strokes of one frame file; a missing file leaves the
// list unchanged. Reading stops at the last complete stroke when a count is
// negative or runs past the end of the file.
void readStrokeFrame(const char* name, std::vector<route>& strokes);

// Point of the curve at parameter u (u = i gives point i). A u that is NaN
// or beyond +-9.2e18 gives the last point (positive) or the first.
void evaluate(const route& r, float u, vec3& out);

// Replaces the points by newCount points evenly spaced along the curve
// (arc length measured on the curve with subSteps samples per segment, or on
// the straight segments when subSteps < 2). Fewer than four points, or a
// newCount below 1, leave the route as it is.
void resample(route& r, int newCount, int subSteps);

// Stroke frames play at 18 per second and stop at the last recorded frame.
constexpr int StrokeFramesPerSecond = 18;
constexpr int LastStrokeFrame = 1580;
int strokeFrameIndex(double t);
// The file name of frame k of the list (wrapping); empty for an empty list.
std::string strokeFrameName(const std::vector<std::string>& list, int k);

// The shake sample for the signed index i (truncated from a time formula):
// i is taken as an unsigned 32-bit number modulo count - 1. A track of fewer
// than two points gives no shake: false, and out is the zero vector.
bool shakePoint(const route& r, double index, vec3& out);
// The record number shakePoint uses; -1 for a track of fewer than two points.
long shakeIndex(const route& r, double index);
