// Window messages into the shell's state, and the authoring aids.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/options.h"
#include "driver/state.h"
#include "driver/overlay.h"

static windowMessage message(msgType t, uint32_t w = 0, uint32_t l = 0) {
  windowMessage m;
  m.type = t;
  m.wParam = w;
  m.lParam = l;
  return m;
}

class windowProcTest : public ::testing::Test {
protected:
  void SetUp() override {
    demo = demoState();
    demo.frameStep = 0.02;
    windowActive = true;
    debugText.clear();
  }
};

TEST_F(windowProcTest, keysInsideTheTableOnly) {
  windowProc(message(msgType::keyDown, 27));
  windowProc(message(msgType::keyDown, 'Z'));
  EXPECT_TRUE(demo.keys[27]);
  EXPECT_TRUE(demo.keys['Z']);
  windowProc(message(msgType::keyUp, 'Z'));
  EXPECT_FALSE(demo.keys['Z']);
  bool before[256];
  std::copy(demo.keys, demo.keys + 256, before);
  windowProc(message(msgType::keyDown, 256));
  windowProc(message(msgType::keyUp, 256));
  windowProc(message(msgType::keyDown, 70000));
  EXPECT_TRUE(std::equal(demo.keys, demo.keys + 256, before));
}

// The transport answers only under --author; the keys still reach the table.
TEST_F(windowProcTest, transportKeysOnlyWithAuthor) {
  opts = options();
  overlay.shown = false;
  for (uint32_t key : {32u, 39u, 37u, 33u, 34u, 36u, uint32_t('L'), uint32_t('H')})
    windowProc(message(msgType::keyDown, key, KeyShift));
  EXPECT_FALSE(demo.paused);
  EXPECT_EQ(demo.loopPart, -1);
  EXPECT_FALSE(overlay.shown);
  EXPECT_DOUBLE_EQ(demo.demoTime, 0.0);
  EXPECT_TRUE(demo.keys[32] && demo.keys['L']);
  opts.author = true;
  for (uint32_t key : {32u, uint32_t('L'), uint32_t('H')}) windowProc(message(msgType::keyDown, key));
  EXPECT_TRUE(demo.paused);
  EXPECT_EQ(demo.loopPart, 0);
  EXPECT_TRUE(overlay.shown);
  opts = options();
  overlay.shown = false;
}

TEST_F(windowProcTest, closePostsQuitWithCodeZero) {
  windowProc(message(msgType::close));
  windowMessage m;
  ASSERT_TRUE(platformPeekMessage(m));
  EXPECT_EQ(m.type, msgType::quit);
  EXPECT_EQ(m.wParam, 0u);
}

TEST_F(windowProcTest, heldQMovesLimitOncePerCharacterMessage) {
  windowProc(message(msgType::keyDown, 'Q'));
  EXPECT_DOUBLE_EQ(demo.frameState.limit, 0.0);  // the key message itself is answered directly
  windowProc(message(msgType::character, 'q'));
  EXPECT_DOUBLE_EQ(demo.frameState.limit, 0.02);
  windowProc(message(msgType::keyUp, 'Q'));
  windowProc(message(msgType::keyDown, 'A'));
  windowProc(message(msgType::character, 'a'));
  windowProc(message(msgType::character, 'a'));
  EXPECT_NEAR(demo.frameState.limit, -0.02, 1e-12);
}

TEST_F(windowProcTest, middleClicksAppendDebugBlocks) {
  demo.frameState.pointerX = 1.5;
  demo.frameState.wheel = -2;
  for (int i = 0; i < 3; ++i) windowProc(message(msgType::middleButtonUp));
  const std::string block = "Cam :1.5,0,-2  \nPnt :0,0,0  \n \nMCr :0,0,0  \n \n";
  EXPECT_EQ(debugText, block + block + block);
  windowProc(message(msgType::mouseMove));
  EXPECT_EQ(debugText.size(), 3 * block.size());
}

// The desktop sends the focus loss after the minimise: the window must stay
// inactive (no frames drawn) until it is restored.
TEST_F(windowProcTest, minimisedWindowStaysInactiveThroughAFocusLoss) {
  windowProc(message(msgType::activate, platformActivation(windowChange::minimised)));
  EXPECT_FALSE(windowActive);
  windowProc(message(msgType::activate, platformActivation(windowChange::focusLost)));
  EXPECT_FALSE(windowActive);
  windowProc(message(msgType::activate, platformActivation(windowChange::focusGained)));
  EXPECT_FALSE(windowActive);  // a minimised window that gains focus is still minimised
  windowProc(message(msgType::activate, platformActivation(windowChange::restored)));
  EXPECT_TRUE(windowActive);
  windowProc(message(msgType::activate, platformActivation(windowChange::focusLost)));
  EXPECT_TRUE(windowActive);  // behind another window it goes on drawing
}
