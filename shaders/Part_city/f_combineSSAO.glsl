#version 430 compatibility
// Ambient occlusion from the depth texture: eight samples on a disc turned
// by the random texture; nearer neighbours within reach darken the pixel.
// The flaring part (colour B) is added back unoccluded. Colour A's alpha,
// its coverage, is kept: the backdrop is painted where it is zero. RelX,
// how far the shake moved the picture since the last frame, turns the
// sample disc with it so the grain does not crawl.
uniform sampler2D texture2d_1;      // colour A
uniform sampler2D texture2d_2;      // depth
uniform sampler2D texture2d_3;      // colour B
uniform sampler2D texture2d_random;
uniform float Limit;
uniform float time;
uniform vec3 RelX;

const float Near = 0.1, Far = 100.0;

float linearDepth(vec2 uv) {
  float d = texture(texture2d_2, uv).r * 2.0 - 1.0;
  return 2.0 * Near * Far / (Far + Near - d * (Far - Near));
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec4 colour = texture(texture2d_1, uv);
  vec3 flare = texture(texture2d_3, uv).rgb;
  float centre = linearDepth(uv);
  float occlusion = 0.0;
  if (centre < 50.0 && colour.a > 0.0) {
    vec2 noise = texture(texture2d_random, gl_FragCoord.xy / 1024.0 + RelX.xy * 0.01).rg * 6.2831853;
    vec2 size = vec2(textureSize(texture2d_2, 0));
    vec2 pixel = 1.0 / size;
    float reach = size.y * 0.014;
    for (int k = 0; k < 8; ++k) {
      float a = noise.x + float(k) * 2.3999632;  // golden angle
      float r = reach * (0.3 + 0.7 * fract(noise.y + float(k) * 0.618034));
      vec2 at = uv + vec2(cos(a), sin(a)) * r * pixel;
      float closer = centre - linearDepth(at);
      occlusion += smoothstep(0.08, 0.2, closer) * (1.0 - smoothstep(0.6, 1.2, closer));
    }
  }
  float ao = 1.0 - 0.3 * occlusion / 8.0;
  gl_FragColor = vec4(colour.rgb * ao + flare * 0.4, colour.a);
}
