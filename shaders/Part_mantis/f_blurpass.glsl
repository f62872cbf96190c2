#version 430 compatibility
// The frame to the window: the drawing stays sharp (it is the focus of the
// whole scene); "Limit" softens it for authoring. A light vignette.
#include "blur_disc.cpp"

void main() {
  gl_FragColor = softened(gl_TexCoord[0].xy, clamp(Limit, 0.0, 2.0), 0.006, 0.5, 0.5);
}
