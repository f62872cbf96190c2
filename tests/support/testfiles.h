// testfiles.h -- scratch files, file reading and log capture for the tests.
#pragma once
#include <iostream>
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

// Writes bytes to a file in a scratch folder of this process; returns its path.
std::string writeTestFile(const std::string& name, const std::string& bytes);
std::string readFile(const std::string& path);  // empty when missing
bool fileExists(const std::string& path);
std::string crlf(const std::string& text);  // every "\n" as "\r\n"
std::string randomBytes(unsigned seed, size_t n);  // from the program's 15-bit generator
// Runs a shell command; its exit code, or -1 when it did not exit normally.
int exitCodeOf(const std::string& command);
// Whether ffmpeg runs here; what ffprobe lists of a media file for
// `options` (e.g. "-show_entries stream=codec_type": "video\naudio\n").
bool haveFfmpeg();
std::string ffprobe(const std::string& file, const std::string& options);

// Redirects std::cout (the log), or another stream such as std::cerr, into
// a string while it lives.
class logCapture {
public:
  explicit logCapture(std::ostream& stream = std::cout);
  ~logCapture();
  std::vector<std::string> lines() const;  // the text split at newlines
  std::string text() const { return out.str(); }
private:
  std::ostringstream out;
  std::ostream& stream;
  std::streambuf* previous;
};

// Writes a baseline JPEG at quality 100 without chroma subsampling; rgb holds
// width x height x components bytes, rows from the top.
void writeJpeg(const std::string& fileName, int width, int height, int components,
               const std::vector<unsigned char>& rgb);
