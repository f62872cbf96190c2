#version 430 compatibility
// The frame to the window with a depth of field that focuses itself: the
// focus is the depth found round the middle of the picture (the cloud the
// camera looks at), what lies nearer or farther melts into soft discs.
// Pixels that hold no depth (empty, or the flights over empty sky) stay
// sharp. "Limit" widens the blur everywhere. A light vignette closes it.
// From 40 s the dusk sky rises where colour A is open (see cover): the light
// of what was drawn there is added to it, so faint points sparkle on the sky
// instead of dimming it, while the birds stay black and the marble is drawn
// as the occlusion pass lit it, sharp (the statues have no depth). The glow
// is added over it all afterwards (see glow).
#include "linear_depth.cpp"
#include "blur_disc.cpp"
#include "cover.cpp"
#include "dusk_sky.cpp"
#include "glow.cpp"

float focusDepth() {
  float sum = 0.0, n = 0.0;
  for (int k = 0; k < 9; ++k) {
    vec2 at = vec2(0.5) + (vec2(float(k % 3), float(k / 3)) - 1.0) * vec2(0.08, 0.12);
    float d = linearDepth(at);
    if (d < 60.0) {
      sum += d;
      n += 1.0;
    }
  }
  return n > 0.0 ? sum / n : 5.0;
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec4 drawn = texture(texture2d_1, uv);
  float rise = skyRise(time);
  vec3 frame;
  if (isMarble(drawn.a)) {
    vec2 c = uv - 0.5;
    frame = clamp(drawn.rgb * (1.0 - 0.45 * dot(c, c) * 2.0), 0.0, 1.0);
  } else {
    float depth = linearDepth(uv);
    float focus = focusDepth();
    float blur = depth < 60.0 ? clamp(abs(depth - focus) / focus * 1.4 - 0.08, 0.0, 1.0) : 0.0;
    frame = clamp(softened(uv, min(blur + Limit, 2.0), 0.005, 0.5, 0.45).rgb, 0.0, 1.0);
  }
  float open = skyShare(drawn.a, rise);
  if (open > 0.0 && isMarble(drawn.a)) {
    frame += duskSky(uv, time) * open;
  } else if (open > 0.0) {
    frame = mix(frame, clamp(duskSky(uv, time) + drawn.rgb, 0.0, 1.0), open);
  }
  // The glow quad, added next, cannot follow the sky's outline: what it will
  // add here, against what should show.
  if (rise > 0.0) {
    float missing = pixelShare(drawn, rise) - quadShare(texture2d_1, uv, rise);
    if (abs(missing) > 0.002) frame += glowAt(texture2d_1, uv) * missing;
  }
  gl_FragColor = vec4(frame, 1.0);
}
