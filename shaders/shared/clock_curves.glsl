// clock_curves.glsl -- the two curves the scenes' time scripts are written
// with (timing.h), for programs that follow a scene's clock themselves.
const float Pi = 3.14159265;

// The cosine ease of timing.h: 0 up to x = 0, rising smoothly to 1 at x = 1.
float ease(float x) { return 0.5 - 0.5 * cos(Pi * clamp(x, 0.0, 1.0)); }

// timing.h's rampIn: a power curve at first, x itself from x = 1 / 0.3 on.
float rampIn(float x) {
  float xp = max(x, 0.0);
  float s = pow(0.5 * xp, 2.2);
  return s + (xp - s) * clamp(0.3 * xp, 0.0, 1.0);
}
