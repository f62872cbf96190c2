// cover.glsl -- what colour A's alpha means once the occlusion pass has
// written it, for the passes after it. 0 (or its share of a pixel) is open:
// the sky is painted there and the point's light added to it. 1 covers: the
// golden bird's points and the black birds keep the sky off, go through the
// depth blur and get the glow. The marble of the statues is opaque but has
// no depth of its own and must not glow white, so it is kept apart: the
// occlusion pass gives a pixel with marble in it MarbleLow + MarbleSpan x
// the part of it still open to the sky (an antialiased edge), and its colour
// holds the lit marble and the light of the rest. No other alpha lies in
// that band: the occlusion pass moves any edge pixel that would fall in it
// (antialiasing with many samples) just outside.
const float MarbleLow = 0.15, MarbleSpan = 0.08;
const float BandLow = 0.14, BandHigh = 0.24;

float marbleAlpha(float open) { return MarbleLow + MarbleSpan * clamp(open, 0.0, 1.0); }

bool isMarble(float a) { return a > BandLow && a < BandHigh; }

// Any other alpha, kept out of the marble's band.
float clearOfMarble(float a) { return isMarble(a) ? (a < 0.5 * (BandLow + BandHigh) ? 0.13 : 0.25) : a; }

// How much of the pixel the sky paints, once it has risen by `rise`.
float skyShare(float a, float rise) {
  return rise * (isMarble(a) ? clamp((a - MarbleLow) / MarbleSpan, 0.0, 1.0) : 1.0 - a);
}

// How much of the glow shows on the pixel: none on the sky, none on marble.
float glowShare(float a, float rise) { return isMarble(a) ? 0.0 : 1.0 - rise * (1.0 - a); }
