// Offline runs tell the truth: what they could not load, a video that is not
// whole and a stop signal end them with a code other than 0 and one line
// naming the cause. Each run uses a data folder of links to the baked one
// with the file in question replaced; runs are tiny (160 x 100, no
// antialiasing, 2 or 3 frames).
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/scenegl.h"
#include "tests/support/testfiles.h"

namespace fs = std::filesystem;

namespace {

const std::string Music = "music/Nauvo and Kestrel - driftwork.mp3";

// A data folder of links to the baked one, with a log folder of its own.
// Each folder of `opened` (a parent before its children) becomes a real
// folder of links, so that an entry in it can be replaced or removed.
std::string linkedData(const scratchDir& dir, const std::vector<std::string>& opened) {
  fs::path baked = fs::absolute(OBELISK_DATA_DIR), data = dir.path("data");
  fs::create_directories(data / "log");
  for (const auto& entry : fs::directory_iterator(baked))
    if (entry.path().filename() != "log") fs::create_symlink(entry.path(), data / entry.path().filename());
  for (const std::string& folder : opened) {
    fs::remove(data / folder);
    fs::create_directory(data / folder);
    for (const auto& entry : fs::directory_iterator(baked / folder))
      fs::create_symlink(entry.path(), data / folder / entry.path().filename());
  }
  return data.string();
}

// Replaces a linked file of the data folder by bytes of its own.
void replace(const std::string& data, const std::string& name, const std::string& bytes) {
  fs::remove(data + "/" + name);
  std::ofstream(data + "/" + name, std::ios::binary) << bytes;
}

std::string obelisk(const std::string& data, const std::string& args, const std::string& said) {
  return "cd '" + data + "' && exec env SDL_AUDIODRIVER=dummy " + OBELISK_EXE +
         " --headless --mode 160x100 --no-aa " + args + " >'" + said + "' 2>&1";
}

class offline : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fileExists(Music)) GTEST_SKIP() << "data folder not baked";
  }
  scratchDir dir;
};

}  // namespace

// One damaged input or failing output each; every run ends with its code,
// says what failed with the file's name, and writes no frame it should not.
TEST_F(offline, whatARunCouldNotLoadOrWriteEndsItWithOne) {
  struct offlineCase {
    const char* name;
    std::vector<std::string> opened;                    // folders made real in the data folder
    std::function<void(const std::string& data)> damage;
    std::string args;                                   // OUT stands for a path in the scratch folder
    int code;
    std::vector<std::string> said;                      // each on standard error
    bool needsFfmpeg;
  };
  const std::vector<offlineCase> cases = {
      {"a section without its shader folder", {"Part_theend"},
       [](const std::string& data) { fs::remove(data + "/Part_theend/shaders"); },
       "--capture OUT --frames 2", 1,
       {"obelisk: shader \"Part_theend//shaders//", "\" not found", "obelisk: the run fails: shader \"Part_theend//"},
       false},
      {"a shader that does not compile", {"Part_Intro", "Part_Intro/shaders"},
       [](const std::string& data) {
         replace(data, "Part_Intro/shaders/f_blurpass.cpp", "#version 430\nvoid main() { not glsl }\n");
       },
       "--capture OUT --frames 2", 1,
       {"obelisk: the run fails: cannot compile shader \"Part_Intro//shaders//f_blurpass.cpp\""}, false},
      {"a NaN in the velocity volume", {"textures"},
       [](const std::string& data) {
         std::string volume = readFile(OBELISK_DATA_DIR "/textures/velocity.dat");
         const float nan = std::nanf("");
         std::memcpy(&volume[4000], &nan, 4);
         replace(data, "textures/velocity.dat", volume);
       },
       "--capture OUT --frames 2", 1,
       {"obelisk: velocity volume \"textures//velocity.dat\" damaged: value 1000 (byte 4000) is nan"}, false},
      {"random bytes for the walkers' motion", {"newneomeshes"},
       [](const std::string& data) { replace(data, "newneomeshes/avatar_female_walk.bvh", randomBytes(5, 20000)); },
       "--capture OUT --frames 2", 1,
       {"obelisk: the run fails: the motion file \"newneomeshes//avatar_female_walk.bvh\" is damaged",
        "it has no motion; the walkers are left out"},
       false},
      // ffmpeg fails when it opens its file, after the first frames: with
      // two frames every write has gone into the pipe by then
      {"a video into a missing folder, 2 frames", {}, nullptr, "--video OUT/missing/v.mp4 --frames 2", 1,
       {"capture: ffmpeg ended with exit code", "was not written"}, true},
      {"a video into a missing folder, 3 frames", {}, nullptr, "--video OUT/missing/v.mp4 --frames 3", 1,
       {"capture: ffmpeg ended with exit code", "was not written"}, true},
  };
  for (const offlineCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsFfmpeg && !haveFfmpeg()) continue;  // said once, below
    scratchDir run;
    std::string data = linkedData(run, c.opened), said = run.path("said.txt"), out = run.path("out");
    if (c.damage) c.damage(data);
    std::string args = c.args;
    args.replace(args.find("OUT"), 3, "'" + out + "'");
    EXPECT_EQ(exitCodeOf(obelisk(data, args, said)), c.code) << readFile(said);
    std::string text = readFile(said);
    for (const std::string& part : c.said) EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    EXPECT_FALSE(fileExists(out + "/frame_000000.png"));
  }
  if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed: the video cases were left out";
}

