// Shader source reading, without GL.
#include <gtest/gtest.h>

#include "gfx/shaderset.h"
#include "tests/support/testfiles.h"

TEST(shaderSource, holdsTheBytesUnchangedFollowedByANul) {
  scratchDir dir;
  logCapture log;
  std::unique_ptr<char[]> text = readShaderSource(dir.write("s.cpp", "void main()\r\n{}\n"));
  ASSERT_TRUE(text);
  EXPECT_STREQ(text.get(), "void main()\r\n{}\n");
  text = readShaderSource(dir.write("empty.cpp", ""));
  ASSERT_TRUE(text);
  EXPECT_EQ(text[0], 0);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_FALSE(readShaderSource(dir.path("absent.cpp")));
  EXPECT_FALSE(readShaderSource(dir.path("")));  // the folder itself
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"Shader source file \"" + dir.path("absent.cpp") + "\" not found.",
                                                    "Shader source file \"" + dir.path("") + "\" not found."}));
}

TEST(shaderSource, anIncludeLineStandsForTheFileBesideIt) {
  scratchDir dir;
  dir.write("piece.cpp", "uint hash(uint x) { return x; }\n");
  std::unique_ptr<char[]> text = readShaderSource(
      dir.write("main.cpp", "#version 430\n#include \"piece.cpp\"\n#include \"absent.cpp\"\nvoid main() {}\n"));
  ASSERT_TRUE(text);
  // a missing piece keeps its line for the compiler to point at
  EXPECT_STREQ(text.get(), "#version 430\nuint hash(uint x) { return x; }\n#include \"absent.cpp\"\nvoid main() {}\n");
}

TEST(shaderSource, piecesIncludePiecesAndALoopStops) {
  scratchDir dir;
  dir.write("piece.cpp", "uint hash(uint x) { return x; }\n");
  dir.write("outer.cpp", "#include \"piece.cpp\"\nuint twice(uint x) { return hash(x) * 2u; }\n");
  dir.write("loop.cpp", "#include \"loop.cpp\"\n");
  std::unique_ptr<char[]> text = readShaderSource(dir.write("main.cpp", "#include \"outer.cpp\"\n#include \"loop.cpp\"\n"));
  ASSERT_TRUE(text);
  EXPECT_STREQ(text.get(), "uint hash(uint x) { return x; }\nuint twice(uint x) { return hash(x) * 2u; }\n"
                           "#include \"loop.cpp\"\n");
}
