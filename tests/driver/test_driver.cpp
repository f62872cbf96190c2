// The frame driver against a manual clock and a fake audio back end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>

#include "driver/clock.h"
#include "driver/state.h"
#include "driver/overlay.h"
#include "driver/timeline.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "scenes/route.h"
#include "scenes/scene.h"

class fakeAudio : public audioBackend {
public:
  uint32_t pos = 0;
  bool closed = false, paused = false;
  bool init(int) override { return true; }
  bool loadSample(const std::string&) override { return true; }
  void play() override {}
  void setVolume(int) override {}
  void setPosition(uint32_t s) override { pos = s; }
  uint32_t position() override { return pos; }
  int frequency() override { return 44100; }
  uint32_t sampleLength() override { return 44100 * 100; }
  void close() override { closed = true; }
  void pause(bool p) override { paused = p; }
};

class driverTest : public ::testing::Test {
protected:
  fakeAudio audio;
  std::stringstream log;
  std::streambuf* old = nullptr;
  void SetUp() override {
    audioUseBackend(&audio);
    platformCounterManual(true);
    clockReset();
    demo = demoState();
    demo.lastClock = clockSeconds();
    for (int part = 0; part < SectionCount; ++part) demo.sections[part] = createSection(part);
    platformInteractive = false;
    old = std::cout.rdbuf(log.rdbuf());
  }
  void TearDown() override {
    std::cout.rdbuf(old);
    for (scene*& s : demo.sections) {
      delete s;
      s = nullptr;
    }
    platformCounterManual(false);
  }
  bool playing = true;  // what the last frame returned
  double frame(double seconds) {
    platformCounterAdvance(seconds);
    playing = drawFrame();
    return demo.frameStep;
  }
};

// The music 10 s ahead (the window was inactive): each frame closes 15 % of the gap.
TEST_F(driverTest, correctionClosesFifteenPercentOfTheGapPerFrame) {
  audio.pos = 44100 * 10;
  for (int i = 0; i < 5; ++i) frame(0.0);
  EXPECT_NEAR(10.0 - demo.demoTime, 10.0 * std::pow(0.85, 5), 1e-5);
}

TEST_F(driverTest, correctionStopsForGoodInTheTrackLastFiveSeconds) {
  audio.pos = 44100 * 96;  // within the last 5 s of a 100 s track
  frame(0.02);
  EXPECT_FALSE(demo.musicSync);
  double before = demo.demoTime;
  audio.pos = 0;  // looped back: still no correction
  frame(0.02);
  EXPECT_NEAR(demo.demoTime - before, 0.02, 1e-9);
  EXPECT_FALSE(demo.musicSync);
}

TEST_F(driverTest, handOverFrameLogsOnceAndStopsTheChain) {
  scene* start = demo.sections[0];
  start->t = 26.99;
  audio.pos = 0;
  demo.settings.musicEnabled = false;  // keep the step exactly as measured
  frame(0.05);
  EXPECT_EQ(demo.frameState.partNumber, 1);
  std::string text = log.str();
  EXPECT_EQ(text.find("The time: "), 0u);
  EXPECT_EQ(text.find("The time: ", 1), std::string::npos);
  EXPECT_NE(text.find(" part: 1\n"), std::string::npos);
  EXPECT_DOUBLE_EQ(demo.frameState.values[0], start->t);  // the intro did not draw in that frame
}

TEST_F(driverTest, mantisHandsOverWithoutFlagAndTheEndDrawsAtOnce) {
  demo.settings.musicEnabled = false;
  demo.frameState.partNumber = 4;
  demo.sections[4]->t = 97.69;
  frame(0.05);
  EXPECT_EQ(demo.frameState.partNumber, 5);
  EXPECT_GT(demo.sections[5]->t, 0.0);
  EXPECT_EQ(log.str().find("The time: "), std::string::npos);
}

TEST_F(driverTest, keysAreClearedButEscapeAndCopied) {
  demo.keys['Q'] = demo.keys[27] = demo.keys[255] = true;
  demo.frameState.pointerY = 4;
  frame(0.01);
  EXPECT_FALSE(demo.keys['Q']);
  EXPECT_TRUE(demo.keys[27]);
  EXPECT_TRUE(demo.keys[255]);  // only 0 ... 254 are cleared
  EXPECT_EQ(demo.frameState.keys[27], 1);
  EXPECT_EQ(demo.frameState.keys['Q'], 0);
  EXPECT_EQ(demo.frameState.pointerY, 0);
  demo.keys[27] = demo.keys[255] = false;
}

