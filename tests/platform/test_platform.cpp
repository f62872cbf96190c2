// The platform layer's shared function list, the same test on both systems
// (built for Windows too, and run there under the test script): the clock,
// sleeping, the console, folders, change times, the wildcard search of the
// stroke frames, and a child fed through a pipe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "platform/files.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {
struct scratch {
  std::string root;
  scratch() {
    root = (fs::temp_directory_path() / ("obelisk_platform_" + std::to_string(platformCounter()))).generic_string();
  }
  ~scratch() {
    std::error_code e;
    fs::remove_all(root, e);
  }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(root + "/" + name, std::ios::binary) << bytes;
  }
};

double secondsBetween(uint64_t a, uint64_t b) { return double(b - a) / double(platformCounterFrequency()); }
}  // namespace

TEST(platform, clockNeverRunsBackwardsAndSleepsSleep) {
  ASSERT_GT(platformCounterFrequency(), 0u);
  uint64_t last = platformCounter();
  for (int i = 0; i < 100000; ++i) {
    uint64_t now = platformCounter();
    ASSERT_GE(now, last) << "read " << i;
    last = now;
  }
  for (unsigned ms : {1u, 20u, 60u}) {
    uint64_t before = platformCounter();
    platformSleep(ms);
    EXPECT_GE(secondsBetween(before, platformCounter()), ms * 0.001 - 0.001) << ms << " ms";
  }
  // the silent clock of offline runs stands still until advanced
  platformCounterManual(true);
  uint64_t held = platformCounter();
  platformSleep(5);
  EXPECT_EQ(platformCounter(), held);
  platformCounterAdvance(0.5);
  EXPECT_NEAR(secondsBetween(held, platformCounter()), 0.5, 1e-6);
  platformCounterManual(false);
  EXPECT_GT(platformSecondsSinceLaunch(), 0.0);
}

TEST(platform, consoleOpensAndTakesText) {
  platformOpenConsole();
  EXPECT_GE(std::fputs("platform: the console takes text\n", stdout), 0);
  EXPECT_EQ(std::fflush(stdout), 0);
}

TEST(platform, foldersSizesAndChangeTimes) {
  scratch s;
  ASSERT_TRUE(platformMakeFolders(s.root + "/a//b/c"));  // doubled separators as the data paths have them
  EXPECT_TRUE(platformIsFolder(s.root + "/a/b/c"));
  EXPECT_TRUE(platformMakeFolders(s.root + "/a/b/c"));  // already there
  s.write("a/f.bin", std::string(1234, 'x'));
  EXPECT_FALSE(platformMakeFolders(s.root + "/a/f.bin/d"));  // a file is in the way
  EXPECT_EQ(platformFileSize(s.root + "/a/f.bin"), 1234);
  EXPECT_EQ(platformFileSize(s.root + "/a"), -1);
  EXPECT_EQ(platformFileSize(s.root + "/missing"), -1);
  EXPECT_EQ(platformFileChangeTime(s.root + "/missing"), 0);
  long long first = platformFileChangeTime(s.root + "/a/f.bin");
  EXPECT_NE(first, 0);
  fs::last_write_time(s.root + "/a/f.bin", fs::last_write_time(s.root + "/a/f.bin") + std::chrono::seconds(3));
  // (setting the time may round it to whole seconds)
  EXPECT_NEAR(double(platformFileChangeTime(s.root + "/a/f.bin") - first), 3e9, 1e9);
}

TEST(platform, wildcardSearchFindsTheStrokeFrames) {
  scratch s;
  ASSERT_TRUE(platformMakeFolders(s.root + "/Routes"));
  for (const char* name : {"prs_0010.rt", "prs_0002.rt", "prs_0001.rt", "prs_.rt", "prs_0003.rtx", "prs_0004.r",
                           "xprs_0005.rt", ".prs_0006.rt", "PRS_notes.txt"})
    s.write(std::string("Routes/") + name, "1");
  ASSERT_TRUE(platformMakeFolders(s.root + "/Routes/prs_0007.rt"));  // a folder of that name is listed as well
  std::vector<std::string> found = platformFindFiles(s.root + "/Routes//prs_*.rt");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"prs_.rt", "prs_0001.rt", "prs_0002.rt", "prs_0007.rt", "prs_0010.rt"}));
  EXPECT_EQ(platformFindFiles(s.root + "/Routes/prs_000?.rt").size(), 3u);
  EXPECT_EQ(platformFindFiles(s.root + "/Routes/.prs_*").size(), 1u);  // a leading dot only by name
  EXPECT_TRUE(platformFindFiles(s.root + "/missing/prs_*.rt").empty());
}

// The child: this test program again, running the helper below, which
// counts what comes through its standard input and ends with that count
// (mod 256) as its exit code.
TEST(platformChildHelper, DISABLED_countsItsInput) {
  std::string in((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  std::exit(int(in.size() % 256));
}

TEST(platform, childTakesItsInputThroughAPipeAndEndsWithItsCode) {
  std::string self = ::testing::internal::GetArgvs()[0];
  if (!fs::path(self).has_parent_path()) self = platformFindProgram(self);
  std::vector<std::string> args = {fs::absolute(self).generic_string(), "--gtest_also_run_disabled_tests",
                                   "--gtest_filter=platformChildHelper.*"};
  childProcess child;
  std::string error;
  ASSERT_TRUE(platformStartChild(args, true, child, error)) << error;
  std::string block(100000, 'p');
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(platformWriteChild(child, block.data(), block.size()));
  childEnd end = platformWaitChild(child);  // closes its input first
  EXPECT_TRUE(end.exited);
  EXPECT_EQ(end.code, 3000000 % 256);
  EXPECT_EQ(child.id, -1);

  std::vector<std::string> missing = {fs::absolute("no-such-program").generic_string()};
  EXPECT_FALSE(platformStartChild(missing, true, child, error));
}
