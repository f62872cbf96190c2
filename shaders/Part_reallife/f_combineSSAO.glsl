#version 430 compatibility
// Ambient occlusion from the depth texture: eight samples on a disc (made
// round by "aspect") turned by the random texture; nearer neighbours within
// reach darken the pixel. The glowing part (colour B) is added back. Alpha
// passes on how much of the pixel is covered (the golden bird's points, the
// black birds): the sky is painted by it later (see cover).
//
// The statues come in unlit, plain white with alpha 0, and write no depth:
// the only opaque white in colour A. Their marble is lit here from their
// outline alone: the outline, softened at two widths, is a height field
// whose slope tilts the surface away from the statue's mass near its
// edges, so limbs and robes round off. One soft light from the upper left,
// in front, and an ambient, as marble under an open sky; narrow parts and
// notches get a little less of the ambient.
#include "linear_depth.cpp"
#include "cover.cpp"

uniform float aspect;

// The disc's radius is a part of the picture's height, not pixels.
#define OCCLUSION_OFFSET(a, r) (vec2(cos(a) / max(aspect, 0.1), sin(a)) * (r))
#include "occlusion.cpp"

const vec3 Light = vec3(-0.5, 0.8, 0.45);  // eye space
const vec3 Ambient = vec3(0.4, 0.4, 0.43), Diffuse = vec3(0.85, 0.83, 0.8);

// How much of the pixel the white of a statue covers: all of it, or part
// at an antialiased edge. The points that let the sky through are coloured
// and whatever covers has alpha 1, so a grey with alpha under a quarter is
// marble. An edge pixel that is partly covered (a black bird in front, a
// golden point behind) is marble only beside a pixel of plain marble: the
// golden bird's rim, nearly as light, has none beside it.
bool marbleColour(vec4 c, float least) {
  float low = min(c.r, min(c.g, c.b)), high = max(c.r, max(c.g, c.b));
  return low > least && high - low < 0.25 * high;
}

float statueAt(vec4 c, vec2 uv, vec2 pixel) {
  if (c.a >= 0.75 || !marbleColour(c, 0.15)) return 0.0;
  float low = min(c.r, min(c.g, c.b));
  if (c.a < 0.25) return low;
  for (int k = 0; k < 4; ++k) {
    vec2 toward = vec2(k == 0 ? 1.0 : (k == 1 ? -1.0 : 0.0), k == 2 ? 1.0 : (k == 3 ? -1.0 : 0.0));
    vec4 n = texture(texture2d_1, uv + toward * pixel);
    if (n.a < 0.25 && marbleColour(n, 0.9)) return low;
  }
  return 0.0;
}

// How much of a tap (filtered, so it may straddle the outline) is marble.
float statueTap(vec4 c) {
  float low = min(c.r, min(c.g, c.b)), high = max(c.r, max(c.g, c.b));
  return c.a < 0.75 && high - low < 0.25 * high ? clamp((low - 0.05) / 0.9, 0.0, 1.0) : 0.0;
}

// The outline's slope at uv over a disc of `radius` pixels: the taps'
// directions, weighted as the slope of a bell over the disc, where the
// statue is. It points into the statue's mass, 0 deep inside. The weights
// die out towards the rim, so the light does not step as the outline
// crosses a tap. `cover` gets the bell's part that the statue fills.
vec2 outlineSlope(vec2 uv, vec2 pixel, float radius, int taps, out float cover) {
  vec2 slope = vec2(0.0);
  float total = 0.0;
  cover = 0.0;
  for (int k = 0; k < taps; ++k) {
    float f = sqrt((float(k) + 0.5) / float(taps));
    float a = float(k) * 2.3999632;
    vec2 d = vec2(cos(a), sin(a));
    vec4 c = texture(texture2d_1, uv + d * f * radius * pixel);
    if (c.a > 0.5 && max(c.r, max(c.g, c.b)) < 0.05) continue;  // a black bird in front hides the outline
    float m = statueTap(c);
    float bell = exp(-4.0 * f * f);
    slope += d * f * bell * m;
    cover += bell * m;
    total += bell;
  }
  cover /= max(total, 1e-4);
  return slope / max(total, 1e-4);
}

vec3 marble(vec2 uv) {
  vec2 size = vec2(textureSize(texture2d_1, 0));
  vec2 pixel = 1.0 / size;
  float fineCover, wideCover;
  vec2 fine = outlineSlope(uv, pixel, 0.012 * size.y, 20, fineCover);
  vec2 wide = outlineSlope(uv, pixel, 0.045 * size.y, 48, wideCover);
  vec3 normal = normalize(vec3(-(0.6 * fine + 0.4 * wide) * 9.0, 1.0));
  float lit = max(dot(normal, normalize(Light)), 0.0);
  float open = mix(0.7, 1.0, smoothstep(0.4, 0.85, 0.5 * (fineCover + wideCover)));
  return Ambient * open + Diffuse * lit;
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec4 drawn = texture(texture2d_1, uv);
  float statue = statueAt(drawn, uv, 1.0 / vec2(textureSize(texture2d_1, 0)));
  if (statue > 0.0) {
    // The rest of an edge pixel keeps its light, and covers as much as it did.
    vec3 rest = max(drawn.rgb - statue, 0.0);
    gl_FragColor = vec4(clamp(marble(uv), 0.0, 1.0) * statue + rest, marbleAlpha(1.0 - statue - drawn.a));
    return;
  }
  vec3 flare = texture(texture2d_3, uv).rgb;
  float occlusion = occlusionAt(uv, vec2(Limit), 0.018, vec4(0.04, 0.15, 0.5, 1.0));
  float ao = 1.0 - 0.4 * occlusion / 8.0;
  gl_FragColor = vec4(drawn.rgb * ao + flare * 0.35, clearOfMarble(drawn.a));
}