// A track that ends before the picture, by a seek past its end or while the
// video runs: the run says where it ends, and the video has its sound,
// silence padded.
TEST_F(offline, aVideoPastTheEndOfAShortTrackHasItsSound) {
  if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  std::string data = linkedData(dir, {"music"});
  replace(data, Music, readFile(OBELISK_DATA_DIR "/" + Music).substr(0, 200000));  // about 10 s
  for (const char* start : {"--seek 100 --frames 2", "--seek 9 --fps 2 --frames 4"}) {
    SCOPED_TRACE(start);
    std::string video = dir.path("short.mp4"), said = dir.path("said.txt");
    EXPECT_EQ(exitCodeOf(obelisk(data, std::string(start) + " --video '" + video + "'", said)), 0) << readFile(said);
    std::string text = readFile(said);
    EXPECT_NE(text.find("obelisk: the music \"music//Nauvo and Kestrel - driftwork.mp3\" ends at "), std::string::npos)
        << text;
    EXPECT_NE(text.find("capture: the music ends at "), std::string::npos) << text;
    std::string streams = ffprobe(video, "-show_entries stream=codec_type");
    EXPECT_NE(streams.find("video"), std::string::npos) << streams;
    EXPECT_NE(streams.find("audio"), std::string::npos) << streams;
  }
}

// SIGTERM ends a capture as Ctrl-C does (every frame written is whole, one
// line with the count) and loading too, each with 128 + the signal; SIGHUP
// and SIGINT the same way.
TEST_F(offline, aStopSignalEndsTheRunWithItsCode) {
  std::string data = linkedData(dir, {});
  struct stopCase {
    const char* name;
    int signal;
    bool whileLoading;
  };
  for (const stopCase& c : {stopCase{"SIGTERM", SIGTERM, true}, stopCase{"SIGTERM", SIGTERM, false},
                            stopCase{"SIGHUP", SIGHUP, false}}) {
    SCOPED_TRACE(std::string(c.name) + (c.whileLoading ? " while loading" : " during the capture"));
    std::string frames = dir.path(std::string("frames") + c.name + (c.whileLoading ? "l" : "c"));
    std::string said = dir.path("said.txt");
    std::string command = obelisk(data, "--capture '" + frames + "' --frames 100000", said);
    fs::remove(data + "/log/Mylog.txt");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // the shell becomes the program (exec): the signal reaches it
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    // loading: once the log shows the start-up under way; the capture: once two frames are written
    std::string waitFor = c.whileLoading ? data + "/log/Mylog.txt" : frames + "/frame_000001.png";
    for (int i = 0; i < 1200 && !(c.whileLoading ? readFile(waitFor).find("#1\n") != std::string::npos
                                                 : fileExists(waitFor));
         ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(child, c.signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal: " << readFile(said);
    EXPECT_EQ(WEXITSTATUS(status), 128 + c.signal) << readFile(said);
    std::string text = readFile(said);
    int written = 0;
    for (picture p;; ++written) {
      char name[32];
      std::snprintf(name, sizeof name, "/frame_%06d.png", written);
      if (!fileExists(frames + name)) break;
      EXPECT_TRUE(readPng(frames + name, p) && p.width == 160 && p.height == 100) << name;
    }
    if (c.whileLoading) {
      EXPECT_NE(text.find(std::string("obelisk: interrupted by ") + c.name + " while loading\n"), std::string::npos)
          << text;
      EXPECT_EQ(written, 0);
    } else {
      EXPECT_GE(written, 2);
      EXPECT_NE(text.find(std::string("obelisk: interrupted by ") + c.name + "; " + std::to_string(written) +
                          " frames written\n"),
                std::string::npos)
          << text;
    }
  }
}
