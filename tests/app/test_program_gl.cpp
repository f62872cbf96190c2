// The whole program under Xvfb: its exit codes, where it finds its data,
// start-up behind the loading screen, an interrupted video and the GPU check
// (captures and the scene jump are held in the scenes' suites).
// Runs from the baked data folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "scenes/scene.h"
#include "scenes/sections.h"
#include "tests/support/testfiles.h"

static int run(const std::string& args) { return exitCodeOf(std::string(OBELISK_EXE) + " " + args + " >/dev/null 2>&1"); }

class program : public ::testing::Test {
protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    if (!fileExists("music//Nauvo and Kestrel - driftwork.mp3")) GTEST_SKIP() << "data folder not baked";
  }
  scratchDir dir;
};

TEST_F(program, startUpRunsBehindTheLoadingScreen) {
  ASSERT_EQ(run("--windowed --mode 320x200 --no-aa --bench --frames 2"), 0);
  std::string log = readFile("log/Mylog.txt");
  size_t one = log.find("#1\n"), two = log.find("#2\n"), start = log.find("PART_START");
  ASSERT_NE(one, std::string::npos);
  ASSERT_NE(two, std::string::npos);
  EXPECT_LT(one, two);
  EXPECT_LT(two, log.find("PART_INTRO"));
  EXPECT_LT(log.find("PART_REALLIFE"), start);  // sections load intro, reallife, start, ...
  EXPECT_LT(start, log.find("PART_THECITY"));
  EXPECT_LT(log.find("PART_MANTIS"), log.find("PART_THEEND"));
  // The point sets the sections list for sampling ahead are the ones they load, in order.
  std::vector<std::string> listed, loaded;
  for (int k = 0; k < SectionCount; ++k) {
    std::unique_ptr<scene> s(createSection(sectionLoadedAt(k)));
    std::vector<pointSetRequest> sets;
    s->listPointSets(sets);
    for (const pointSetRequest& q : sets) listed.push_back("TGObject loading: " + q.fileName);
  }
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("TGObject loading: ", 0) == 0) loaded.push_back(line);
  EXPECT_EQ(loaded, listed);
}

// Ctrl-C while a video is written: the encoder, in its own process group,
// is not interrupted; the program closes its input, so the file is finished
// with its sound, reports the frames written and exits 130.
TEST_F(program, interruptedVideoIsFinishedWithItsSound) {
  if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  std::string video = dir.path("interrupted.mp4");
  EXPECT_EQ(exitCodeOf("( " + std::string(OBELISK_EXE) + " --windowed --mode 320x200 --no-aa --video '" + video +
                       "' --frames 100000 >/dev/null 2>&1 & pid=$!; sleep 20; kill -INT $pid; wait $pid )"),
            130);
  std::string streams = ffprobe(video, "-show_entries stream=codec_type");
  EXPECT_NE(streams.find("video"), std::string::npos);
  EXPECT_NE(streams.find("audio"), std::string::npos);
}

// A bad option ends with 2; a window that cannot be made (no display and no
// --headless) ends with 1 after saying why.
TEST_F(program, failuresToStartEndWithTheirCodes) {
  EXPECT_EQ(run("--frames nope"), 2);
  std::string said = dir.path("said.txt");
  EXPECT_EQ(exitCodeOf("env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy " + std::string(OBELISK_EXE) +
                       " --windowed --mode 160x100 --frames 1 >/dev/null 2>'" + said + "'"),
            1);
  EXPECT_NE(readFile(said).find("--headless renders without one"), std::string::npos) << readFile(said);
}

// Started from another folder the program finds the data folder beside its
// own file; a copy with no data beside it says how to run it and fails.
TEST_F(program, findsItsDataFolderOrSaysHowToRunIt) {
  scratchDir elsewhere;
  // machines without a sound card play to SDL's dummy output
  std::string run = "cd '" + elsewhere.path("") + "' && SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ";
  EXPECT_EQ(exitCodeOf(run + OBELISK_EXE + " --windowed --mode 160x100 --no-aa --frames 1 2>/dev/null"), 0);
  std::string copy = elsewhere.path("obelisk"), said = elsewhere.path("said.txt");
  ASSERT_EQ(std::system(("cp '" + std::string(OBELISK_EXE) + "' '" + copy + "'").c_str()), 0);
  EXPECT_EQ(exitCodeOf(run + "'" + copy + "' --frames 1 2>'" + said + "'"), 1);
  EXPECT_NE(readFile(said).find("Run it from its data folder"), std::string::npos) << readFile(said);
}

// The GPU check in one process: the renderer first, one line of times for
// each of the six scenes whose columns add up to its frame, and frames held
// against references: the first run writes them; against those, with two
// scenes' swapped, the second run passes the other four, fails the two and
// names them.
TEST_F(program, gpuCheckTimesEverySceneAndHoldsItsFramesToTheReferences) {
  std::string refs = dir.path("reference"), out = dir.path("check.txt");
  std::string check = std::string(OBELISK_EXE) + " --headless --gpu-check --mode 160x100 --frames 3 ";
  ASSERT_EQ(exitCodeOf(check + "--write-reference '" + refs + "' >'" + out + "' 2>&1"), 0) << readFile(out);
  std::string text = readFile(out);
  EXPECT_EQ(text.find("gpu-check: renderer "), 0u) << text;
  std::istringstream lines(text);
  int rows = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream in(line);
    std::string name, size;
    int frames = 0;
    double fps, p99, total, compute, points, post, overlay, silhouette, other;
    if (!(in >> name >> size >> frames >> fps >> p99 >> total >> compute >> points >> post >> overlay >> silhouette >>
          other) || size != "160x100")
      continue;
    ++rows;
    EXPECT_EQ(frames, 3) << line;
    EXPECT_GT(total, 0.0) << line;
    EXPECT_NEAR(compute + points + post + overlay + silhouette + other, total, std::max(1.0, 0.05 * total)) << line;
  }
  EXPECT_EQ(rows, 6) << text;
  EXPECT_NE(text.find("gpu-check: PASS"), std::string::npos) << text;

  ASSERT_EQ(std::rename((refs + "/scene_2.png").c_str(), (refs + "/swap.png").c_str()), 0);
  ASSERT_EQ(std::rename((refs + "/scene_4.png").c_str(), (refs + "/scene_2.png").c_str()), 0);
  ASSERT_EQ(std::rename((refs + "/swap.png").c_str(), (refs + "/scene_4.png").c_str()), 0);
  EXPECT_EQ(exitCodeOf(check + "--reference '" + refs + "' >'" + out + "' 2>&1"), 1);
  text = readFile(out);
  EXPECT_NE(text.find("gpu-check: FAIL"), std::string::npos) << text;
  std::string compared = text.substr(text.find("mean_diff"));
  for (const char* name : {"start", "intro", "reallife", "city", "mantis", "end"}) {
    size_t at = compared.find(std::string("\n") + name + " ");
    ASSERT_NE(at, std::string::npos) << name << "\n" << text;
    std::string row = compared.substr(at + 1, compared.find('\n', at + 1) - at - 1);
    bool swapped = row.rfind("reallife", 0) == 0 || row.rfind("mantis", 0) == 0;
    EXPECT_EQ(row.find("FAILED") != std::string::npos, swapped) << row;
  }
}
