// capture.h -- offline capture: every drawn frame read back from the window
// and written as DIR/frame_NNNNNN.png, or piped to ffmpeg as a video with the
// music track muxed in.
#pragma once
#include <string>

// Starts a capture of width x height frames at fps. With videoFile empty the
// frames go to dir (created if missing); otherwise to ffmpeg, found on PATH,
// which encodes H.264 (yuv420p) with musicFile as the sound (none when
// empty), as long as the picture. False, with the reason in error, when the
// folder cannot be made or ffmpeg cannot be started. The sound starts
// musicStart seconds into the track (a capture that starts mid-production);
// where the track (musicLength seconds; -1: unknown) ends before the
// picture, the sound goes on as silence.
bool captureBegin(const std::string& dir, const std::string& videoFile, int width, int height,
                  double fps, const std::string& musicFile, std::string& error, double musicStart = 0.0,
                  double musicLength = -1.0);

// Reads the window's back buffer (call after drawing, before the swap, with
// the window's framebuffer bound) and writes it as the next frame. False
// when the frame could not be written.
bool captureFrame();

// Ends the capture: closes ffmpeg's input and waits for it. False, with the
// reason on standard error, when a video is not whole: ffmpeg failed, or its
// file is missing or empty. A video that ran past the end of the music says
// so in one line. Safe to repeat (true when nothing was open).
bool captureEnd();

// Frames written since captureBegin.
int captureFrameCount();
// Why the last frame could not be written: the file and the reason.
std::string captureError();
