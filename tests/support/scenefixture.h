// scenefixture.h -- what every scene's GL suite shares: the section of part
// number `part` loaded once per suite on a small context as start-up makes
// it (run in the baked data folder), with its load log kept; and captures
// of the whole program.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <iomanip>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/rendercontext.h"
#include "scenes/section.h"
#include "scenes/sections.h"
#include "tests/support/drawlog.h"
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

  // One frame from section time `at` with the section current, drawn
  // without a GL error; the record it leaves.
  FrameState drawFrame(double at, double step = 0.02) {
    scene->setClock(at);
    FrameState state;
    state.partNumber = part;
    glViewport(0, 0, W, H);  // as the window of that size would have it
    glGetError();
    scene->draw(&step, context.get(), &state);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    return state;
  }

  // The state every draw of the frame at section time `at` runs under (see
  // drawlog.h), against `rows`; the frame before it is drawn too, so that
  // nothing depends on the state a frame leaves behind. Every cloud is drawn
  // "1-sample": the same coverage on every driver.
  void expectDraws(double at, const std::vector<std::string>& rows, bool stripColours = true) {
    drawFrame(at);
    drawLogOpen(&scene->shaders, stripColours);
    drawFrame(at);
    std::vector<std::string> drawn = drawLogClose();
    EXPECT_EQ(drawn, rows) << "drawn at " << at << ":\n" << joinRows(drawn);
  }

  // Every program of the listed slots compiled and linked, the section's
  // simulator shares the start-up's curl volume, and the load log holds
  // `files` info lines under the section's folder, none complaining.
  void expectCleanPrograms(std::initializer_list<int> slots, size_t files, std::initializer_list<int> vertex = {}) {
    for (int slot : slots) {
      EXPECT_EQ(glStatus(scene->shaders.fragmentShaders[slot], false), GL_TRUE) << slot;
      EXPECT_EQ(glStatus(scene->shaders.programs[slot], true), GL_TRUE) << slot;
    }
    for (int slot : vertex) EXPECT_EQ(glStatus(scene->shaders.vertexShaders[slot], false), GL_TRUE) << slot;
    const particlesim& sim = context->sims[sectionTable[part].simulator];
    EXPECT_EQ(glStatus(sim.program, true), GL_TRUE);
    EXPECT_NE(sim.curlTexture, 0u);
    EXPECT_EQ(sim.curlTexture, context->sims[0].curlTexture);
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

// The whole program run from the baked data folder under Xvfb.
class sceneCapture : public ::testing::Test {
protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    if (!fileExists("newobjects//obelisk.obj")) GTEST_SKIP() << "data folder not baked";
  }
  // The last of `frames` frames of section `part` from its clock `at`,
  // captured at 640 x 400 without antialiasing (and no frame more); the
  // section's shaders loaded without complaint.
  picture capture(int part, double at, int frames) {
    picture p;
    std::ostringstream run, last, next;
    run << "SDL_AUDIODRIVER=dummy " << OBELISK_EXE << " --windowed --mode 640x400 --no-aa --section " << part
        << " --at " << at << " --capture '" << dir.path("") << "' --frames " << frames << " >/dev/null 2>&1";
    last << dir.path("frame_") << std::setw(6) << std::setfill('0') << frames - 1 << ".png";
    next << dir.path("frame_") << std::setw(6) << std::setfill('0') << frames << ".png";
    EXPECT_EQ(exitCodeOf(run.str()), 0) << run.str();
    EXPECT_FALSE(fileExists(next.str()));
    for (const std::string& line : infoLinesOf(readFile("log/Mylog.txt"), sectionTable[part].shaderDir))
      EXPECT_EQ(line.find("rror"), std::string::npos) << line;
    EXPECT_TRUE(readPng(last.str(), p)) << last.str();
    EXPECT_EQ(p.width, 640);
    return p;
  }
  scratchDir dir;
};
