// glcontext.h -- one hidden GL window per test suite for the GL tests.
#pragma once
#include <gtest/gtest.h>

// A fixture base: SetUpTestSuite opens a hidden SDL window with an OpenGL
// 4.3 compatibility context and initialises GLEW; without a display or with
// a lower version the tests skip, saying why.
class glTest : public ::testing::Test {
public:
  static void SetUpTestSuite();
protected:
  void SetUp() override;
  static bool haveContext;
  static std::string whyNot;
};
