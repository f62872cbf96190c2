// testfiles.cpp -- scratch files, file reading and log capture for the tests.
#include "tests/support/testfiles.h"

#include <jpeglib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/crandom.h"

scratchDir::scratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "obelisktestXXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  if (mkdtemp(name.data())) root = name.data();
}

scratchDir::~scratchDir() {
  std::error_code ec;
  if (!root.empty()) std::filesystem::remove_all(root, ec);
}

std::string scratchDir::path(const std::string& name) const { return root + "/" + name; }

std::string scratchDir::write(const std::string& name, const std::string& bytes) const {
  std::ofstream(path(name), std::ios::binary) << bytes;
  return path(name);
}

std::string writeTestFile(const std::string& name, const std::string& bytes) {
  static scratchDir dir;  // one per process, removed when it ends
  return dir.write(name, bytes);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool fileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::string crlf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? "\r\n" : std::string(1, c);
  return out;
}

std::string randomBytes(unsigned seed, size_t n) {
  cSrand(seed);
  std::string out(n, '\0');
  for (char& c : out) c = char(cRand() & 0xFF);
  return out;
}

int exitCodeOf(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool haveFfmpeg() { return exitCodeOf("ffmpeg -version >/dev/null 2>&1") == 0; }

std::string ffprobe(const std::string& file, const std::string& options) {
  std::string text;
  if (std::FILE* p = popen(("ffprobe -v error " + options + " -of csv=p=0 '" + file + "'").c_str(), "r")) {
    char line[128];
    while (std::fgets(line, sizeof line, p)) text += line;
    pclose(p);
  }
  return text;
}

logCapture::logCapture(std::ostream& s) : stream(s), previous(s.rdbuf(out.rdbuf())) {}
logCapture::~logCapture() { stream.rdbuf(previous); }

std::vector<std::string> logCapture::lines() const {
  std::vector<std::string> result;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

void writeJpeg(const std::string& fileName, int width, int height, int components,
               const std::vector<unsigned char>& rgb) {
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) return;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  for (int c = 0; c < info.num_components; c++) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(&rgb[size_t(info.next_scanline) * width * components]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}