TEST_F(driverTest, escapeFadeEndsOnTheNextFrameWithAPositiveStep) {
  frame(0.02);
  beginClosingFade();  // as the loop does on the first Escape
  double began = demo.finishTime;
  beginClosingFade();  // held: the fade began once
  EXPECT_EQ(demo.finishTime, began);
  EXPECT_FALSE(endOfProduction());  // no time has passed since Escape
  frame(0.02);
  EXPECT_FALSE(playing);
  EXPECT_EQ(demo.ending, demoEnding::escape);
  EXPECT_FALSE(audio.closed);  // closing is the shutdown's
}

TEST_F(driverTest, productionEndsPastItsLastSecond) {
  demo.settings.musicEnabled = false;
  demo.frameState.partNumber = 6;
  demo.demoTime = 455.4;
  frame(0.05);
  EXPECT_TRUE(playing);
  frame(0.06);
  EXPECT_FALSE(playing);
  EXPECT_EQ(demo.ending, demoEnding::timeUp);
}

// The clamp's sleep is 31.25 ms less the step (the step taken as seconds),
// whole milliseconds only, and none without the clamp.
TEST_F(driverTest, frameClampSleepsOnlyWhenAsked) {
  EXPECT_EQ(clampFrameRate(0.016), 0u);
  demo.settings.fpsClamp = true;
  EXPECT_EQ(clampFrameRate(0.016), 31u);
  EXPECT_EQ(clampFrameRate(31.2), 0u);  // 0.05 ms left: not worth a sleep
  EXPECT_EQ(clampFrameRate(40.0), 0u);  // a step past the period never sleeps
}

// Offline runs step on their own silent clock: every frame lands exactly on
// its time, whatever the music position says.
TEST_F(driverTest, offlineRunsStepExactlyOnTheirClock) {
  demo.settings.followMusic = false;
  audio.pos = 44100 * 3;  // the track is 3 s ahead
  for (int i = 1; i <= 4; ++i) {
    frame(0.5);
    EXPECT_NEAR(demo.demoTime, 0.5 * i, 1e-9);
  }
}

// The music's position stops (the device went away): after half a second of
// the frame clock demo time runs on that clock alone, said once in the log;
// when the position moves again the pull comes back.
TEST_F(driverTest, aStillMusicClockIsLeftAndFoundAgain) {
  audio.pos = 44100 * 2;  // 2 s ahead: every followed frame is pulled
  frame(0.1);
  double before = demo.demoTime;
  for (int i = 0; i < 5; ++i) frame(0.1);  // 0.5 s of a still position: still followed
  EXPECT_FALSE(demo.musicLost);
  EXPECT_GT(demo.demoTime - before, 0.5 + 1e-3);
  before = demo.demoTime;
  frame(0.1);  // 0.6 s: lost
  EXPECT_TRUE(demo.musicLost);
  EXPECT_NEAR(demo.demoTime - before, 0.1, 1e-9);
  frame(0.1);
  frame(0.1);
  EXPECT_NEAR(demo.demoTime - before, 0.3, 1e-9);
  std::string text = log.str();
  size_t at = text.find("music clock lost at ");
  EXPECT_NE(at, std::string::npos) << text;
  EXPECT_EQ(text.find("music clock lost at ", at + 1), std::string::npos) << text;  // once
  audio.pos += 4410;  // moving again
  before = demo.demoTime;
  frame(0.1);
  EXPECT_FALSE(demo.musicLost);
  EXPECT_GT(demo.demoTime - before, 0.1 + 1e-3);  // pulled again
}

