// The resolution list: which modes qualify, their texts, the preselection.
#include <gtest/gtest.h>

#include "app/app.h"

static std::vector<int> widthsOf(const std::vector<displayMode>& all) {
  std::vector<displayMode> out;
  filterDisplayModes(all, out);
  std::vector<int> widths;
  for (const displayMode& m : out) widths.push_back(m.width);
  return widths;
}

TEST(displayModes, filterDropsTooWideTooLargePortraitAndRepeats) {
  // square modes and exactly 1.8 : 1 qualify
  EXPECT_EQ(widthsOf({{2560, 1440}, {2560, 1080}, {1024, 1280}, {1920, 1080}, {2047, 1200}, {2048, 1152},
                      {800, 800}, {1800, 1000}, {1801, 1000}}),
            (std::vector<int>{1920, 2047, 800, 1800}));
  // modes repeated for other depths or rates appear once, in first order
  EXPECT_EQ(widthsOf({{1280, 720}, {1024, 768}, {1280, 720}, {800, 600}, {1024, 768}}),
            (std::vector<int>{1280, 1024, 800}));
}

TEST(displayModes, formatsByAspect) {
  EXPECT_EQ(formatMode(1920, 1080), " 1920 x 1080  (16:9)");
  EXPECT_EQ(formatMode(1280, 800), " 1280 x 800  (16:10)");
  EXPECT_EQ(formatMode(1280, 1024), " 1280 x 1024       ");
  EXPECT_EQ(formatMode(1366, 768), " 1366 x 768  (16:9)");  // 1.7786 is within 0.01 of 16:9
}

TEST(displayModes, defaultSelection) {
  EXPECT_EQ(defaultModeIndex({}), -1);
  EXPECT_EQ(defaultModeIndex({{1920, 1080}, {1280, 720}, {1024, 768}}), 1);
  // 1280 x 720 first: the last 1024 x 768 instead
  EXPECT_EQ(defaultModeIndex({{1280, 720}, {1024, 768}, {800, 600}, {1024, 768}}), 3);
  // neither: the first entry
  EXPECT_EQ(defaultModeIndex({{1920, 1080}, {800, 600}}), 0);
  EXPECT_EQ(defaultModeIndex({{1280, 720}, {800, 600}}), 0);
  EXPECT_EQ(defaultModeIndex({{1920, 1200}, {1024, 768}}), 1);
}
