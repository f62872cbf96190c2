// capture.cpp -- frames read back from the window, written as PNG images or
// piped to ffmpeg. GL rows come bottom-up: the images are written with a
// negative row stride, ffmpeg flips the video itself.
#include "app/capture.h"

#include <GL/glew.h>
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/files.h"

struct captureState {
  bool active = false;
  std::string dir;                  // image folder; empty while piping
  int width = 0, height = 0;
  int frames = 0;                   // written so far
  childProcess encoder;             // ffmpeg and its standard input, while piping
  std::vector<unsigned char> pixels;
  std::string error;                // why the last frame could not be written
  std::string videoFile;            // while piping
  double fps = 30, musicStart = 0;
  double musicLength = -1;          // seconds of the track; -1: unknown or no sound
};
static captureState capture;

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
  std::vector<std::string> a = {ffmpeg, "-hide_banner", "-loglevel", "error", "-xerror", "-y",
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
  if (platformStartChild(args, true, capture.encoder, error)) return true;
  error = "cannot start ffmpeg: " + error;
  return false;
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
    if (!platformMakeFolders(dir)) {
      error = "capture: cannot create the folder \"" + dir + "\": " + platformLastError();
      return false;
    }
    capture.dir = dir;
    if (platformFileSize(dir + "/frame_000000.png") >= 0)
      std::fprintf(stderr, "capture: \"%s\" already holds frames of an earlier run; they are overwritten\n",
                   dir.c_str());
  } else {
    std::string ffmpeg = platformFindProgram("ffmpeg");
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
  if (capture.encoder.input >= 0) {
    ok = platformWriteChild(capture.encoder, capture.pixels.data(), capture.pixels.size());
    if (!ok) capture.error = "ffmpeg stopped taking frames: " + platformLastError();
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
  childEnd end = platformWaitChild(capture.encoder);
  if (!end.exited) {
    std::fprintf(stderr, "capture: ffmpeg was ended by signal %d\n", end.code);
    return false;
  }
  if (end.code != 0) {
    std::fprintf(stderr, "capture: ffmpeg ended with exit code %d\n", end.code);
    return false;
  }
  return true;
}

// A video is whole when its encoder ended well and its file holds bytes.
static bool videoWritten() {
  long long size = platformFileSize(capture.videoFile);
  if (size < 0) {
    std::fprintf(stderr, "capture: the video \"%s\" was not written\n", capture.videoFile.c_str());
    return false;
  }
  if (size == 0) {
    // nothing to play: it is not left behind to be taken for a video
    std::remove(capture.videoFile.c_str());
    std::fprintf(stderr, "capture: the video \"%s\" is empty; removed\n", capture.videoFile.c_str());
    return false;
  }
  return true;
}

bool captureEnd() {
  bool ok = true;
  if (capture.encoder.id >= 0) {
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
