// Capture: frames read back from the window come out top row first, as
// numbered images or as a video with the sound muxed in.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/capture.h"
#include "tests/support/glcontext.h"
#include "tests/support/scenegl.h"
#include "tests/support/testfiles.h"

// Red below, green in the top half of the window.
static void drawHalves() {
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 32, 64, 32);
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
}

class captureGl : public glTest {};

TEST_F(captureGl, imagesAreNumberedAndTopRowFirst) {
  scratchDir scratch;
  std::string dir = scratch.path("frames/nested"), error;
  drawHalves();
  ASSERT_TRUE(captureBegin(dir, "", 64, 64, 30.0, "", error)) << error;
  EXPECT_TRUE(captureFrame());
  EXPECT_TRUE(captureFrame());
  captureEnd();
  captureEnd();
  EXPECT_EQ(captureFrameCount(), 2);
  picture p;
  ASSERT_TRUE(readPng(dir + "/frame_000001.png", p));
  ASSERT_EQ(p.width, 64);
  ASSERT_EQ(p.height, 64);
  const unsigned char *top = &p.rgb[0], *bottom = &p.rgb[size_t(63 * 64) * 3];
  EXPECT_EQ(top[0], 0);
  EXPECT_EQ(top[1], 255) << "top row is green";
  EXPECT_EQ(bottom[0], 255) << "bottom row is red";
  EXPECT_EQ(bottom[1], 0);
}

TEST_F(captureGl, unwritableFramesFail) {
  std::string error;
  EXPECT_FALSE(captureBegin("/dev/null/frames", "", 64, 64, 30.0, "", error));
  EXPECT_FALSE(error.empty());
  scratchDir scratch;
  std::string dir = scratch.path("gone");
  ASSERT_TRUE(captureBegin(dir, "", 64, 64, 30.0, "", error)) << error;
  std::remove(dir.c_str());
  EXPECT_FALSE(captureFrame());
  EXPECT_NE(captureError().find(dir + "/frame_000000.png: No such file or directory"), std::string::npos)
      << captureError();
  captureEnd();
}

// One second of silence as 16-bit stereo WAV at 44.1 kHz, the sound of the video.
static void writeWav(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  const uint32_t fields[] = {36 + 44100 * 4, 16, 0x20001, 44100, 44100 * 4, 0x100004, 44100 * 4};
  out.write("RIFF", 4).write(reinterpret_cast<const char*>(fields), 4).write("WAVEfmt ", 8);
  out.write(reinterpret_cast<const char*>(fields + 1), 20).write("data", 4);
  out.write(reinterpret_cast<const char*>(fields + 6), 4) << std::string(44100 * 4, '\0');
}

// The video has every frame and the sound, as long as the picture: where
// the track (one second) ends first, or before the start, silence follows
// and one line says so.
TEST_F(captureGl, videoHasTheFramesAndTheSound) {
  if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  scratchDir scratch;
  std::string wav = scratch.path("music.wav"), error;
  writeWav(wav);
  drawHalves();
  struct videoCase {
    int frames;
    double musicStart;
    const char* said;  // on standard error at the end; empty: nothing
  };
  for (const videoCase& c : {videoCase{10, 0.0, ""}, videoCase{50, 0.0, "the music ends at 1.00 s, 1.00 s into the video"},
                             videoCase{10, 3.0, "the music ends at 1.00 s, before the video starts at 3.00 s"}}) {
    SCOPED_TRACE(c.frames);
    std::string video = scratch.path("capture.mp4");
    ASSERT_TRUE(captureBegin("", video, 64, 64, 25.0, wav, error, c.musicStart, 1.0)) << error;
    for (int i = 0; i < c.frames; ++i) ASSERT_TRUE(captureFrame());
    testing::internal::CaptureStderr();
    EXPECT_TRUE(captureEnd());
    std::string text = testing::internal::GetCapturedStderr();
    if (*c.said)
      EXPECT_NE(text.find(c.said), std::string::npos) << text;
    else
      EXPECT_EQ(text, "");
    EXPECT_EQ(ffprobe(video, "-count_frames -select_streams v:0 -show_entries stream=nb_read_frames"),
              std::to_string(c.frames) + "\n");
    EXPECT_EQ(ffprobe(video, "-select_streams a:0 -show_entries stream=codec_type"), "audio\n");
    EXPECT_NEAR(std::atof(ffprobe(video, "-select_streams a:0 -show_entries stream=duration").c_str()), c.frames / 25.0,
                0.1);
  }
}

TEST(capture, videoWithoutFfmpegIsAClearError) {
  scratchDir scratch;
  std::string error, saved = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", scratch.path("nopath").c_str(), 1);
  EXPECT_FALSE(captureBegin("", scratch.path("x.mp4"), 64, 64, 30.0, "", error));
  setenv("PATH", saved.c_str(), 1);
  EXPECT_NE(error.find("ffmpeg is not installed"), std::string::npos) << error;
}
