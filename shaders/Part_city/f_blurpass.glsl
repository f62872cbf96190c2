#version 430 compatibility
// The frame to the window, softened by depth around the cloud's distance
// (the camera stands 9.6 units from it): the street close to the lens and
// the far end melt a little, the cloud stays sharp. Where colour A stayed
// empty (its alpha is the coverage of the cloud, the silhouettes and the
// doves; the doves write no depth, so the key is the colour, not the depth)
// the dusk is painted (dusk_sky), with the cloud's own light spilling into
// it as a halo; the glow is added over it all afterwards (see glow). A
// light vignette closes the frame.
#include "linear_depth.cpp"
#include "blur_disc.cpp"
#include "dusk_sky.cpp"
#include "glow.cpp"

const float Focus = 9.6;

// The cloud's light round uv, for the halo on the sky.
vec3 halo(vec2 uv) {
  vec2 size = vec2(textureSize(texture2d_1, 0));
  vec3 sum = vec3(0.0);
  for (int k = 0; k < 12; ++k) {
    float r = (0.015 + 0.045 * fract(float(k) * 0.618034)) * size.y;
    float a = float(k) * 2.3999632;
    vec4 c = texture(texture2d_1, uv + vec2(cos(a), sin(a)) * r / size);
    sum += c.rgb * c.a;
  }
  return sum / 12.0;
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  float depth = min(linearDepth(uv), 30.0);
  float blur = clamp(abs(depth - Focus) / Focus - 0.25, 0.0, 1.0) + Limit;
  vec3 frame = clamp(softened(uv, min(blur, 2.0), 0.004, 0.6, 0.45).rgb, 0.0, 1.0);
  vec4 drawn = texture(texture2d_1, uv);
  float empty = 1.0 - clamp(drawn.a, 0.0, 1.0);
  if (empty > 0.0) {
    vec2 c = uv - 0.5;
    vec3 sky = (duskSky(uv, time) + halo(uv) * 0.35) * (1.0 - 0.45 * dot(c, c) * 2.0);
    frame = mix(frame, clamp(sky, 0.0, 1.0), empty);
  }
  // The glow quad, added next, cannot follow the outline of what covers the
  // dusk: what it will add here, against what should show.
  float missing = pixelShare(drawn) - quadShare(texture2d_1, uv);
  if (abs(missing) > 0.002) frame += glowAt(texture2d_1, uv) * missing;
  gl_FragColor = vec4(frame, 1.0);
}
