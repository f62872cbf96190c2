// textures.h -- random helpers on the program's 15-bit generator and the
// GL-free halves of the texture loaders (the GL halves are operations of
// rendercontext).
#pragma once
#include <vector>

// Where a JPEG the production cannot do without ends: the shell sets it to
// its shutdown path, which does not return. Unset, the loader has reported
// the file and its slot gets an empty texture.
extern void (*textureFailure)(int exitCode);

// rand() / 32767 as a double in 0 ... 1.
double frand();
// Uniform integer in 0 ... n inclusive, by rejection on the 15-bit generator.
int randomInt(int n);

// width x height x 4 bytes of rand() % 255, in order (the noise textures).
void fillNoiseBytes(int width, int height, std::vector<unsigned char>& bytes);
// width x height x 3 bytes of reproducible noise: reseeds the generator with
// 24234234, discards 10000 draws, then fills column by column with
// randomInt(256) stored in 8 bits (so 0 comes up twice as often).
void fillRandomTextureBytes(int width, int height, std::vector<unsigned char>& bytes);
// Combines two decoded images (bottom-up RGBX rows, see jpegdecode.h) into
// width x height RGBA bytes of the alpha image's size: colour from the colour
// image at the same texel, alpha from the alpha image's green byte. The alpha
// image's row k from the top lands in row max(height - 1 - k, 1), so row 0
// stays transparent black and the alpha image's bottom row lands in row 1.
// Colour texels outside the colour image read as black.
void combineRgba(const std::vector<unsigned char>& colour, int colourWidth, int colourHeight,
                 const std::vector<unsigned char>& alpha, int width, int height,
                 std::vector<unsigned char>& rgba);
