// glcontext.h -- one hidden GL window per test suite for the GL tests.
#pragma once
#include <gtest/gtest.h>

// Creates a hidden SDL window with an OpenGL compatibility context of at
// least 4.3 (w x h pixels) and initialises GLEW. False, with the reason in
// why, when there is no display or the version is too low.
bool openTestContext(int w, int h, std::string& why);
void closeTestContext();

// A fixture base: SetUpTestSuite opens the context, tests skip without it.
class glTest : public ::testing::Test {
public:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
protected:
  void SetUp() override;
  static bool haveContext;
  static std::string whyNot;
};
