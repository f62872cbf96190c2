// testfiles.cpp -- scratch files and log capture for the gfx tests.
#include "tests/gfx/testfiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include <jpeglib.h>

scratchDir::scratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "gfxtestXXXXXX").string();
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
  std::ofstream out(path(name), std::ios::binary);
  out << bytes;
  return path(name);
}

logCapture::logCapture() : previous(std::cout.rdbuf(out.rdbuf())) {}
logCapture::~logCapture() { std::cout.rdbuf(previous); }

std::vector<std::string> logCapture::lines() const {
  std::vector<std::string> result;
  std::istringstream in(out.str());
  std::string line;
  while (std::getline(in, line)) result.push_back(line);
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
