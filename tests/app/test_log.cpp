// The log behind std::cout.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/app.h"
#include "tests/support/testfiles.h"

// Run in a scratch folder: the log goes to "log//Mylog.txt" below it.
class logTest : public ::testing::Test {
protected:
  scratchDir dir;
  std::string oldDir = std::filesystem::current_path().string();
  void SetUp() override { std::filesystem::current_path(dir.path("")); }
  void TearDown() override { std::filesystem::current_path(oldDir); }
};

TEST_F(logTest, linesReachTheFileAtOnceAndTheOldBufferReturns) {
  std::streambuf* before = std::cout.rdbuf();
  openLog();  // the missing folder is made
  EXPECT_NE(std::cout.rdbuf(), before);
  std::cout << "The time: " << 40.5 << " part: " << 1 << std::endl;
  EXPECT_EQ(readFile("log/Mylog.txt"), "The time: 40.5 part: 1\n");  // complete while still open
  closeLog();
  EXPECT_EQ(std::cout.rdbuf(), before);
}
