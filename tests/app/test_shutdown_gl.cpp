// The one way out: a start-up that fails on the music still shows its
// message, then closes the audio and the window once and ends with the
// failure's exit code. Runs in the baked data folder (the whole load).
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/app.h"
#include "platform/audio.h"
#include "tests/support/testfiles.h"

namespace {

class noTrack : public audioBackend {
public:
  int closes = 0;
  bool init(int) override { return true; }
  bool loadSample(const std::string&) override {
    audioSetFailure("Input/output error");
    return false;
  }
  void play() override {}
  void setVolume(int) override {}
  void setPosition(uint32_t) override {}
  uint32_t position() override { return 0; }
  int frequency() override { return 44100; }
  uint32_t sampleLength() override { return 0; }
  void close() override { ++closes; }
};

}  // namespace

TEST(shutdown, aFailedStartClosesAudioAndWindowOnceWithTheFailuresCode) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
  if (!fileExists("newobjects//obelisk.obj")) GTEST_SKIP() << "data folder not baked";
  noTrack audio;
  audioUseBackend(&audio);
  platformInteractive = false;  // the message box prints instead of waiting
  ASSERT_TRUE(createGLWindow("shutdown test", 160, 100, 32, false));
  demoSettings settings;
  settings.screenWidth = settings.auxWidth = 160;
  settings.screenHeight = settings.auxHeight = 100;
  settings.antialiased = false;
  int code = -1;
  logCapture log;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(startDemo(settings, code));
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 1);  // a production without its music did not play: a failure
  EXPECT_NE(said.find("No sound file."), std::string::npos) << said;  // the message box, printed
  EXPECT_NE(said.find("obelisk: cannot play \"music//Nauvo and Kestrel - driftwork.mp3\": Input/output error"),
            std::string::npos)
      << said;
  EXPECT_TRUE(platformHasWindow());
  EXPECT_EQ(shutdownProduction(code), code);
  EXPECT_EQ(audio.closes, 1);
  EXPECT_FALSE(platformHasWindow());
  EXPECT_FALSE(platformHasContext());
  EXPECT_EQ(shutdownProduction(code), code);  // safe to repeat: nothing closes twice
  EXPECT_EQ(audio.closes, 1);
}
