// quads.h -- the screen-space quads of the passes and overlays: the square
// (-1,-1,0)...(1,1,0) in the current coordinate system, one GL_QUADS primitive.
// Neither pushes nor pops a matrix: the caller restores the current matrix.
#pragma once

// Full-screen and overlay quad: optionally cancels the current rotation
// (billboard), rotates by angle degrees about z, scales by |sx|, sy, and
// mirrors the texture left to right when sx <= 0; the texture repeats
// textureScale times across the quad.
void drawScreenQuad(const double* angle, const double* sx, const double* sy, bool billboard,
                    float textureScale);

// Plain quad scaled by sx, sy with texture coordinates 0 ... 1.
void drawScaledQuad(const double* sx, const double* sy);
