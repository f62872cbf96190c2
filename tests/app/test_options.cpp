// Command-line options.
#include <gtest/gtest.h>

#include <map>

#include "app/options.h"

static bool parse(std::vector<const char*> args, options& o, std::string& error) {
  args.insert(args.begin(), "obelisk");
  return parseOptions(int(args.size()), const_cast<char**>(args.data()), o, error);
}

TEST(options, settingsSkipTheDialog) {
  options o;
  std::string e;
  ASSERT_TRUE(parse({}, o, e));
  EXPECT_FALSE(o.any || o.skipDialog);
  EXPECT_EQ(o.frames, -1);
  ASSERT_TRUE(parse({"--windowed", "--mode", "640x400", "--frames", "20", "--no-aa", "--fps-clamp"}, o, e));
  EXPECT_TRUE(o.any && o.skipDialog && o.windowed && o.noAA && o.clamp);
  EXPECT_EQ(o.width, 640);
  EXPECT_EQ(o.height, 400);
  EXPECT_EQ(o.frames, 20);
  ASSERT_TRUE(parse({"--headless"}, o, e));  // no display to show a dialog on
  EXPECT_TRUE(o.headless && o.skipDialog);
  ASSERT_TRUE(parse({"--watch", "--gl-debug"}, o, e));  // these change no setting
  EXPECT_FALSE(o.skipDialog);
}

TEST(options, badValuesAndUnknownOptionsAreRefusedInOneLine) {
  const std::vector<std::vector<const char*>> bad = {
      {"--mode", "640"}, {"--mode", "640x"}, {"--mode", "x400"}, {"--mode", "0x0"}, {"--mode"},
      {"--frames", "-3"}, {"--frames", "abc"}, {"--frames", "0"}, {"--section", "0", "--at", "-20"},
      {"--at", "3"},  // a clock needs its section
      {"--seek", "-1"}, {"--seek", "456"}, {"--seek", "10", "--section", "1"}};
  options o;
  std::string e;
  for (const auto& args : bad) EXPECT_FALSE(parse(args, o, e)) << args[0] << " " << (args.size() > 1 ? args[1] : "");
  EXPECT_FALSE(parse({"--bogus"}, o, e));
  EXPECT_NE(e.find("--bogus"), std::string::npos);
  EXPECT_EQ(e.find('\n'), std::string::npos);
  EXPECT_FALSE(parse({"--section", "6"}, o, e));
  EXPECT_NE(e.find("0 to 5"), std::string::npos) << e;
  EXPECT_FALSE(parse({"--section", "1", "--at", "171.5"}, o, e));  // past the intro's hand-over
  EXPECT_NE(e.find("from 0 to 171 s"), std::string::npos) << e;
  EXPECT_TRUE(parse({"--section", "0", "--at", "-13.5"}, o, e)) << e;  // the start's clock begins there
  EXPECT_TRUE(parse({"--section", "4", "--at", "97.7"}, o, e)) << e;
  EXPECT_TRUE(parse({"--seek", "455.5"}, o, e)) << e;
  EXPECT_TRUE(o.skipDialog);
  EXPECT_FALSE(parse({"--frames", "0"}, o, e));  // a run that draws nothing
  EXPECT_NE(e.find("1 or more"), std::string::npos) << e;
}

// Every option of the table parses with a value of its kind (--at with its
// section), and without the value it needs is refused naming itself; the
// usage shows each one with its value's name and no option it lacks.
TEST(options, everyOptionInTheTableParsesAndIsInTheUsage) {
  const std::map<std::string, const char*> examples = {
      {"WxH", "640x400"}, {"N", "1"}, {"DIR", "frames"}, {"FILE", "demo.mp4"}, {"F", "25"}, {"T", "12.5"}};
  std::string usage = usageText();
  size_t shown = 0;
  for (const optionRow& row : optionTable) {
    std::vector<const char*> args = {row.name};
    if (row.argument) args.push_back(examples.at(row.argument));
    if (std::string(row.name) == "--at") args.insert(args.begin(), {"--section", "1"});
    options o;
    std::string e;
    EXPECT_TRUE(parse(args, o, e)) << row.name << ": " << e;
    std::string left = std::string("\n  ") + row.name + (row.argument ? std::string(" ") + row.argument : "") + " ";
    EXPECT_NE(usage.find(left), std::string::npos) << row.name;
    if (row.argument) {
      EXPECT_FALSE(parse({row.name}, o, e)) << row.name;
      EXPECT_NE(e.find(row.name), std::string::npos) << e;
    }
  }
  for (size_t at = usage.find("\n  --"); at != std::string::npos; at = usage.find("\n  --", at + 1)) shown++;
  EXPECT_EQ(shown, optionTable.size());
  options o;
  std::string e;
  ASSERT_TRUE(parse({"-h"}, o, e));
  EXPECT_TRUE(o.help);
}
