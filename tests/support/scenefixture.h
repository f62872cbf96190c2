// scenefixture.h -- the fixture every scene's GL suite shares: the section
// of part number `part` loaded once per suite on a small context as start-up
// makes it (run in the baked data folder), with its load log kept.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/rendercontext.h"
#include "scenes/section.h"
#include "scenes/sections.h"
#include "tests/support/glcontext.h"
#include "tests/support/scenegl.h"
#include "tests/support/testfiles.h"

template <class section, int part>
class sceneGlTest : public glTest {
public:
  static constexpr int W = 160, H = 100;
  static std::unique_ptr<rendercontext> context;
  static std::unique_ptr<section> scene;
  static std::string loadLog;

  static void SetUpTestSuite() {
    glTest::SetUpTestSuite();
    if (!haveContext || !fileExists("newobjects//obelisk.obj")) return;
    context = makeSceneContext(W, H);
    scene.reset(static_cast<section*>(createSection(part)));
    logCapture log;
    scene->load(context.get());
    loadLog = log.text();
  }
  static void TearDownTestSuite() {
    scene.reset();
    context.reset();
  }

protected:
  void SetUp() override {
    glTest::SetUp();
    if (!IsSkipped() && !scene) GTEST_SKIP() << "data folder not baked";
  }

  // Draws `frames` frames from section time `at` with the section current,
  // then reads back colour A after the occlusion pass (the picture the blur
  // and glow are made from).
  picture frameAt(double at, int frames, double step = 0.02) {
    scene->setClock(at);
    for (int k = 0; k < frames; ++k) {
      FrameState state;
      state.partNumber = part;
      double s = step;
      scene->draw(&s, context.get(), &state);
    }
    return readTexture(context->textures[0], W, H);
  }

  // Every program of the listed slots compiled and linked, and the load log
  // holds `files` info lines under the section's folder, none complaining.
  void expectCleanPrograms(std::initializer_list<int> slots, size_t files) {
    for (int slot : slots) {
      EXPECT_EQ(glStatus(scene->shaders.fragmentShaders[slot], false), GL_TRUE) << slot;
      EXPECT_EQ(glStatus(scene->shaders.programs[slot], true), GL_TRUE) << slot;
    }
    EXPECT_EQ(glStatus(context->sims[sectionTable[part].simulator].program, true), GL_TRUE);
    std::vector<std::string> info = infoLinesOf(loadLog, sectionTable[part].shaderDir);
    EXPECT_EQ(info.size(), files) << loadLog;
    for (const std::string& line : info) EXPECT_EQ(line.find("rror"), std::string::npos) << line;
  }
};

template <class section, int part>
std::unique_ptr<rendercontext> sceneGlTest<section, part>::context;
template <class section, int part>
std::unique_ptr<section> sceneGlTest<section, part>::scene;
template <class section, int part>
std::string sceneGlTest<section, part>::loadLog;