// A seek lands where playing at 60 frames a second would have been: the
// part number and every section's clock, MegaRotate and shake record, just
// before and just after each hand-over and at two moments between.
TEST_F(driverTest, aSeekLandsWherePlayingWouldHaveBeen) {
  const double step = 1.0 / 60.0;
  route track;  // the baked shake track, so that the shake records move
  readShakeTrack(track, (std::string(OBELISK_DATA_DIR) + "/try1.sav").c_str());
  auto fresh = [&] {
    for (int part = 0; part < SectionCount; ++part) {
      delete demo.sections[part];
      demo.sections[part] = createSection(part);
      demo.sections[part]->shake = track;
    }
  };
  std::vector<double> handOvers = simulateTimeline(step);
  ASSERT_GE(handOvers.size(), 5u);
  std::vector<double> moments = {3.0, 250.0};
  for (int k = 0; k < 5; ++k) moments.insert(moments.end(), {handOvers[k] - 0.05, handOvers[k] + 0.05});
  std::sort(moments.begin(), moments.end());

  struct snapshot {
    int part;
    double demoTime, t[MaxSections];
    float megaRotate[MaxSections];
    vec3 shake[MaxSections];
  };
  auto take = [&] {
    snapshot s{demo.frameState.partNumber, demo.demoTime, {}, {}, {}};
    for (int part = 0; part < SectionCount; ++part) {
      s.t[part] = demo.sections[part]->t;
      s.megaRotate[part] = demo.sections[part]->megaRotate;
      s.shake[part] = demo.sections[part]->shakeRec.current;
    }
    return s;
  };
  demo.settings.musicEnabled = false;
  fresh();
  std::vector<snapshot> played;
  for (double m : moments) {
    while (demo.demoTime < m - step / 2) frame(step);
    played.push_back(take());
  }
  for (size_t k = 0; k < moments.size(); ++k) {
    fresh();
    seekDemo(moments[k]);
    snapshot s = take(), p = played[k];
    EXPECT_EQ(s.part, p.part) << moments[k];
    EXPECT_NEAR(s.demoTime, p.demoTime, 1e-4) << moments[k];
    for (int part = 0; part < SectionCount; ++part) {
      EXPECT_NEAR(s.t[part], p.t[part], 1e-4) << moments[k] << " part " << part;  // the frame clock rounds its steps
      EXPECT_NEAR(s.megaRotate[part], p.megaRotate[part], 1e-4) << moments[k] << " part " << part;
      EXPECT_NEAR(length(s.shake[part] - p.shake[part]), 0, 1e-6) << moments[k] << " part " << part;
    }
  }
  EXPECT_GT(played.back().megaRotate[3], 1.0f);  // the city's turn did grow
  // past the last section there is nothing to play: a seek lands on the time itself
  for (double end : {455.0, DemoEnd}) {
    fresh();
    seekDemo(end);
    EXPECT_EQ(demo.demoTime, end);
    EXPECT_EQ(demo.frameState.partNumber, SectionCount);
  }
}

// The transport: a pause holds every clock while frames go on, the music
// with it; a seek puts the music on the sample of its demo time; a looped
// section goes back to its start where it would hand over.
TEST_F(driverTest, pauseHoldsSeekPlacesTheMusicAndLoopWraps) {
  demo.audioOpen = true;  // as start-up leaves it with the music playing
  seekDemo(100.0);
  EXPECT_EQ(demo.frameState.partNumber, 1);
  EXPECT_EQ(audio.pos, uint32_t(demo.demoTime * 44100));
  EXPECT_NEAR(demo.demoTime, 100.0, 1.0 / 120);

  togglePause();
  EXPECT_TRUE(audio.paused);
  double at = demo.demoTime, clock = demo.sections[1]->t;
  for (int i = 0; i < 10; ++i) frame(0.1);  // a second of frames, the music standing still
  EXPECT_EQ(demo.demoTime, at);
  EXPECT_EQ(demo.sections[1]->t, clock);
  EXPECT_FALSE(demo.musicLost);
  togglePause();
  EXPECT_FALSE(audio.paused);

  demo.settings.musicEnabled = false;  // the frames step exactly as measured
  seekDemo(sectionStart(1) - 0.1);     // the start scene's last tenth
  ASSERT_EQ(demo.frameState.partNumber, 0);
  toggleLoop();
  for (int i = 0; i < 6; ++i) frame(0.05);  // past its hand-over
  EXPECT_EQ(demo.frameState.partNumber, 0);
  EXPECT_LT(demo.demoTime, 0.3);
  EXPECT_LT(demo.sections[0]->t, sectionTable[0].startClock + 0.3);
  toggleLoop();
  seekSection(1);
  EXPECT_EQ(demo.frameState.partNumber, 1);
  EXPECT_NEAR(demo.demoTime, sectionStart(1), 1e-9);
}

// The overlay's rate is over the last 120 frames only.
TEST(overlayStrip, theRateIsOverTheLastFramesOnly) {
  overlay = overlayState();
  double wall = 10.0;
  for (int i = 0; i < 300; ++i) overlayNoteFrame(wall += 0.1);  // 10 frames a second ...
  for (int i = 0; i < OverlayFrames; ++i) overlayNoteFrame(wall += 1.0 / 60);  // ... then 60
  EXPECT_EQ(overlay.counted, OverlayFrames);
  EXPECT_NEAR(overlayRate(), 60.0, 1e-3);  // the times are kept as floats
}
