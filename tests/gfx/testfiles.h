// testfiles.h -- scratch files and log capture for the gfx tests.
#pragma once
#include <sstream>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with the object.
class scratchDir {
public:
  scratchDir();
  ~scratchDir();
  std::string path(const std::string& name) const;  // a file inside it
  std::string write(const std::string& name, const std::string& bytes) const;  // returns the path
private:
  std::string root;
};

// Redirects std::cout (the log) into a string while it lives.
class logCapture {
public:
  logCapture();
  ~logCapture();
  std::vector<std::string> lines() const;  // the text split at newlines
  std::string text() const { return out.str(); }
private:
  std::ostringstream out;
  std::streambuf* previous;
};

// Writes a baseline JPEG at quality 100 without chroma subsampling; rgb holds
// width x height x components bytes, rows from the top.
void writeJpeg(const std::string& fileName, int width, int height, int components,
               const std::vector<unsigned char>& rgb);
