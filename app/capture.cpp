// capture.cpp -- frames read back from the window, written as PNG images or
// piped to ffmpeg. GL rows come bottom-up: the images are written with a
// negative row stride, ffmpeg flips the video itself.
#include "app/capture.h"

#include <GL/glew.h>
#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

struct captureState {
  bool active = false;
  std::string dir;                  // image folder; empty while piping
  int width = 0, height = 0;
  int frames = 0;                   // written so far
  pid_t encoder = -1;               // ffmpeg, while piping
  int pipeFd = -1;                  // its standard input
  void (*oldPipeHandler)(int) = SIG_DFL;
  std::vector<unsigned char> pixels;
  std::string error;                // why the last frame could not be written
  std::string videoFile;            // while piping
  double fps = 30, musicStart = 0;
  double musicLength = -1;          // seconds of the track; -1: unknown or no sound
};
static captureState capture;

// Creates every missing folder on the way; true when dir is a folder.
static bool makeFolders(const std::string& dir) {
  for (size_t at = 1; at <= dir.size(); ++at) {
    if (at < dir.size() && dir[at] != '/') continue;
    std::string part = dir.substr(0, at);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

static std::string findOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    std::string folder = list.substr(start, end - start);
    std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return std::string();
}

static std::string number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v);
  return text;
}

// Raw RGB rows in, H.264 out; even sizes because yuv420p needs them.
// The sound is the track from musicStart, padded with silence where it ends
// before the picture (a short track, a start past its end), so that every
// video has its audio stream; -shortest then ends both with the picture.
static std::vector<std::string> encoderArguments(const std::string& ffmpeg, const std::string& videoFile,
                                                 int width, int height, double fps,
                                                 const std::string& musicFile, double musicStart,
                                                 double musicLength) {
  std::vector<std::string> a = {ffmpeg, "-hide_banner", "-loglevel", "error", "-y",
                                "-f", "rawvideo", "-pixel_format", "rgb24",
                                "-video_size", std::to_string(width) + "x" + std::to_string(height),
                                "-framerate", number(fps), "-i", "-"};
  if (!musicFile.empty()) {
    if (musicLength >= 0 && musicStart >= musicLength)
      a.insert(a.end(), {"-f", "lavfi", "-i", "anullsrc=channel_layout=stereo:sample_rate=44100"});
    else
      a.insert(a.end(), {"-ss", number(musicStart), "-i", musicFile, "-af", "apad"});
    a.insert(a.end(), {"-map", "0:v", "-map", "1:a", "-c:a", "aac", "-b:a", "192k", "-shortest"});
  }
  a.insert(a.end(), {"-vf", "vflip,crop=trunc(iw/2)*2:trunc(ih/2)*2", "-c:v", "libx264",
                     "-pix_fmt", "yuv420p", "-crf", "18", videoFile});
  return a;
}

