// skeleton.h -- a BVH motion file read as a flat token stream by a small
// state machine into a tree of joints holding one matrix per frame.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "geom/mat4.h"
#include "geom/rigid.h"
#include "geom/vec3.h"

// Thrown when the motion file cannot be opened; the only exception of the
// program, left for the code that creates the figure to catch.
struct fileNotFound {};

// Channel codes as joint::channels stores them; other channel names get none.
enum channelCode : int32_t {
  chanXpos = 0, chanYpos = 1, chanZpos = 2, chanZrot = 3, chanXrot = 4, chanYrot = 5
};

class joint {
public:
  std::string name;             // empty for an end site
  vec3 offset;
  std::vector<mat4> frames;     // 0: rest pose (translation by offset); k: motion frame k - 1
  std::unique_ptr<rigid> part;  // a limb part for some joint names
  joint* parent = nullptr;
  std::vector<int32_t> channels;  // codes in file order
  std::vector<joint*> children;   // in file order
};

// Parser states.
enum bvhState : int32_t {
  stIdle = 0, stOffset = 1, stChannels = 2, stJointName = 3, stRootName = 4, stEnd = 5,
  stMotion = 7, stFrames = 8, stFrame = 9, stFrameTime = 10, stValues = 11
};

class skeleton {
public:
  skeleton() = default;
  // Loads path; a missing file logs a line and throws fileNotFound. A
  // missing file, or one without usable motion (motionDamage), is also said
  // on standard error and recorded as a fault; a damaged one loads as an
  // empty skeleton (no root), which poses and draws nothing.
  explicit skeleton(const std::string& path);
  skeleton(const skeleton&) = delete;
  skeleton& operator=(const skeleton&) = delete;

  bool verbose = true;
  joint* root = nullptr;
  float frameTime = 0;
  joint* current = nullptr;
  std::vector<joint*> motionJoints;  // joints with children, depth-first pre-order
  int32_t state = stIdle;
  int32_t offsetIndex = 0;
  int32_t channelIndex = 0;
  int32_t jointIndex = 0;
  int32_t valueCount = 0;
  int32_t channelsExpected = 0;
  int32_t channelsNamed = 0;  // names read on the pending CHANNELS line, unknown ones too
  mat4 translation, rotY, rotX, rotZ;
  int32_t frameCount = 0;
  std::vector<std::unique_ptr<joint>> allJoints;  // owns every joint

  void load(const std::string& path);
  // Tokens of text in order through parseToken, then the closing log lines.
  void parseText(std::string_view text);
  void parseToken(std::string_view token);
  // Why what was parsed cannot move a figure (no root, no joint with
  // channels, no complete frame, a number that is not finite); empty when
  // it can.
  std::string motionDamage() const;

private:
  bool posesBuilt = false;   // rest poses are built once, on the first "Time:"
  bool anyChannels = false;  // some motion joint takes values
  bool nonFinite = false;    // an offset, frame time or value read as NaN or infinite
  joint* newJoint(joint* parent);
  void restPoses();
  void dataToken(std::string_view token);
  void channelToken(std::string_view token);
  void motionValue(std::string_view token);
  void nextValueJoint();
  void logSummary();
};
