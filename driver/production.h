// production.h -- the production's fixed facts that start-up, the frame
// driver, the timeline and the shell share.
#pragma once

constexpr double DemoEnd = 455.5;  // demo time at which the production ends
constexpr const char* MusicFile = "music//Nauvo and Kestrel - driftwork.mp3";  // the one track
constexpr double MusicStillLimit = 0.5;  // seconds of a still music position before its clock counts as lost
