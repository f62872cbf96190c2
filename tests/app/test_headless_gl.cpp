// The program without a display server: --headless renders off-screen
// through EGL with no X server and no sound card; without it, the missing
// display and a missing GTK are told in words. Runs from the baked data folder.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/testfiles.h"

// Runs the program with no display at all; returns its exit code, standard
// error in said.
static int runWithoutDisplay(const std::string& env, const std::string& args, std::string& said,
                             const scratchDir& dir) {
  std::string err = dir.path("stderr.txt");
  std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER " + env + " '" +
                    OBELISK_EXE + "' " + args + " >/dev/null 2>'" + err + "'";
  int status = std::system(cmd.c_str());
  said = readFile(err);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The brightest channel value of a PNG file; -1 when it cannot be read.
static int brightest(const std::string& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return -1;
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return -1;
  width = int(image.width);
  height = int(image.height);
  int most = 0;
  for (unsigned char c : rgb) most = std::max(most, int(c));
  return most;
}

class headless : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fileExists("music//Nauvo and Kestrel - driftwork.mp3")) GTEST_SKIP() << "data folder not baked";
  }
  scratchDir dir;
  std::string said;
};

TEST_F(headless, rendersAndCapturesWithoutAnyDisplayServer) {
  std::string frames = dir.path("frames");
  ASSERT_EQ(runWithoutDisplay("", "--headless --mode 96x60 --no-aa --section 5 --at 12 --capture '" + frames +
                                      "' --frames 1 --gl-debug",
                              said, dir),
            0)
      << said;
  int w = 0, h = 0;
  EXPECT_GT(brightest(frames + "/frame_000000.png", w, h), 40) << "the name in its ring shows";
  EXPECT_EQ(w, 96);
  EXPECT_EQ(h, 60);
  EXPECT_NE(said.find("GL errors: 0,"), std::string::npos) << said;
}

TEST_F(headless, liveRunPlaysToASilentOutput) {
  // no offline option: the music clock drives it, and no sound card is asked for
  EXPECT_EQ(runWithoutDisplay("", "--headless --mode 32x20 --no-aa --frames 2", said, dir), 0)
      << said;
}

TEST_F(headless, withoutADisplayTheWindowFailureNamesHeadless) {
  runWithoutDisplay("SDL_AUDIODRIVER=dummy", "--windowed --mode 64x40 --frames 1", said, dir);
  EXPECT_NE(said.find("--headless"), std::string::npos) << said;
}

TEST_F(headless, withoutGtkAndOptionsOneLineAndExitCodeTwo) {
  // a library file that cannot load stands where GTK would be found first
  dir.write("libgtk-3.so.0", "not a library");
  EXPECT_EQ(runWithoutDisplay("LD_LIBRARY_PATH='" + dir.path("") + "'", "", said, dir), 2);
  EXPECT_NE(said.find("the settings dialog needs GTK 3"), std::string::npos) << said;
  for (const char* option : {"--mode", "--windowed", "--no-aa", "--fps-clamp"})
    EXPECT_NE(said.find(option), std::string::npos) << option;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line";
}