static bool startEncoder(const std::vector<std::string>& args, std::string& error) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno);
    return false;
  }
  std::vector<char*> argv;
  for (const std::string& s : args) argv.push_back(const_cast<char*>(s.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
  // Its own process group: the terminal's interrupt reaches only the program,
  // which then closes the encoder's input so that the video is finished.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  int rc = posix_spawn(&capture.encoder, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[0]);
  if (rc != 0) {
    close(fds[1]);
    capture.encoder = -1;
    error = std::string("cannot start ffmpeg: ") + std::strerror(rc);
    return false;
  }
  capture.pipeFd = fds[1];
  // A failing ffmpeg must turn into a failed write, not end the program.
  capture.oldPipeHandler = signal(SIGPIPE, SIG_IGN);
  return true;
}

bool captureBegin(const std::string& dir, const std::string& videoFile, int width, int height,
                  double fps, const std::string& musicFile, std::string& error, double musicStart,
                  double musicLength) {
  captureEnd();
  if (width <= 0 || height <= 0 || !(fps > 0)) {
    error = "capture: bad frame size or rate";
    return false;
  }
  if (videoFile.empty()) {
    if (!makeFolders(dir)) {
      error = "capture: cannot create the folder \"" + dir + "\": " + std::strerror(errno);
      return false;
    }
    capture.dir = dir;
    struct stat st;
    if (stat((dir + "/frame_000000.png").c_str(), &st) == 0)
      std::fprintf(stderr, "capture: \"%s\" already holds frames of an earlier run; they are overwritten\n",
                   dir.c_str());
  } else {
    std::string ffmpeg = findOnPath("ffmpeg");
    if (ffmpeg.empty()) {
      error = "capture: ffmpeg is not installed (not found on PATH); "
              "install it, or capture images to a folder instead of a video";
      return false;
    }
    if (!startEncoder(encoderArguments(ffmpeg, videoFile, width, height, fps, musicFile, musicStart, musicLength),
                      error))
      return false;
    capture.dir.clear();
  }
  capture.videoFile = videoFile;
  capture.fps = fps;
  capture.musicStart = musicStart;
  capture.musicLength = musicFile.empty() ? -1 : musicLength;
  capture.width = width;
  capture.height = height;
  capture.frames = 0;
  capture.pixels.assign(size_t(width) * size_t(height) * 3, 0);
  capture.active = true;
  return true;
}

static bool writeAll(int fd, const unsigned char* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

// The rows are stored bottom-up, so the image is written with a negative stride.
// On failure the reason goes to capture.error.
static bool writePng(const std::string& path, const unsigned char* pixels, int width, int height) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(width);
  image.height = png_uint_32(height);
  image.format = PNG_FORMAT_RGB;
  image.flags = PNG_IMAGE_FLAG_FAST;
  errno = 0;
  int ok = png_image_write_to_file(&image, path.c_str(), 0, pixels, -width * 3, nullptr);
  if (!ok) {
    std::string reason = errno ? std::strerror(errno) : image.message;
    capture.error = "cannot write " + path + ": " + reason;
  }
  png_image_free(&image);
  return ok != 0;
}

bool captureFrame() {
  if (!capture.active) return false;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, capture.width, capture.height, GL_RGB, GL_UNSIGNED_BYTE, capture.pixels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  bool ok;
  if (capture.pipeFd >= 0) {
    ok = writeAll(capture.pipeFd, capture.pixels.data(), capture.pixels.size());
    if (!ok) capture.error = std::string("ffmpeg stopped taking frames: ") + std::strerror(errno);
  } else {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", capture.frames);
    ok = writePng(capture.dir + name, capture.pixels.data(), capture.width, capture.height);
  }
  if (ok) ++capture.frames;
  return ok;
}

// The encoder's exit status; false (with the reason on standard error)
// unless it ended with 0.
static bool waitForEncoder() {
  int status = 0;
  while (waitpid(capture.encoder, &status, 0) < 0 && errno == EINTR) {
  }
  capture.encoder = -1;
  if (WIFSIGNALED(status)) {
    std::fprintf(stderr, "capture: ffmpeg was ended by signal %d (%s)\n", WTERMSIG(status),
                 strsignal(WTERMSIG(status)));
    return false;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "capture: ffmpeg ended with exit code %d\n", WEXITSTATUS(status));
    return false;
  }
  return true;
}

// A video is whole when its encoder ended well and its file holds bytes.
static bool videoWritten() {
  struct stat st;
  if (stat(capture.videoFile.c_str(), &st) != 0) {
    std::fprintf(stderr, "capture: the video \"%s\" was not written\n", capture.videoFile.c_str());
    return false;
  }
  if (st.st_size == 0) {
    std::fprintf(stderr, "capture: the video \"%s\" is empty\n", capture.videoFile.c_str());
    return false;
  }
  return true;
}

bool captureEnd() {
  bool ok = true;
  if (capture.pipeFd >= 0) {
    close(capture.pipeFd);
    capture.pipeFd = -1;
    signal(SIGPIPE, capture.oldPipeHandler);
  }
  if (capture.encoder > 0) {
    ok = waitForEncoder();
    ok = videoWritten() && ok;
    double end = capture.musicStart + capture.frames / capture.fps;
    if (ok && capture.musicLength >= 0 && capture.musicStart >= capture.musicLength)
      std::fprintf(stderr, "capture: the music ends at %.2f s, before the video starts at %.2f s; its sound is silence\n",
                   capture.musicLength, capture.musicStart);
    else if (ok && capture.musicLength >= 0 && end > capture.musicLength + 0.5 / capture.fps)
      std::fprintf(stderr, "capture: the music ends at %.2f s, %.2f s into the video; its sound is silence from there\n",
                   capture.musicLength, capture.musicLength - capture.musicStart);
  }
  capture.videoFile.clear();
  capture.active = false;
  capture.pixels.clear();
  capture.pixels.shrink_to_fit();
  return ok;
}

int captureFrameCount() { return capture.frames; }

std::string captureError() { return capture.error; }
