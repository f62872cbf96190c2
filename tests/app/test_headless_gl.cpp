// The program without a display server: --headless renders off-screen
// through EGL with no X server and no sound card; without it, a missing GTK
// is told in words. Runs from the baked data folder.
#include <gtest/gtest.h>

#include "tests/support/scenegl.h"
#include "tests/support/testfiles.h"

class headless : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fileExists("music//Nauvo and Kestrel - driftwork.mp3")) GTEST_SKIP() << "data folder not baked";
  }
  // Runs the program with no display at all; its exit code, standard error in said.
  int run(const std::string& env, const std::string& args) {
    std::string err = dir.path("stderr.txt");
    int code = exitCodeOf("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER " + env + " '" +
                          OBELISK_EXE + "' " + args + " >/dev/null 2>'" + err + "'");
    said = readFile(err);
    return code;
  }
  scratchDir dir;
  std::string said;
};

TEST_F(headless, rendersAndCapturesWithoutAnyDisplayServer) {
  std::string frames = dir.path("frames");
  ASSERT_EQ(run("", "--headless --mode 96x60 --no-aa --section 5 --at 12 --capture '" + frames +
                        "' --frames 1 --gl-debug"), 0) << said;
  picture p;
  ASSERT_TRUE(readPng(frames + "/frame_000000.png", p));
  EXPECT_EQ(p.width, 96);
  EXPECT_EQ(p.height, 60);
  EXPECT_GT(p.countAbove(40, 0, 0, 96, 60), 0) << "the name in its ring shows";
  EXPECT_NE(said.find("GL errors: 0,"), std::string::npos) << said;
}

TEST_F(headless, liveRunPlaysToASilentOutput) {
  // no offline option: the music clock drives it, and no sound card is asked for
  EXPECT_EQ(run("", "--headless --mode 32x20 --no-aa --frames 2"), 0) << said;
}

TEST_F(headless, withoutGtkAndOptionsOneLineAndExitCodeTwo) {
  // a library file that cannot load stands where GTK would be found first
  dir.write("libgtk-3.so.0", "not a library");
  EXPECT_EQ(run("LD_LIBRARY_PATH='" + dir.path("") + "'", ""), 2);
  EXPECT_NE(said.find("the settings dialog needs GTK 3"), std::string::npos) << said;
  for (const char* option : {"--mode", "--windowed", "--no-aa", "--fps-clamp"})
    EXPECT_NE(said.find(option), std::string::npos) << option;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line";
}
