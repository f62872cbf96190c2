// drawlog.h -- the state every draw of a frame runs under. The suite that
// links drawlog.cpp into its executable wraps the GL's draw calls (glBegin,
// glDrawArrays, glDrawElements, and the instanced draws and the compute
// dispatch GLEW loads); while a
// log is open each draw is described in one line, and consecutive draws
// under the same state make one row.
#pragma once
#include <string>
#include <vector>

class shaderset;

// A row: "<primitive> <blend> <depth> <program> [colour] <target> [1-sample] [x N]"
// ("1-sample": drawn with GL_MULTISAMPLE off)
//   primitive  points, quads, strip (quad strip), triangles, lines
//   blend      opaque, add (one, one), alpha (source alpha, one minus source
//              alpha), alpha-add (source alpha, one), or blend(0xsrc,0xdst)
//   depth      depth (test and writes), depth-nowrite, nodepth
//   program    P<slot> of the scene's shader set, fixed (none), P? (another)
//   colour     for fixed-function draws only: c(r,g,b,a) to two decimals, and
//              "lit" when lighting is on
//   target     win (the window's framebuffer) or fbo
// A compute dispatch is the row "compute". Draws of the same description in
// a row count as one row with " x N".
// Without `stripColours` the quad strips (the stroke ribbons, each in a
// colour of its own) are described without theirs.
void drawLogOpen(const shaderset* programs, bool stripColours = true);
std::vector<std::string> drawLogClose();

// Rows joined by newlines, for failure messages.
std::string joinRows(const std::vector<std::string>& rows);
