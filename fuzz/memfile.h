// memfile.h -- the fuzz input as a file the readers open by name: an
// anonymous file in memory, reached through /proc/self/fd, so that the
// readers run exactly as on disk and nothing is left in a temporary folder.
#pragma once
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

class memFile {
public:
  memFile() : fd(memfd_create("fuzz-input", 0)), name("/proc/self/fd/" + std::to_string(fd)) {
    if (fd < 0) std::abort();
  }
  ~memFile() { close(fd); }
  memFile(const memFile&) = delete;
  memFile& operator=(const memFile&) = delete;

  // Replaces the contents by the input; returns the name to open.
  const char* holding(const uint8_t* data, size_t size) {
    if (ftruncate(fd, 0) != 0) std::abort();
    if (size > 0 && pwrite(fd, data, size, 0) != ssize_t(size)) std::abort();
    return name.c_str();
  }

private:
  int fd;
  std::string name;
};
