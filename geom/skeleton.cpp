// skeleton.cpp -- the BVH token state machine (no OpenGL).
//
// Keywords act wherever they appear; every other token is data for the
// current state. Braces only move `current` back up the tree; nothing else
// about the layout is checked. A truncated file leaves its last frame
// incomplete, and tokens after the motion block are further motion values.
// Any whitespace separates tokens, so "\r\n", "\n" and a lone "\r" all end
// lines; a leading UTF-8 byte-order mark is skipped.
#include "geom/skeleton.h"

#include "geom/readfile.h"
#include "platform/faults.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int32_t channelCodeOf(std::string_view name) {
  static const char* const names[6] = {"Xposition", "Yposition", "Zposition",
                                       "Zrotation", "Xrotation", "Yrotation"};
  for (int32_t c = 0; c < 6; ++c)
    if (name == names[c]) return c;
  return -1;
}

// Joint names that get a limb part, and the part's file.
const char* partFileOf(std::string_view jointName) {
  static const char* const table[][2] = {
      {"LeftKnee", "Other/obj/leftforeleg.obj"},   {"RightKnee", "Other/obj/rightforeleg.obj"},
      {"LeftHip", "Other/obj/leftthigh.obj"},      {"RightHip", "Other/obj/rightthigh.obj"},
      {"LeftAnkle", "Other/obj/leftfoot.obj"},     {"RightAnkle", "Other/obj/rightfoot.obj"},
      {"Chest2", "Other/obj/torso.obj"},           {"LeftShoulder", "Other/obj/leftshoulder.obj"},
      {"RightShoulder", "Other/obj/rightshoulder.obj"}, {"LeftElbow", "Other/obj/leftforearm.obj"},
      {"RightElbow", "Other/obj/rightforearm.obj"}, {"LeftWrist", "Other/obj/lefthand.obj"},
      {"RightWrist", "Other/obj/righthand.obj"},   {"Neck", "Other/obj/neck.obj"},
      {"Head", "Other/obj/head.obj"}};
  for (const auto& row : table)
    if (jointName == row[0]) return row[1];
  return nullptr;
}

// Decimal text to double the way the C library reads it: a leading "+" is
// allowed, text that is no number reads as 0, out of range as +-inf or 0.
double toNumber(std::string_view s) {
  const char* p = s.data();
  const char* end = p + s.size();
  if (p < end && *p == '+') ++p;
  double v = 0;
  auto res = std::from_chars(p, end, v, std::chars_format::general);
  if (res.ec == std::errc::invalid_argument) return 0;
  if (res.ec == std::errc::result_out_of_range) v = std::strtod(std::string(p, res.ptr).c_str(), nullptr);
  return v;
}

int32_t toInteger(std::string_view s) {
  const char* p = s.data();
  const char* end = p + s.size();
  if (p < end && *p == '+') ++p;
  int32_t v = 0;
  if (std::from_chars(p, end, v).ec != std::errc()) return 0;
  return v;
}

}  // namespace

skeleton::skeleton(const std::string& path) {
  motionJoints.clear();
  verbose = true;
  load(path);
}

// A file without usable motion is said on standard error and in the log,
// and recorded: the production plays on without the figures, an offline run
// fails.
static void reportNoMotion(const std::string& path, const std::string& reason) {
  std::string what = "the motion file \"" + path + "\" " + reason + ": it has no motion; the walkers are left out";
  std::cerr << "obelisk: " << what << std::endl;
  std::cout << "obelisk: " << what << std::endl;
  recordFault(faultKind::playsOn, what);
}

void skeleton::load(const std::string& path) {
  channelIndex = jointIndex = valueCount = 0;
  translation.identity(), rotY.identity(), rotX.identity(), rotZ.identity();
  std::string text;
  if (!readWholeFile(path, text)) {
    std::cout << "File \"" << path << "\" not found.\n" << std::flush;
    reportNoMotion(path, "is not found");
    throw fileNotFound();
  }
  parseText(text);
  std::string damage = motionDamage();
  if (damage.empty()) {
    if (verbose) std::cout << "File \"" << path << "\" found.\n" << std::flush;
    return;
  }
  // Nothing of it is posed: the figure draws nothing rather than NaN or a
  // skeleton frozen in its rest pose.
  root = current = nullptr;
  motionJoints.clear();
  allJoints.clear();
  frameCount = 0;
  reportNoMotion(path, "is damaged (" + damage + ")");
}

std::string skeleton::motionDamage() const {
  if (!root) return "no ROOT joint";
  bool anyTakesValues = false;
  for (const joint* j : motionJoints) anyTakesValues = anyTakesValues || !j->channels.empty();
  if (!anyTakesValues) return "no joint takes motion values";
  if (root->frames.size() < 2) return "no complete frame of motion";
  if (nonFinite) return "a number that is not finite";
  return std::string();
}

void skeleton::parseText(std::string_view text) {
  text = skipByteOrderMark(text);
  state = stIdle;
  const char* p = text.data();
  const char* end = p + text.size();
  while (true) {
    while (p < end && isSpace(*p)) ++p;
    if (p == end) break;
    const char* start = p;
    while (p < end && !isSpace(*p)) ++p;
    parseToken(std::string_view(start, size_t(p - start)));
  }
  frameCount = root ? int32_t(root->frames.size()) : 0;
  logSummary();
}

void skeleton::logSummary() {
  std::cout << "frames: " << frameCount << "\n" << std::flush;
  if (!verbose) return;
  std::cout << "framesNum = " << frameCount << "\nframetime = " << frameTime << "\n";
  int64_t parts = frameCount > 0 ? int64_t(valueCount) / (int64_t(frameCount) * 3) - 1 : 0;
  std::cout << parts << " bodyparts\n" << std::flush;
}

