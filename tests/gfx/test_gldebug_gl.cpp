// GL error accounting: a wrong call is counted every time and logged once
// with the place it came from.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "gfx/gldebug.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

class glDebugGl : public glTest {};

TEST_F(glDebugGl, aWrongCallIsCountedAndLoggedOnceWithItsPlace) {
  glDebugEnabled = true;
  glDebugInstall();
  glDebugSection("PART_TEST");
  glDebugPlace("points");
  logCapture log;
  long before = glDebugErrors();
  glEnable(0x1234);  // no such capability
  glEnable(0x1234);
  glDebugCheck();
  EXPECT_EQ(glDebugErrors(), before + 2);
  std::vector<std::string> lines = log.lines();
  ASSERT_GE(lines.size(), 1u);
  EXPECT_NE(lines[0].find("GL error"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("PART_TEST / points"), std::string::npos) << lines[0];
  size_t logged = 0;
  for (const std::string& l : lines) logged += l.find("GL error") != std::string::npos;
  EXPECT_EQ(logged, 1u);
  glDisable(GL_DEBUG_OUTPUT);
  glDebugEnabled = false;
}
