// The log behind std::cout, and the high-resolution clock.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "app/app.h"
#include "tests/support/testfiles.h"

TEST(clock, monotonicAndResets) {
  clockReset();
  double a = clockSeconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  double b = clockSeconds();
  EXPECT_GE(a, 0.0);
  EXPECT_LT(a, 0.01);
  EXPECT_GE(b - a, 0.019);
  EXPECT_LT(b - a, 1.0);
  clockReset();
  EXPECT_LT(clockSeconds(), b);
}

class logTest : public ::testing::Test {
protected:
  std::string oldDir;
  void SetUp() override {
    char buf[4096];
    oldDir = getcwd(buf, sizeof buf);
    std::string dir = ::testing::TempDir() + "obelisk_log_test";
    mkdir(dir.c_str(), 0755);
    ASSERT_EQ(chdir(dir.c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(oldDir.c_str()), 0);
    std::filesystem::remove_all(::testing::TempDir() + "obelisk_log_test");
  }
};

TEST_F(logTest, linesReachTheFileAndTheOldBufferReturns) {
  mkdir("log", 0755);
  std::streambuf* before = std::cout.rdbuf();
  openLog();
  EXPECT_NE(std::cout.rdbuf(), before);
  std::cout << "The time: " << 40.5 << " part: " << 1 << std::endl;
  // complete at any moment: read while still open
  std::ifstream in("log//Mylog.txt");
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str(), "The time: 40.5 part: 1\n");
  closeLog();
  EXPECT_EQ(std::cout.rdbuf(), before);
}

TEST_F(logTest, missingFolderIsMade) {
  unlink("log/Mylog.txt");
  rmdir("log");
  openLog();
  std::cout << "kept" << std::endl;
  closeLog();
  EXPECT_EQ(readFile("log/Mylog.txt"), "kept\n");
}