joint* skeleton::newJoint(joint* parent) {
  allJoints.push_back(std::make_unique<joint>());
  joint* j = allJoints.back().get();
  j->parent = parent;
  if (parent) parent->children.push_back(j);
  return j;
}

// Rest poses, depth-first pre-order from the root: entry 0 of each joint is
// a translation by its offset; joints with children take motion values.
void skeleton::restPoses() {
  if (!root || posesBuilt) return;
  posesBuilt = true;
  std::vector<joint*> todo{root};
  while (!todo.empty()) {
    joint* j = todo.back();
    todo.pop_back();
    mat4 rest;
    rest.translate(j->offset.x, j->offset.y, j->offset.z);
    j->frames.push_back(rest);
    if (!j->children.empty()) motionJoints.push_back(j);
    for (size_t c = j->children.size(); c-- > 0;) todo.push_back(j->children[c]);
  }
}

// One step of the state machine: a keyword acts, anything else is data.
void skeleton::parseToken(std::string_view t) {
  if (t == "HIERARCHY") std::cout << state << "\n" << std::flush;
  else if (t == "OFFSET") offsetIndex = 0, state = stOffset;
  else if (t == "ROOT") root = current = newJoint(nullptr), state = stRootName;
  else if (t == "{") return;
  else if (t == "}") {
    if (current && current != root) current = current->parent;
    state = stIdle;
  } else if (t == "JOINT") current = newJoint(current), state = stJointName;
  else if (t == "CHANNELS") channelsExpected = channelsNamed = 0, state = stChannels;
  else if (t == "End") state = stEnd;
  else if (t == "Site") current = newJoint(current), state = stIdle;
  else if (t == "MOTION") state = stMotion;
  else if (t == "Frames:") state = stFrames;
  else if (t == "Frame") state = stFrame;
  else if (t == "Time:") state = stFrameTime;
  else dataToken(t);
}

void skeleton::dataToken(std::string_view t) {
  switch (state) {
    case stOffset:
      if (current) {
        float v = float(toNumber(t));
        nonFinite = nonFinite || !std::isfinite(v);
        vec3& o = current->offset;
        (offsetIndex == 0 ? o.x : offsetIndex == 1 ? o.y : o.z) = v;
      }
      if (++offsetIndex == 3) state = stIdle;
      break;
    case stChannels: channelToken(t); break;
    case stJointName:
      current->name = std::string(t);
      if (const char* file = partFileOf(t)) {
        current->part = std::make_unique<rigid>(file);
        current->part->transform.m[10] = 1;  // undo the mirror every movable starts with
      }
      state = stIdle;
      break;
    case stRootName:
      if (current) current->name = std::string(t);
      state = stIdle;
      break;
    case stFrames: frameCount = toInteger(t), state = stIdle; break;
    case stFrameTime:
      frameTime = float(toNumber(t));
      nonFinite = nonFinite || !std::isfinite(frameTime);
      current = root;
      restPoses();
      state = stValues;
      break;
    case stValues: motionValue(t); break;
    default: break;
  }
}

// The count, then the names; an unknown name is counted but stores no code.
// A count that is not positive ends the line at once.
void skeleton::channelToken(std::string_view t) {
  if (channelsExpected == 0) {
    channelsExpected = toInteger(t);
    if (channelsExpected <= 0) channelsExpected = 0, state = stIdle;
    return;
  }
  int32_t code = channelCodeOf(t);
  if (code >= 0 && current) current->channels.push_back(code);
  if (++channelsNamed == channelsExpected) channelsExpected = channelsNamed = 0, state = stIdle;
}

// Moves jointIndex to the next joint that takes values. Joints without
// channels take none; once a frame is complete each of them gets the
// identity for it, so an incomplete last frame stores nothing for anyone.
void skeleton::nextValueJoint() {
  auto empty = [this](int32_t i) { return motionJoints[size_t(i)]->channels.empty(); };
  while (size_t(jointIndex) < motionJoints.size() && empty(jointIndex)) ++jointIndex;
  if (size_t(jointIndex) < motionJoints.size()) return;
  for (joint* j : motionJoints)
    if (j->channels.empty()) j->frames.push_back(mat4());
  jointIndex = 0;
  while (empty(jointIndex)) ++jointIndex;  // some motion joint has channels
}

// One motion value for channel channelIndex of motionJoints[jointIndex].
// The frame matrix is translation * Z * X * Y whatever order the channels
// are listed in; angles are degrees turned counter-clockwise.
void skeleton::motionValue(std::string_view t) {
  if (valueCount < INT32_MAX) ++valueCount;
  if (!anyChannels)
    for (joint* j : motionJoints) anyChannels = anyChannels || !j->channels.empty();
  if (!anyChannels) return;
  nextValueJoint();
  joint* j = motionJoints[size_t(jointIndex)];
  float v = float(toNumber(t));
  nonFinite = nonFinite || !std::isfinite(v);
  float a = float(-(double(v) * 3.141593 / 180.0));
  switch (j->channels[size_t(channelIndex)]) {
    case chanXpos: translation.translate(v, 0, 0); break;
    case chanYpos: translation.translate(0, v, 0); break;
    case chanZpos: translation.translate(0, 0, v); break;
    case chanZrot: rotZ.rotateZ(a); break;
    case chanXrot: rotX.rotateX(a); break;
    case chanYrot: rotY.rotateY(a); break;
  }
  if (size_t(++channelIndex) < j->channels.size()) return;
  j->frames.push_back(translation * rotZ * rotX * rotY);
  translation.identity(), rotY.identity(), rotX.identity(), rotZ.identity();
  ++jointIndex;
  channelIndex = 0;
  nextValueJoint();
}
